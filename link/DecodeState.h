#pragma once
// The link's fields that the decoders use, gathered in one plain struct so
// that the decoders run (and are tested) without a serial port. The link
// object owns one and hands it to every handler as the owner.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "platform/Relaxed.h"
#include "platform/WindowMessages.h"

class CTermTextModel;

// Where the link's log lines go. The link knows no logger of its own: whoever
// builds it hands one in (the program: the event log). Empty: no log.
using LinkLog = std::function<void(const char* tag, const std::string& text)>;

// Kinds of "CSerialMoval_DefaultComMsg" (wParam low word; the value is the
// high word). Kind 6 carries a heap std::string in lParam that the receiver
// deletes.
enum DefaultComKind : uint16_t {
    kComNewData = 1,
    kComRemoteStatus = 2,
    kComMovalDetected = 4,
    kComRemoteText = 6,
};
constexpr uint16_t kNewDataMessages = 0x20; // id-tagged or Tarvik data
constexpr uint16_t kNewDataMoval = 0x30;

// wParam of "CSerialMoval_DefaultComMsg".
constexpr std::uintptr_t DefaultComWParam(uint16_t kind, uint16_t value)
{
    return std::uintptr_t(kind) | (std::uintptr_t(value) << 16);
}

constexpr std::size_t kStreamBufferSize = 2048;
constexpr uint32_t kMovalPacketSize = 112;

struct DecodeState {
    DecodeState() { std::memset(packet, 'Z', sizeof packet); }

    // Where posts go. The target may change while the processor decodes.
    IMessagePoster* poster = nullptr;
    Relaxed<WindowHandle> targetWindow{0};
    WindowHandle mainWindow = 0; // the application's main window, for invalidates without a target
    Relaxed<uint32_t> defaultComMsg{0}; // "CSerialMoval_DefaultComMsg"; the link's Open and Close set it
    uint32_t invalidateMsg = 0;  // "CDispView_Invalidate"

    // The service terminal's text model; null until the view has built it.
    CTermTextModel* terminal = nullptr;
    // The stream kind the receive pipeline recognised: 0 not yet known,
    // 1 legacy packets or Moval text, 2 id-tagged containers.
    Relaxed<int> streamProtocol{0};
    // Remote text meant for the service terminal. Empty: OutputToTerminal.
    std::function<void(DecodeState& state, const char* text, std::size_t length)> outputToTerminal;
    // Log sink, set before the processor first decodes. Empty: no log.
    LinkLog log;

    // Id-tagged messages.
    uint16_t cycleMessageId = 16;
    uint8_t invalidatePending = 0;
    uint16_t stateCode = 0;

    // The stream buffer: Tarvik packets are assembled here, legacy packets
    // copied here and Moval packets collected here. Starts out as 'Z's.
    uint8_t packet[kStreamBufferSize];
    uint32_t writePosition = 0;
    uint32_t previousFrameLength = 0;
    uint32_t lengthLimit = 292;
    uint8_t frameStartCount = 0;
    // Tarvik stream: the packet in the buffer was checked (or refused) and
    // the rest of the frame is skipped.
    uint8_t packetDone = 0;

    // Moval stream.
    uint32_t consecutiveAa = 0;
    uint32_t movalPacketCounter = 0;
    uint32_t lastMovalSequence = 0;
    uint8_t insideMovalPacket = 0;
    uint8_t missedPacket = 0;
};

// Back to the state of a fresh connection (the decoder part of the link's
// ResetLinkState). Wiring (poster, windows, ids, terminal, hooks) is kept.
void ResetDecodeState(DecodeState& state);

// Logs one line through the state's sink. The text is used as it stands.
void DecodeLog(DecodeState& state, const char* tag, const std::string& text);
// printf-style with a constant format; cut at 254 characters like LogFormat.
void DecodeLogFormat(DecodeState& state, const char* tag, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// "CSerialMoval_DefaultComMsg" to the target window.
void PostDefaultCom(DecodeState& state, uint16_t kind, uint16_t value);
// Kind 6: the text goes with the post (copied; the receiver owns the copy).
void PostRemoteText(DecodeState& state, const char* text, std::size_t length);
// "CDispView_Invalidate" to the target window, else to the main window.
void PostInvalidateToView(DecodeState& state);

// Text from the remote for the service terminal: to the terminal while it
// is shown (and to its version buffer while a Moval talks text); otherwise,
// from a Moval in text mode on a plain stream, collected as version text and
// logged.
void OutputToTerminal(DecodeState& state, const char* text, std::size_t length);
// Through the state's hook when it has one, else OutputToTerminal.
void SendToTerminal(DecodeState& state, const char* text, std::size_t length);
