#pragma once
// A serial port with a listener thread ("SerialThreadProc") that waits for
// comm events and hands each to OnEvent, on the listener's own thread.
#include <atomic>
#include <mutex>
#include <thread>

#include "platform/Event.h"
#include "platform/Serial.h"

class CSerialEx : public CSerial {
public:
    CSerialEx();
    ~CSerialEx() override;

    // Always opened for overlapped I/O; the last argument starts the listener.
    [[nodiscard]] int32_t Open(const char* device, uint32_t inQueue = 0, uint32_t outQueue = 0,
                               bool startListener = true) override;
    // Wakes blocked calls, stops the listener (without a limit) and closes.
    // From the listener itself the thread ends once OnEvent returns.
    [[nodiscard]] int32_t Close() override;

    [[nodiscard]] virtual int32_t StartListener();
    // Stops the listener, waiting up to `timeout` ms. On a time-out the
    // result is kSerialTimeout and the thread is kept (still told to stop)
    // for a later call.
    [[nodiscard]] virtual int32_t StopListener(uint32_t timeout = kInfinite);
    // Called on the listener thread with the events seen (within the mask)
    // and the error word. Received characters are reported for as long as
    // unread bytes remain, so an implementation reads what arrived.
    virtual void OnEvent(uint32_t events, uint32_t errors) = 0;

    bool IsListening() const { return m_listening.load(); }

private:
    void ListenerMain();
    bool OnListenerThread() const { return std::this_thread::get_id() == m_listenerId.load(); }
    void JoinFinishedListener();

    std::mutex m_listenerMutex;  // guards m_listener
    std::thread m_listener;
    std::atomic<std::thread::id> m_listenerId{};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_listening{false};
    CEvent m_listenerDone{CEvent::Reset::Manual};
};
