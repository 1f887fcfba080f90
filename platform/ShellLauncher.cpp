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
