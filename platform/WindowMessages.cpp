#include "platform/WindowMessages.h"

#include <chrono>
#include <map>

uint32_t RegisterWindowMessage(const std::string& name)
{
    static std::mutex mutex;
    static std::map<std::string, uint32_t> table;
    static uint32_t next = 0xC000;

    if (name.empty())
        return 0;
    std::lock_guard lock(mutex);
    auto found = table.find(name);
    if (found != table.end())
        return found->second;
    if (next > 0xFFFF)
        return 0;
    table.emplace(name, next);
    return next++;
}

bool QueuePoster::Post(const PostedMessage& message)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(message);
    }
    m_cv.notify_all();
    return true;
}

std::optional<PostedMessage> QueuePoster::Take(uint32_t timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_queue.empty(); }))
        return std::nullopt;
    PostedMessage message = m_queue.front();
    m_queue.pop_front();
    return message;
}

std::size_t QueuePoster::Size() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

void QueuePoster::Clear()
{
    std::lock_guard lock(m_mutex);
    m_queue.clear();
}

