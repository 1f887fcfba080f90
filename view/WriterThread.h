#pragma once
// The view's one "WriteThread": the command writer while a remote is
// connected, the demo generator in demo mode. Never two at once: a start
// while one runs is refused. Its waits are on the stop event, so a stop is
// answered at once.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/Event.h"

class CWriterThread {
public:
    // The body runs on the new thread; it returns when its work is done or
    // when `stop` is set, and waits only on `stop`.
    using Body = std::function<void(CEvent& stop)>;

    // `ended` is the view's "write thread ended" byte: cleared by a start,
    // set when the thread has finished its body.
    explicit CWriterThread(std::atomic<bool>& ended) : m_ended(ended) {}
    CWriterThread(const CWriterThread&) = delete;
    CWriterThread& operator=(const CWriterThread&) = delete;
    ~CWriterThread();

    // Any thread. Starts `body` on a thread named "WriteThread"; false, and
    // nothing started, while a writer runs.
    bool Start(Body body);
    // Sets the stop event without waiting.
    void RequestStop();
    // Any thread but the writer's own: requests the stop and joins.
    void Stop();
    bool Running() const { return m_running.load(std::memory_order_acquire); }
    // True when no writer runs or the running one ends within the time.
    [[nodiscard]] bool WaitEnded(uint32_t timeoutMs);

private:
    std::atomic<bool>& m_ended;
    std::atomic<bool> m_running{false};
    CEvent m_stop{CEvent::Reset::Manual};
    CEvent m_finished{CEvent::Reset::Manual, true};
    std::mutex m_lock;  // Start and Stop
    std::thread m_thread;
};
