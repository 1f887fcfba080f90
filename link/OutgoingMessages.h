#pragma once
// Everything the PC sends to the remote: framed id-tagged messages (text
// lines, request, set value) and raw writes, each under the process-wide
// send lock (g_outMessageLock), then the port's own write lock.
#include <cstddef>
#include <cstdint>
#include <string>

class CSerial;

enum OutgoingMessageId : uint16_t {
    kOutTextLine = 0x8010,  // one line of text, without its carriage return
    kOutRequest = 0x8012,
    kOutSetValue = 0x8013,  // u16 value 0..10
};

constexpr std::size_t kOutHeaderSize = 12;        // container and sub-message header alike
constexpr std::size_t kOutContainerLimit = 1024;  // header included
constexpr std::size_t kOutFrameLimit = 2 * kOutContainerLimit + 4;
constexpr uint32_t kOutWriteTimeoutMs = 25000;
constexpr uint16_t kOutSetValueMax = 10;
constexpr uint8_t kOutPadByte = 0xA5;

// Framing bytes and the escape.
constexpr uint8_t kOutFrameStart = 0xC0;
constexpr uint8_t kOutFrameEnd = 0xC1;
constexpr uint8_t kOutEscape = 0x7D;
constexpr uint8_t kOutEscapeXor = 0x20;
bool NeedsStuffing(uint8_t byte);

// The frame of the container buffer's first `length` bytes, stuffed.
struct OutgoingFrame {
    const uint8_t* data = nullptr;  // null: no frame
    std::size_t length = 0;
};
// Caller holds g_outMessageLock. A length of 0 or above 1024 gives no frame.
OutgoingFrame BuildOutgoingFrame(std::size_t length);

// Each returns the port's write result; a refused value or an impossible
// frame sends nothing and gives kSerialInvalidArg.
[[nodiscard]] int32_t SendRawToRemote(CSerial& port, const std::string& text);
[[nodiscard]] int32_t SendRequestMessage(CSerial& port);
[[nodiscard]] int32_t SendSetValueMessage(uint16_t value, CSerial& port);
// One text line per piece between carriage returns (empty pieces skipped),
// all in one container; a piece that does not fit ends the list.
[[nodiscard]] int32_t SendTextLines(const std::string& text, CSerial& port);

// A queued text command as the command writer sends it: framed when the
// remote speaks containers (streamProtocol 2), except the single keep-alive
// byte 0x06, which like every command of other remotes goes as it is.
[[nodiscard]] int32_t SendTextCommand(const std::string& command, CSerial& port, int streamProtocol);

// Both sequence counters back to 0 (they otherwise run for the whole run).
void ResetOutgoingSequences();
