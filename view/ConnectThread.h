#pragma once
// The connection thread ("ConnectThread_<n>"): holds the connection lock
// for its whole life, registers the chosen Bluetooth device, runs the
// connection's states while the connect toggle is on and, on its way out,
// tells the view the link is down and sets its exit event. The view owns
// one and calls it from its UI thread only.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/Event.h"
#include "view/ConnectServices.h"

class CConnectMachine;

struct ConnectStart {
    // The paired device the device selection chose; none when the port
    // comes from "PortNum" alone.
    std::optional<int> bluetoothDevice;
};

class CConnectThread {
public:
    static constexpr uint32_t kWatchWaitMs = kConnectWatchWaitMs;  // unless the environment says otherwise
    static constexpr uint32_t kStepWaitMs = 100;    // between the other states
    static constexpr uint32_t kEndWaitMs = 2000;    // the destructor's wait before it joins

    explicit CConnectThread(const ConnectEnvironment& env);
    ~CConnectThread();
    CConnectThread(const CConnectThread&) = delete;
    CConnectThread& operator=(const CConnectThread&) = delete;

    // Starts a thread on the port that "PortNum" names, with the connect
    // toggle already on. False, with nothing started, when "PortNum" names
    // no port. An earlier thread that has not ended is left to end by
    // itself: the new one waits for the connection lock meanwhile.
    [[nodiscard]] bool Start(const ConnectStart& start = {});
    // Wakes the thread to end ("ConnectThreadKillEvent"); it ends within
    // one state. The caller clears the connect toggle first.
    void Kill();
    // Waits up to `timeoutMs` for the thread's "ConnectThreadExitEvent".
    [[nodiscard]] bool WaitForExit(uint32_t timeoutMs);
    // A thread was started and has not ended yet.
    bool Running() const;

private:
    void Run(uint32_t generation, std::string name, std::string port, std::optional<int> device);
    bool KeepRunning(uint32_t generation) const;
    void RunStates(CConnectMachine& machine, uint32_t generation);
    void RegisterDevice(int device);
    void UnregisterDevice();
    void Log(const std::string& text);

    const ConnectEnvironment m_env;
    std::mutex m_connectionLock;
    std::mutex m_handOver;  // a start against the end of the thread before
    CEvent m_kill{CEvent::Reset::Manual};
    CEvent m_exit{CEvent::Reset::Manual};
    // Each start makes the earlier threads outdated: they stop at their
    // next look and leave the events and the view's flags alone.
    std::atomic<uint32_t> m_generation{0};
    int m_threadCount = 0;
    std::thread m_thread;
};
