#include "platform/FileChooser.h"

std::optional<std::string> CScriptedFileChooser::ChooseFileToSave(const FileRequest& request)
{
    return Answer(true, request);
}

std::optional<std::string> CScriptedFileChooser::ChooseFileToOpen(const FileRequest& request)
{
    return Answer(false, request);
}

void CScriptedFileChooser::QueueAnswer(std::optional<std::string> path)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(std::move(path));
}

std::vector<CScriptedFileChooser::Request> CScriptedFileChooser::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::optional<std::string> CScriptedFileChooser::Answer(bool save, const FileRequest& request)
{
    std::lock_guard lock(m_mutex);
    m_requests.push_back({save, request});
    if (m_answers.empty())
        return std::nullopt;
    std::optional<std::string> answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}
