#include "platform/ShellLauncher.h"

int CScriptedShellLauncher::StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                                         const std::string& folder)
{
    std::lock_guard lock(m_mutex);
    m_requests.push_back({file, arguments, folder});
    return m_result;
}

void CScriptedShellLauncher::SetResult(int result)
{
    std::lock_guard lock(m_mutex);
    m_result = result;
}

std::vector<CScriptedShellLauncher::Request> CScriptedShellLauncher::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int CScriptedShellLauncher::OpenDocument(const std::string& target)
{
    std::lock_guard lock(m_mutex);
    m_documents.push_back(target);
    if (m_documentResults.empty())
        return m_result;
    const int result = m_documentResults.front();
    m_documentResults.pop_front();
    return result;
}

void CScriptedShellLauncher::QueueDocumentResult(int result)
{
    std::lock_guard lock(m_mutex);
    m_documentResults.push_back(result);
}

std::vector<std::string> CScriptedShellLauncher::Documents() const
{
    std::lock_guard lock(m_mutex);
    return m_documents;
}
