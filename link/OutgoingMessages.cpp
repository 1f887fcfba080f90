#include "link/OutgoingMessages.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "link/ByteOrder.h"
#include "link/OutMessageLock.h"
#include "platform/Serial.h"

namespace {

// Used only under g_outMessageLock.
std::array<uint8_t, kOutContainerLimit> g_outContainer;
std::array<uint8_t, kOutFrameLimit> g_outFrame;
uint32_t g_outContainerSequence = 0;
uint32_t g_outSubMessageSequence = 0;

// Fills the container buffer one sub-message at a time.
class ContainerBuilder {
public:
    // False, and nothing added, when the sub-message would not fit.
    bool Add(uint16_t id, const uint8_t* head, std::size_t headLength, const uint8_t* body, std::size_t bodyLength,
             bool pad)
    {
        const std::size_t dataLength = headLength + bodyLength + (pad ? 1 : 0);
        if (kOutHeaderSize + m_payload + kOutHeaderSize + dataLength > kOutContainerLimit)
            return false;
        uint8_t* sub = g_outContainer.data() + kOutHeaderSize + m_payload;
        uint8_t* data = sub + kOutHeaderSize;
        std::copy(head, head + headLength, data);
        std::copy(body, body + bodyLength, data + headLength);
        if (pad)
            data[headLength + bodyLength] = kOutPadByte;
        WriteLe16(sub, id);
        WriteLe16(sub + 2, static_cast<uint32_t>(dataLength));
        WriteLe32(sub + 4, g_outSubMessageSequence++);
        WriteLe32(sub + 8, ByteSum(data, static_cast<uint32_t>(dataLength)));
        m_payload += kOutHeaderSize + dataLength;
        ++m_count;
        return true;
    }

    // Writes the container header; returns the container's length.
    std::size_t Finish()
    {
        uint8_t* header = g_outContainer.data();
        WriteLe16(header, m_count);
        WriteLe16(header + 2, static_cast<uint32_t>(m_payload));
        WriteLe32(header + 4, g_outContainerSequence++);
        WriteLe32(header + 8, ByteSum(header + kOutHeaderSize, static_cast<uint32_t>(m_payload)));
        return kOutHeaderSize + m_payload;
    }

private:
    std::size_t m_payload = 0;
    uint16_t m_count = 0;
};

int32_t WriteContainer(CSerial& port, std::size_t length)
{
    const OutgoingFrame frame = BuildOutgoingFrame(length);
    if (frame.data == nullptr)
        return kSerialInvalidArg;
    return port.Write(frame.data, frame.length, nullptr, nullptr, kOutWriteTimeoutMs);
}

}  // namespace

bool NeedsStuffing(uint8_t byte)
{
    switch (byte) {
    case 0x06:
    case 0x0A:
    case 0x0D:
    case kOutEscape:
    case kOutFrameStart:
    case kOutFrameEnd:
        return true;
    default:
        return false;
    }
}

OutgoingFrame BuildOutgoingFrame(std::size_t length)
{
    if (length == 0 || length > kOutContainerLimit)
        return {};
    std::size_t at = 0;
    g_outFrame[at++] = kOutFrameStart;
    for (std::size_t i = 0; i < length; ++i) {
        const uint8_t byte = g_outContainer[i];
        if (NeedsStuffing(byte)) {
            g_outFrame[at++] = kOutEscape;
            g_outFrame[at++] = static_cast<uint8_t>(byte ^ kOutEscapeXor);
        } else {
            g_outFrame[at++] = byte;
        }
    }
    g_outFrame[at++] = 0x00;
    g_outFrame[at++] = 0x00;
    g_outFrame[at++] = kOutFrameEnd;
    return {g_outFrame.data(), at};
}

int32_t SendRawToRemote(CSerial& port, const std::string& text)
{
    std::lock_guard lock(g_outMessageLock);
    return port.Write(text.data(), text.size(), nullptr, nullptr, kOutWriteTimeoutMs);
}

int32_t SendRequestMessage(CSerial& port)
{
    std::lock_guard lock(g_outMessageLock);
    ContainerBuilder container;
    container.Add(kOutRequest, nullptr, 0, nullptr, 0, false);
    return WriteContainer(port, container.Finish());
}

int32_t SendSetValueMessage(uint16_t value, CSerial& port)
{
    if (value > kOutSetValueMax)
        return kSerialInvalidArg;  // refused: nothing is sent, and it is no success
    std::lock_guard lock(g_outMessageLock);
    uint8_t data[2];
    WriteLe16(data, value);
    ContainerBuilder container;
    container.Add(kOutSetValue, data, sizeof data, nullptr, 0, false);
    return WriteContainer(port, container.Finish());
}

int32_t SendTextLines(const std::string& text, CSerial& port)
{
    std::lock_guard lock(g_outMessageLock);
    ContainerBuilder container;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string::npos)
            end = text.size();
        const std::size_t n = end - start;
        if (n > 0) {
            if (n > 0xFFFF)
                break;  // no sub-message can carry it
            uint8_t head[4];
            WriteLe16(head, static_cast<uint32_t>(n));
            WriteLe16(head + 2, 0);
            const auto* piece = reinterpret_cast<const uint8_t*>(text.data() + start);
            if (!container.Add(kOutTextLine, head, sizeof head, piece, n, (n & 1) != 0))
                break;  // this piece and the rest are not sent
        }
        start = end + 1;
    }
    return WriteContainer(port, container.Finish());
}

int32_t SendTextCommand(const std::string& command, CSerial& port, int streamProtocol)
{
    if (streamProtocol == 2 && command != std::string(1, '\x06'))
        return SendTextLines(command, port);
    return SendRawToRemote(port, command);
}

void ResetOutgoingSequences()
{
    std::lock_guard lock(g_outMessageLock);
    g_outContainerSequence = 0;
    g_outSubMessageSequence = 0;
}
