#pragma once
// The connection thread ("ConnectThread_<n>"): holds the connection lock
// for its whole life, registers the chosen Bluetooth device, runs the
// connection's states while the connect toggle is on and, on its way out,
// tells the view the link is down and sets its exit event. The view owns
// one and calls it from its UI thread only.
//
// Never two at work: a start first waits for the thread before it. One that
// has not ended even then is left to end by itself, outdated: it keeps its
// own events and waits, and the new one waits for the connection lock. The
// object is never freed under a thread: its destructor waits for them all.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
    static constexpr uint32_t kOldThreadWaitMs = 10000;  // a start's wait for the thread before it

    explicit CConnectThread(const ConnectEnvironment& env);
    ~CConnectThread();
    CConnectThread(const CConnectThread&) = delete;
    CConnectThread& operator=(const CConnectThread&) = delete;

    // Starts a thread on the port that "PortNum" names, with the connect
    // toggle already on. False, with nothing started, when "PortNum" names
    // no port. An earlier thread is told to end and waited for up to
    // `oldThreadWaitMs`; one still there then is left outdated (above).
    [[nodiscard]] bool Start(const ConnectStart& start = {}, uint32_t oldThreadWaitMs = kOldThreadWaitMs);
    // Wakes the thread to end ("ConnectThreadKillEvent"); it ends within
    // one state. The caller clears the connect toggle first.
    void Kill();
    // Waits up to `timeoutMs` for the thread's "ConnectThreadExitEvent".
    [[nodiscard]] bool WaitForExit(uint32_t timeoutMs);
    // A thread was started and has not ended yet.
    bool Running() const;

    // Threads left outdated that have not ended yet.
    std::size_t Lingering();

private:
    // One thread's own state, shared with it until it ends.
    struct Run {
        explicit Run(uint32_t g) : generation(g) {}
        const uint32_t generation;
        CEvent kill{CEvent::Reset::Manual};  // "ConnectThreadKillEvent"
        CEvent exit{CEvent::Reset::Manual};  // "ConnectThreadExitEvent"
        std::thread thread;
    };

    void Body(const std::shared_ptr<Run>& run, std::string name, std::string port, std::optional<int> device);
    bool KeepRunning(const Run& run) const;
    void RunStates(CConnectMachine& machine, Run& run);
    void EndEarlierThread(uint32_t waitMs);
    void RegisterDevice(int device);
    void UnregisterDevice();
    void Log(const std::string& text);

    const ConnectEnvironment m_env;
    std::mutex m_connectionLock;
    std::mutex m_handOver;  // a start against the end of the thread before
    // Each start makes the earlier threads outdated: they stop at their
    // next look and leave the view's flags alone.
    std::atomic<uint32_t> m_generation{0};
    int m_threadCount = 0;
    std::shared_ptr<Run> m_current;
    std::vector<std::shared_ptr<Run>> m_lingering;
};
