#include "link/SerialMoval.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <utility>

#include "link/PacketStateMachine.h"
#include "link/ProcessBuffer.h"
#include "link/ProgrammingFeed.h"
#include "platform/Thread.h"

namespace {

constexpr char kEventTag[] = "CSerialMoval::OnEvent";
constexpr char kLinkTag[] = "CSerialMoval";

}  // namespace

CSerialMoval::CSerialMoval(IMessagePoster* poster, WindowHandle mainWindow, LinkLog log)
{
    m_decode.log = std::move(log);
    m_decode.poster = poster;
    m_decode.mainWindow = mainWindow;
    m_decode.defaultComMsg = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
    m_decode.invalidateMsg = RegisterWindowMessage("CDispView_Invalidate");

    m_targets.pool = &m_pool;
    m_targets.packetEvent = &m_packetEvent;
    m_targets.decode = &m_decode;
    m_targets.programmingCompleteMessage = RegisterWindowMessage(kProgrammingCompleteMessage);

    AttachDecoders(m_decode);

    DoResetLinkState();  // no processor yet: done here

    m_run = true;
    m_processorRunning = true;
    m_processor = std::thread(&CSerialMoval::ProcessorMain, this);
}

CSerialMoval::~CSerialMoval()
{
    (void)Close();  // always succeeds; nobody is left to tell otherwise
    StopPacketProcessor();
    CPacketStateMachine::DestroyInstance();
}

void CSerialMoval::Log(const char* text)
{
    DecodeLog(m_decode, kLinkTag, text);
}

void CSerialMoval::StopPacketProcessor()
{
    std::lock_guard lock(m_stopLock);
    if (!m_processor.joinable())
        return;
    if (std::this_thread::get_id() == m_processor.get_id()) {
        m_run = false;  // ends after the current buffer; joined later
        return;
    }
    m_run = false;
    m_packetEvent.Set();
    if (!m_exitEvent.Wait(kProcessorStopMs))
        Log("The Bluetooth packet processor has not ended within 2000 ms; waiting for it.");
    // Never leave it running over freed state.
    m_processor.join();
}

bool CSerialMoval::ResetLinkState()
{
    std::lock_guard lock(m_resetLock);
    if (!m_processorRunning.load() || std::this_thread::get_id() == m_processorId.load()) {
        DoResetLinkState();
        return true;
    }
    m_resetDone.ResetEvent();
    m_resetRequested = true;
    m_packetEvent.Set();
    if (m_resetDone.Wait(kResetWaitMs))
        return true;
    if (!m_processorRunning.load() && m_resetRequested.exchange(false)) {
        DoResetLinkState();  // the processor has ended meanwhile
        return true;
    }
    // Left to the processor: it applies the reset before its next buffer.
    Log("The link state was not reset within 2000 ms: the packet processor is busy.");
    return false;
}

void CSerialMoval::DoResetLinkState()
{
    ResetDecodeState(m_decode);
    m_pool.Reset();
    m_detector.Reset();
    m_decode.streamProtocol = kStreamUnknown;
}

void CSerialMoval::ApplyRequests()
{
    if (m_resetRequested.exchange(false)) {
        DoResetLinkState();
        m_resetDone.Set();
    }
    if (m_openRequested.exchange(false))
        m_decode.cycleMessageId = 16;
}

int32_t CSerialMoval::Open(const char* device, WindowHandle window, uint32_t message, uint32_t inQueue,
                           uint32_t outQueue)
{
    if (IsOpen())
        return SetLastError(kSerialAlreadyOpen);
    m_openRequested = true;
    m_packetEvent.Set();
    CPacketStateMachine::Instance()->Resync();
    const int32_t opened = CSerialEx::Open(device, inQueue, outQueue, false);
    if (opened != kSerialOk)
        return opened;
    m_decode.targetWindow = window;
    m_decode.defaultComMsg = message != 0 ? message : RegisterWindowMessage("CSerialMoval_DefaultComMsg");
    m_targets.loggedReadError = kSerialOk;  // a new line: its first failed read is logged
    const int32_t started = StartListener();
    if (started != kSerialOk) {
        (void)CSerialEx::Close();  // the failed start is the error returned
        return SetLastError(started);
    }
    return kSerialOk;
}

int32_t CSerialMoval::Close()
{
    m_decode.targetWindow = 0;
    m_decode.defaultComMsg = 0;
    return CSerialEx::Close();
}

int32_t CSerialMovalMFC::Open(const char* device, const IWindowObject* window, uint32_t message, uint32_t inQueue,
                              uint32_t outQueue)
{
    return CSerialMoval::Open(device, window != nullptr ? window->GetSafeHwnd() : WindowHandle {0}, message,
                              inQueue, outQueue);
}

int32_t CSerialMoval::ReadChunk(uint8_t* buffer, uint32_t capacity, uint32_t& read)
{
    return Read(buffer, capacity, &read);
}

int32_t CSerialMoval::WriteBytes(const void* data, std::size_t length)
{
    return Write(data, length);
}

void CSerialMoval::OnEvent(uint32_t events, uint32_t errors)
{
    if (errors != 0)
        DecodeLog(m_decode, kEventTag, "An internal error occurred.");
    if (events & kEventBreak)
        DecodeLog(m_decode, kEventTag, "Break detected on input.");
    if (events & kEventError)
        DecodeLog(m_decode, kEventTag, "A line-status error occurred.");
    if (events & kEventRxFlag)
        DecodeLog(m_decode, kEventTag, "Event character has been received.");
    if (events & kEventRing)
        DecodeLog(m_decode, kEventTag, "Ring detected.");
    if (events & kEventTxEmpty)
        DecodeLog(m_decode, kEventTag, "All data is send.");
    if (events & (kEventCts | kEventDsr | kEventRlsd)) {
        uint32_t status = 0;
        (void)GetModemStatus(status);  // unreadable: status stays 0, every line "Off"
        const struct {
            uint32_t event;
            uint32_t line;
            const char* format;
        } lines[] = {
            {kEventCts, kModemCts, "CTS signal change: %s."},
            {kEventDsr, kModemDsr, "DSR signal change: %s."},
            {kEventRlsd, kModemRlsd, "RLSD signal change: %s."},
        };
        for (const auto& l : lines)
            if (events & l.event)
                DecodeLogFormat(m_decode, kEventTag, l.format, (status & l.line) ? "On" : "Off");
    }
    if (events & kEventRxChar)
        ReceiveChunks(*this, m_targets);
}

void CSerialMoval::OutputToTerminal(std::size_t length, const char* text)
{
    ::OutputToTerminal(m_decode, text, length);
}

void CSerialMoval::PostInvalidateToView()
{
    ::PostInvalidateToView(m_decode);
}

void CSerialMoval::ProcessorMain()
{
    m_processorId = std::this_thread::get_id();
    SetThreadName("Bluetooth Packet Processor");
    try {
        while (m_run.load()) {
            // Woken by a buffer or by the time-out: the queue is looked at either way.
            (void)m_packetEvent.Wait(kProcessorWakeMs);
            ApplyRequests();
            while (m_pool.HasFilledBuffer() > 0) {
                if (!m_run.load())
                    break;
                ApplyRequests();
                BthPacket* buffer = m_pool.GetFilledBuffer();
                if (buffer == nullptr)
                    break;
                if (buffer->length != 0)
                    ProcessBuffer(m_decode, m_detector, buffer->data, buffer->length);
                m_pool.ReleaseBuffer(buffer);
            }
        }
    } catch (const std::exception& error) {
        DecodeLog(m_decode, "CSerialMoval::PacketProcessor", std::string("Packet processor ended: ") + error.what());
    }
    ApplyRequests();  // a reset asked for meanwhile is not left waiting
    m_processorRunning = false;
    m_exitEvent.Set();
}
