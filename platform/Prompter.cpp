#include "platform/Prompter.h"

int CScriptedPrompter::MessageBox(const std::string& text, const std::string& caption, uint32_t type)
{
    std::lock_guard lock(m_mutex);
    m_prompts.push_back({text, caption, type});
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    switch (type & kMbButtonMask) {
    case kMbYesNo:
    case kMbYesNoCancel:
        return kIdYes;
    default:
        return kIdOk;
    }
}

void CScriptedPrompter::QueueAnswer(int answer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<CScriptedPrompter::Prompt> CScriptedPrompter::Prompts() const
{
    std::lock_guard lock(m_mutex);
    return m_prompts;
}
