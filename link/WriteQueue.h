#pragma once
// The queue of text commands for the remote: the view and the dialogs push,
// the command-writing thread pops. Safe from any thread.
#include <deque>
#include <mutex>
#include <string>

class CWriteQueue {
public:
    CWriteQueue() = default;
    CWriteQueue(const CWriteQueue&) = delete;
    CWriteQueue& operator=(const CWriteQueue&) = delete;
    virtual ~CWriteQueue() = default;

    void Push(const std::string& text);
    // Takes the oldest text; false, with `text` untouched, when empty.
    [[nodiscard]] bool Pop(std::string& text);

private:
    std::mutex m_lock;
    std::deque<std::string> m_texts;
};
