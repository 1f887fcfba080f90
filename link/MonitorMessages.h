#pragma once
// Handlers of the id-tagged sub-messages (Selvo, Brindle and any remote
// that speaks containers). Each takes the link's DecodeState as its owner,
// checks the data length, writes g_liveData and g_sampleRing and posts to
// the view. All run on the packet-processor thread.
#include <cstddef>
#include <cstdint>

#include "link/MessageHandler.h"

enum MonitorMessageId : uint16_t {
    kMsgProduct = 0x10,
    kMsgTerminalOutput = 0x12,
    kMsgSelvoData = 0x13,
    kMsgVersionInfo = 0x15,
    kMsgNibpData = 0x16,
    kMsgDeviceState = 0x17,
    kMsgDebugOutput = 0x18,
    kMsgSpO2Data = 0x1c,
    kMsgCO2Data = 0x1d,
    kMsgEcgZData = 0x1e,
    kMsgTempData = 0x1f,
};

// Fixed data lengths.
constexpr uint16_t kProductLength = 74;
constexpr uint16_t kSelvoDataLength = 100;
constexpr uint16_t kNibpDataLength = 32;
constexpr uint16_t kDeviceStateLength = 16;
constexpr uint16_t kSpO2DataLength = 12;
constexpr uint16_t kCO2DataLength = 46;
constexpr uint16_t kEcgZDataLength = 80;
constexpr uint16_t kTempDataLength = 4;

// Length of a text message with text length L: the text padded to an even
// count after a 4-byte head. In int, so L = 65535 cannot wrap to 4.
constexpr int TextMessageLength(int textLength)
{
    return ((textLength + 1) & ~1) + 4;
}

void ProcessMsgProductCode(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgTerminalOutput(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgVersionInfo(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgDebugOutput(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgEcgZData(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgSpO2Data(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgCO2Data(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgTempData(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgNibpData(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgDeviceState(void* owner, const uint8_t* data, uint16_t length);
void ProcessMsgSelvoData(void* owner, const uint8_t* data, uint16_t length);
// Ids 0x11 and 0x14 are known and carry nothing the program uses.
void ProcessMsgIgnored(void* owner, const uint8_t* data, uint16_t length);

struct MonitorHandlerEntry {
    uint16_t id;
    MessageCallback callback;
};

// Every handler, in the order the link registers them.
constexpr std::size_t kMonitorHandlerCount = 13;
extern const MonitorHandlerEntry kMonitorHandlers[kMonitorHandlerCount];
