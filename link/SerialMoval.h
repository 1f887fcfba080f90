#pragma once
// The link object: the remote's serial port with its listener, the receive
// pool and the packet processor ("Bluetooth Packet Processor") that
// recognises the stream and feeds the decoders. The view builds one; the
// connection thread resets, opens and closes it.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "link/BthPacketMan.h"
#include "link/DecodeState.h"
#include "link/ReceiveChunks.h"
#include "link/StreamDetector.h"
#include "platform/Event.h"
#include "platform/SerialEx.h"
#include "platform/WindowMessages.h"

class CTermTextModel;
class IProgrammingFeed;

// A window the link posts to, given as an object.
class IWindowObject {
public:
    virtual ~IWindowObject() = default;
    virtual WindowHandle GetSafeHwnd() const = 0;
};

class CSerialMoval : public CSerialEx, private IReceivePort {
public:
    static constexpr uint32_t kProcessorWakeMs = 1000;
    static constexpr uint32_t kProcessorStopMs = 2000;
    static constexpr uint32_t kResetWaitMs = 2000;

    // Posts go through `poster`; `mainWindow` takes invalidates when no
    // target window is set; log lines go to `log`. Starts the packet
    // processor.
    CSerialMoval(IMessagePoster* poster, WindowHandle mainWindow, LinkLog log = {});
    // Closes the port, then stops and joins the processor, then releases
    // the packet state machine. A class deriving from this one closes the
    // port in its own destructor, since the listener makes virtual calls.
    ~CSerialMoval() override;

    // Back to the state of a fresh connection. The processor does it (it
    // owns the pool and the detector); this waits for it, bounded, and
    // says whether it was done.
    [[nodiscard]] bool ResetLinkState();

    using CSerialEx::Open;
    // Opens the port and starts the listener; posts go to `window` with
    // `message` (0: "CSerialMoval_DefaultComMsg").
    [[nodiscard]] virtual int32_t Open(const char* device, WindowHandle window, uint32_t message,
                                       uint32_t inQueue = 0, uint32_t outQueue = 0);
    [[nodiscard]] int32_t Close() override;
    void OnEvent(uint32_t events, uint32_t errors) override;

    void OutputToTerminal(std::size_t length, const char* text);
    void PostInvalidateToView();

    // Stops the packet processor and waits for it (logged when it takes
    // longer than 2000 ms). The view calls it before it destroys the
    // terminal and the logger; later calls do nothing.
    void StopPacketProcessor();
    bool IsProcessorRunning() const { return m_processorRunning.load(); }

    // Wiring, before the port is first opened.
    void SetTerminal(CTermTextModel* terminal) { m_decode.terminal = terminal; }
    void SetProgrammingFeed(IProgrammingFeed* feed) { m_targets.programming = feed; }

    // The stream kind recognised since the last reset (StreamProtocol).
    int StreamProtocol() const { return m_decode.streamProtocol; }
    DecodeState& Decode() { return m_decode; }
    const CBthPacketMan& Pool() const { return m_pool; }

private:
    // IReceivePort, for the chunk loop on the listener thread.
    bool PortOpen() override { return IsOpen(); }
    [[nodiscard]] int32_t ReadChunk(uint8_t* buffer, uint32_t capacity, uint32_t& read) override;
    [[nodiscard]] int32_t WriteBytes(const void* data, std::size_t length) override;

    void ProcessorMain();
    void ApplyRequests();
    void DoResetLinkState();
    void Log(const char* text);

    DecodeState m_decode;
    StreamDetector m_detector;
    CBthPacketMan m_pool;
    ReceiveTargets m_targets;

    CEvent m_packetEvent;  // "Bluetooth_Packet_Event"
    CEvent m_exitEvent;    // "Bluetooth_Process_Thread_Exit_Event"
    CEvent m_resetDone;
    std::mutex m_resetLock;
    std::mutex m_stopLock;
    std::atomic<bool> m_run{false};
    std::atomic<bool> m_resetRequested{false};
    std::atomic<bool> m_openRequested{false};
    std::atomic<bool> m_processorRunning{false};
    std::atomic<std::thread::id> m_processorId{};
    std::thread m_processor;
};

class CSerialMovalMFC : public CSerialMoval {
public:
    using CSerialMoval::CSerialMoval;
    // The listener calls virtual members: it is stopped while this object
    // is still whole.
    ~CSerialMovalMFC() override { (void)Close(); }  // always succeeds
    using CSerialMoval::Open;
    // Open with the window of `window` (none for no object).
    [[nodiscard]] virtual int32_t Open(const char* device, const IWindowObject* window, uint32_t message,
                                       uint32_t inQueue = 0, uint32_t outQueue = 0);
};
