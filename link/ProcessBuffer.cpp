#include "link/ProcessBuffer.h"

#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "link/MonitorMessages.h"
#include "link/MovalStream.h"
#include "link/PacketStateMachine.h"
#include "link/StreamDetector.h"
#include "link/TarvikPackets.h"
#include "link/TermTextModel.h"

namespace {

// Frame starts change nothing that decoding uses.
void IgnoreFrameStart(void*) {}

void BecomeMoval(DecodeState& decode)
{
    LiveData& live = g_liveData;
    decode.streamProtocol = kStreamLegacy;
    live.deviceKind = kDeviceMoval;
    live.featureBits = kFeatureEcg | kFeatureTemp;
    live.sampleRate = 500;
    live.gasModuleKind = 5;
    if (decode.terminal != nullptr)
        decode.terminal->ClearReceiveBuffer();
    // Text mode before the view hears of it, so its version request never
    // finds the mode still clear.
    live.movalTextMode = 1;
    PostDefaultCom(decode, kComMovalDetected, 0);
}

}  // namespace

void AttachDecoders(DecodeState& decode)
{
    CPacketStateMachine* machine = CPacketStateMachine::Instance();
    machine->owner = &decode;
    machine->ownerFrameStart = &IgnoreFrameStart;
    machine->ownerLegacyA = &ProcessTarvikClassicMessage;
    machine->ownerLegacyB = &ProcessTarvikPlusMessage;
    for (const MonitorHandlerEntry& entry : kMonitorHandlers)
        machine->Dispatcher().Register(entry.id, &decode, entry.callback);
}

void ProcessBuffer(DecodeState& decode, StreamDetector& detector, const uint8_t* data, std::size_t length)
{
    if (data == nullptr || length == 0)
        return;
    LiveData& live = g_liveData;
    if (live.deviceKind == kDeviceMoval) {
        if (live.movalTextMode == 0)
            EcgMovalStream(decode, data, length);
        else
            SendToTerminal(decode, reinterpret_cast<const char*>(data), length);
        return;
    }
    if (live.firstBuffer == 1) {
        live.firstBuffer = 0;
        if (IsMovalPrompt(data, length)) {
            BecomeMoval(decode);
            return;
        }
    }
    if (!detector.synchronised) {
        const int protocol = detector.Feed(data, length);
        if (!detector.synchronised)
            return;
        decode.streamProtocol = protocol;
    }
    if (decode.streamProtocol == kStreamContainers)
        CPacketStateMachine::Instance()->ProcessBytes(data, static_cast<uint32_t>(length));
    else
        EcgTarvikStream(decode, data, length);
}
