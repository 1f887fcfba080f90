#include "link/WriteQueue.h"

void CWriteQueue::Push(const std::string& text)
{
    std::lock_guard lock(m_lock);
    m_texts.push_back(text);
}

bool CWriteQueue::Pop(std::string& text)
{
    std::lock_guard lock(m_lock);
    if (m_texts.empty())
        return false;
    text = std::move(m_texts.front());
    m_texts.pop_front();
    return true;
}
