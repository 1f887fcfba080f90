#include "view/CommandWriter.h"

#include "link/LiveData.h"
#include "link/OutgoingMessages.h"
#include "link/RemoteCommands.h"
#include "link/WriteQueue.h"
#include "platform/Serial.h"
#include "view/WriterThread.h"

Relaxed<uint8_t> g_versionPending;

namespace {

constexpr char kTag[] = "WriteThread";
constexpr int kFramed = 2;

bool IsLoneKeepAlive(const std::string& command)
{
    return command == kCmdKeepAlive;
}

// A command as a log line shows it: control characters as escapes.
std::string Printable(const std::string& command)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : command) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

CCommandWriter::CCommandWriter(ICommandPort& port, CWriteQueue& queue, LinkLog log)
    : m_port(port),
      m_queue(queue),
      m_log(std::move(log)),
      m_periodMs(g_liveData.deviceKind == kDeviceMoval ? kMovalPeriodMs : kPeriodMs),
      m_sleepMs(m_periodMs)
{
}

bool CCommandWriter::ShouldRun()
{
    return m_port.PortOpen() && g_liveData.writerHandover != 0;
}

uint32_t CCommandWriter::Step(uint32_t nowMs)
{
    const bool programming = g_linkMode.load() == kLinkProgramming;
    if (m_second && programming)
        return m_sleepMs;  // held until the firmware lines are done
    if (m_second) {
        Send(*m_second, true);
        m_second.reset();
        // Once a second command went out, the writer looks sooner.
        m_sleepMs = m_periodMs / 2;
        EndCommandCycle();
        return EndCycle(nowMs);
    }
    const uint32_t since = nowMs - m_lastSendMs;
    if (m_sentOnce && since < m_periodMs)
        return m_periodMs - since;
    if (programming)
        return EndCycle(nowMs);  // the firmware lines own the port

    if (m_countdown <= 0) {
        SendKeepAlive();
        return EndCycle(nowMs);
    }
    std::string command;
    if (m_queue.Pop(command)) {
        Send(command, false);
        std::string next;
        if (m_queue.Pop(next)) {
            m_second = std::move(next);
            return m_periodMs / 2;
        }
    }
    EndCommandCycle();
    return EndCycle(nowMs);
}

void CCommandWriter::SendKeepAlive()
{
    CSerial& port = m_port.Port();
    int32_t result;
    if (m_port.StreamProtocol() == kFramed) {
        result = SendRawToRemote(port, kCmdKeepAlive);
        m_countdown = kKeepAliveCycles;
    } else if (g_liveData.deviceKind == kDeviceMoval) {
        result = SendRawToRemote(port, kCmdMovalKeepAlive);
        m_countdown = kMovalKeepAliveCycles;
    } else {
        result = SendRawToRemote(port, kCmdKeepAlive);
        m_countdown = kKeepAliveCycles;
    }
    if (result != kSerialOk)
        Log("Keep-alive not sent, error " + std::to_string(result) + ".");
}

void CCommandWriter::Send(const std::string& command, bool second)
{
    CSerial& port = m_port.Port();
    const int protocol = m_port.StreamProtocol();
    int32_t result;
    if (protocol == kFramed && second) {
        result = SendTextLines(command, port);  // even a lone 0x06
    } else {
        result = SendTextCommand(command, port, protocol);
        // A queued keep-alive of a framed remote counts as one.
        if (protocol == kFramed && IsLoneKeepAlive(command))
            m_countdown = kKeepAliveCycles;
    }
    if (result != kSerialOk)
        Log("Command not sent, error " + std::to_string(result) + ": \"" + Printable(command) + "\".");
}

void CCommandWriter::EndCommandCycle()
{
    if (g_versionPending != 0) {
        g_versionPending = 0;
        const int32_t result = SendRequestMessage(m_port.Port());
        if (result != kSerialOk)
            Log("Version request not sent, error " + std::to_string(result) + ".");
    }
    if (m_countdown > 0)
        --m_countdown;
}

uint32_t CCommandWriter::EndCycle(uint32_t nowMs)
{
    m_sentOnce = true;
    m_lastSendMs = nowMs;
    return m_sleepMs;
}

void CCommandWriter::Finish()
{
    if (m_second) {
        Log("Command not sent, the writer ended: \"" + Printable(*m_second) + "\".");
        m_second.reset();
    }
}

void CCommandWriter::Log(const std::string& text)
{
    if (m_log)
        m_log(kTag, text);
}

void WriteThread(CCommandWriter& writer, CEvent& stop, const std::function<uint32_t()>& tick)
{
    while (writer.ShouldRun()) {
        const uint32_t waitMs = writer.Step(tick());
        if (stop.Wait(waitMs))
            break;
    }
    writer.Finish();
}

bool StartCommandWriter(CWriterThread& thread, ICommandPort& port, CWriteQueue& queue,
                        std::function<uint32_t()> tick, LinkLog log)
{
    return thread.Start([&port, &queue, tick = std::move(tick), log = std::move(log)](CEvent& stop) {
        CCommandWriter writer(port, queue, log);
        WriteThread(writer, stop, tick);
    });
}
