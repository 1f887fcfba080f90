#pragma once
// Registered window messages and the poster through which worker threads
// reach the UI thread.
#include <cstdint>
#include <deque>
#include <mutex>
#include <condition_variable>
#include <optional>
#include <string>

// Names a window that can receive posts; 0 is "no window".
using WindowHandle = std::uintptr_t;

// Returns the id of a message name, handing out ids from 0xC000 up; the same
// name always gives the same id in one process. Thread-safe. Returns 0 when
// the name is empty or the id range is used up.
uint32_t RegisterWindowMessage(const std::string& name);

struct PostedMessage {
    WindowHandle target = 0;
    uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Posting never blocks on the receiver. A heap payload in wParam or lParam
// belongs to the receiver once Post returns true; on false the sender keeps
// it and frees it.
class IMessagePoster {
public:
    virtual ~IMessagePoster() = default;
    [[nodiscard]] virtual bool Post(const PostedMessage& message) = 0;
};

// The poster of tests and of headless runs: a plain locked queue.
class QueuePoster : public IMessagePoster {
public:
    [[nodiscard]] bool Post(const PostedMessage& message) override;
    // Takes the oldest message, waiting up to timeoutMs for one.
    std::optional<PostedMessage> Take(uint32_t timeoutMs = 0);
    std::size_t Size() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<PostedMessage> m_queue;
};

