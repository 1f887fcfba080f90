// Product, terminal, version and debug messages.
#include <string>

#include "link/DecodeCommon.h"
#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "link/MonitorMessages.h"
#include "link/TermTextModel.h"
#include "link/WireFields.h"

namespace {

constexpr int kTextHead = 4;

// Expected length of a text message whose length word sits at `lengthAt`;
// a message too short to hold its head expects just the head.
int ExpectedTextLength(const uint8_t* data, uint16_t length, int lengthAt)
{
    if (data == nullptr || length < kTextHead)
        return kTextHead;
    return TextMessageLength(ReadLe16(data + lengthAt));
}

} // namespace

void ProcessMsgIgnored(void*, const uint8_t*, uint16_t)
{
}

void ProcessMsgProductCode(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    if (!CheckMessageLength(state, "CSerialMoval::ProcessMsgProductCode",
                            "Bad Product msg length!  Expected Msg Length 0x%x, Received Data Size 0x%x.",
                            kProductLength, length, true))
        return;
    MarkGoodPacket();
    g_liveData.deviceKind = DeviceKindFromProductCode(ReadLe16(data));
}

void ProcessMsgTerminalOutput(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    if (!CheckMessageLength(state, "CSerialMoval::ProcessMsgTerminalOutput",
                            "Bad TerminalOutput msg length!  Expected Msg Length 0x%x, Received Data Size 0x%x.",
                            ExpectedTextLength(data, length, 2), length, true))
        return;
    const uint16_t textLength = ReadLe16(data + 2);
    if (ReadLe16(data) == 0 && textLength > 0)
        SendToTerminal(state, reinterpret_cast<const char*>(data + kTextHead), textLength);
}

void ProcessMsgVersionInfo(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    const char* tag = "CSerialMoval::ProcessMsgVersionInfo";
    if (!CheckMessageLength(state, tag,
                            "Bad VersionInfo msg length!  Expected Msg Length 0x%x, Received Data Size 0x%x.",
                            ExpectedTextLength(data, length, 0), length, false))
        return;
    MarkGoodPacket();
    const uint16_t textLength = ReadLe16(data);
    const char* text = reinterpret_cast<const char*>(data + kTextHead);
    std::string collected(text, textLength);
    if (state.terminal != nullptr) {
        state.terminal->AppendReceiveBuffer(text, textLength);
        collected = state.terminal->GetReceiveBuffer();
    }
    DecodeLog(state, tag, "Remote Version Information.");
    DecodeLog(state, nullptr, collected);
}

void ProcessMsgDebugOutput(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    const char* tag = "CSerialMoval::ProcessMsgDebugOutput";
    if (!CheckMessageLength(state, tag,
                            "Bad DebugOutput msg length!  Expected Msg Length 0x%x, Received Data Size 0x%x.",
                            ExpectedTextLength(data, length, 2), length, true))
        return;
    const uint16_t kind = ReadLe16(data);
    const uint16_t textLength = ReadLe16(data + 2);
    const char* text = reinterpret_cast<const char*>(data + kTextHead);
    switch (kind) {
    case 1:
        if (state.terminal != nullptr)
            state.terminal->AppendReceiveBuffer(text, textLength);
        break;
    case 2:
        DecodeLog(state, nullptr, std::string(text, textLength));
        break;
    case 3:
        PostRemoteText(state, text, textLength);
        break;
    default:
        break;
    }
}

const MonitorHandlerEntry kMonitorHandlers[kMonitorHandlerCount] = {
    {kMsgProduct, ProcessMsgProductCode},
    {0x11, ProcessMsgIgnored},
    {kMsgTerminalOutput, ProcessMsgTerminalOutput},
    {kMsgSelvoData, ProcessMsgSelvoData},
    {0x14, ProcessMsgIgnored},
    {kMsgVersionInfo, ProcessMsgVersionInfo},
    {kMsgNibpData, ProcessMsgNibpData},
    {kMsgDeviceState, ProcessMsgDeviceState},
    {kMsgDebugOutput, ProcessMsgDebugOutput},
    {kMsgSpO2Data, ProcessMsgSpO2Data},
    {kMsgCO2Data, ProcessMsgCO2Data},
    {kMsgEcgZData, ProcessMsgEcgZData},
    {kMsgTempData, ProcessMsgTempData},
};
