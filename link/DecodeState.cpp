#include "link/DecodeState.h"

#include <cstdarg>
#include <cstdio>

#include "link/LiveData.h"
#include "link/TermTextModel.h"

void ResetDecodeState(DecodeState& state)
{
    state.cycleMessageId = 16;
    state.invalidatePending = 0;
    state.stateCode = 0;
    state.writePosition = 0;
    state.previousFrameLength = 0;
    state.lengthLimit = 292;
    state.frameStartCount = 0;
    state.packetDone = 0;
    state.consecutiveAa = 0;
    state.movalPacketCounter = 0;
    state.lastMovalSequence = 0;
    state.insideMovalPacket = 0;
    state.missedPacket = 0;
}

void DecodeLog(DecodeState& state, const char* tag, const std::string& text)
{
    if (state.log)
        state.log(tag, text);
}

void DecodeLogFormat(DecodeState& state, const char* tag, const char* format, ...)
{
    char buffer[255] = {};
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    DecodeLog(state, tag, buffer);
}

namespace {

bool Post(DecodeState& state, WindowHandle target, uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (state.poster == nullptr || target == 0 || message == 0)
        return false;
    PostedMessage posted;
    posted.target = target;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    return state.poster->Post(posted);
}

} // namespace

void PostDefaultCom(DecodeState& state, uint16_t kind, uint16_t value)
{
    Post(state, state.targetWindow, state.defaultComMsg, DefaultComWParam(kind, value), 0);
}

void PostRemoteText(DecodeState& state, const char* text, std::size_t length)
{
    auto* copy = new std::string(text, length);
    if (!Post(state, state.targetWindow, state.defaultComMsg, DefaultComWParam(kComRemoteText, 0),
              reinterpret_cast<std::intptr_t>(copy))) {
        delete copy;
        // The box cannot be shown; keep the text where a technician finds it.
        DecodeLog(state, "CSerialMoval::ProcessMsgDebugOutput", std::string(text, length));
    }
}

void PostInvalidateToView(DecodeState& state)
{
    const WindowHandle target = state.targetWindow != 0 ? WindowHandle(state.targetWindow) : state.mainWindow;
    Post(state, target, state.invalidateMsg, 0, 0);
}

void OutputToTerminal(DecodeState& state, const char* text, std::size_t length)
{
    if (text == nullptr || length == 0)
        return;
    CTermTextModel* terminal = state.terminal;
    if (terminal != nullptr && terminal->IsShown()) {
        // The version buffer first: once the window hears of the output,
        // the answer is complete in both.
        if (g_liveData.movalTextMode != 0)
            terminal->AppendReceiveBuffer(text, length);
        terminal->AppendOutput(text, length);
        return;
    }
    if (g_liveData.movalTextMode != 0 && state.streamProtocol == 1) {
        std::string collected(text, length);
        if (terminal != nullptr) {
            terminal->AppendReceiveBuffer(text, length);
            collected = terminal->GetReceiveBuffer();
        }
        DecodeLog(state, "CSerialMoval::OutputToTerminal", "Remote Version Information");
        DecodeLog(state, nullptr, collected);
    }
}

void SendToTerminal(DecodeState& state, const char* text, std::size_t length)
{
    if (state.outputToTerminal)
        state.outputToTerminal(state, text, length);
    else
        OutputToTerminal(state, text, length);
}
