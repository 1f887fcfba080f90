#include "platform/FolderChooser.h"

std::optional<std::string> CScriptedFolderChooser::ChooseFolder(const std::string& title,
                                                                const std::string& startFolder)
{
    m_requests.push_back({title, startFolder});
    if (m_answers.empty())
        return std::nullopt;
    std::optional<std::string> answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}
