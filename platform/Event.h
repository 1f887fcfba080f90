#pragma once
// A waitable event with automatic or manual reset, in place of the
// platform's event objects.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class CEvent {
public:
    enum class Reset { Automatic, Manual };

    explicit CEvent(Reset reset = Reset::Automatic, bool initiallySet = false)
        : m_manual(reset == Reset::Manual), m_set(initiallySet) {}
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void Set();
    void ResetEvent();
    // Waits up to timeoutMs (kInfinite: no limit). True when the event was
    // signalled; an automatic event is then reset for the next waiter.
    [[nodiscard]] bool Wait(uint32_t timeoutMs);
    bool IsSet() const;

    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

private:
    const bool m_manual;
    bool m_set;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
};

