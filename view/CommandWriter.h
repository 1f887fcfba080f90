#pragma once
// The command writer: paces the queued text commands to the connected
// remote, with a keep-alive every few cycles so that the remote keeps
// streaming. The pacing is a step on a given time; the thread only waits.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "link/DecodeState.h"
#include "link/SerialMoval.h"
#include "platform/Relaxed.h"

class CSerial;
class CWriteQueue;
class CWriterThread;

// The version request of a framed remote: the view sets it, the writer
// sends one request message with its next command cycle and clears it.
extern Relaxed<uint8_t> g_versionPending;

// What the writer needs of the link.
class ICommandPort {
public:
    virtual ~ICommandPort() = default;
    virtual bool PortOpen() = 0;
    // 2: the remote speaks framed containers.
    virtual int StreamProtocol() = 0;
    virtual CSerial& Port() = 0;
};

// The link itself as the writer's port.
class CLinkCommandPort : public ICommandPort {
public:
    explicit CLinkCommandPort(CSerialMoval& link) : m_link(link) {}
    bool PortOpen() override { return m_link.IsOpen(); }
    int StreamProtocol() override { return m_link.StreamProtocol(); }
    CSerial& Port() override { return m_link; }

private:
    CSerialMoval& m_link;
};

class CCommandWriter {
public:
    static constexpr uint32_t kMovalPeriodMs = 200;
    static constexpr uint32_t kPeriodMs = 333;
    // Command cycles between two keep-alives.
    static constexpr int32_t kMovalKeepAliveCycles = 5;
    static constexpr int32_t kKeepAliveCycles = 4;

    // The period is the Moval's when the connected remote is one now.
    CCommandWriter(ICommandPort& port, CWriteQueue& queue, LinkLog log = {});
    CCommandWriter(const CCommandWriter&) = delete;
    CCommandWriter& operator=(const CCommandWriter&) = delete;

    // The port is open and the connection has handed the link over.
    bool ShouldRun();
    // One pass at `nowMs`: sends what is due and returns how long to wait
    // before the next pass. Port writes complete before they return, so no
    // pass ever finds a write still pending.
    uint32_t Step(uint32_t nowMs);
    // The writer ends: a command taken but not sent is logged.
    void Finish();

    uint32_t PeriodMs() const { return m_periodMs; }

private:
    void SendKeepAlive();
    void Send(const std::string& command, bool second);
    void EndCommandCycle();
    uint32_t EndCycle(uint32_t nowMs);
    void Log(const std::string& text);

    ICommandPort& m_port;
    CWriteQueue& m_queue;
    LinkLog m_log;
    const uint32_t m_periodMs;
    uint32_t m_sleepMs;
    int32_t m_countdown = 0;
    bool m_sentOnce = false;
    uint32_t m_lastSendMs = 0;
    // The second command of a cycle, sent half a period after the first.
    std::optional<std::string> m_second;
};

// The thread's body: runs `writer` until it should stop or `stop` is set.
void WriteThread(CCommandWriter& writer, CEvent& stop, const std::function<uint32_t()>& tick);

// Starts the writer on `thread`; false while a writer runs there. `port`
// and `queue` must outlive the thread; `tick` gives milliseconds.
bool StartCommandWriter(CWriterThread& thread, ICommandPort& port, CWriteQueue& queue,
                        std::function<uint32_t()> tick, LinkLog log = {});
