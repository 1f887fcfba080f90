#include "link/ReceiveChunks.h"

#include <string>

#include "link/BthPacketMan.h"
#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "link/ProgrammingFeed.h"
#include "link/TermTextModel.h"
#include "platform/Event.h"
#include "platform/SerialErrors.h"

namespace {

constexpr char kTag[] = "CSerialMoval::OnEvent";

void PostProgrammingComplete(const ReceiveTargets& targets)
{
    DecodeState& decode = *targets.decode;
    const WindowHandle target = decode.targetWindow != 0 ? WindowHandle(decode.targetWindow) : decode.mainWindow;
    bool posted = false;
    if (decode.poster != nullptr && target != 0 && targets.programmingCompleteMessage != 0) {
        PostedMessage message;
        message.target = target;
        message.message = targets.programmingCompleteMessage;
        posted = decode.poster->Post(message);
    }
    if (!posted)
        DecodeLog(decode, kTag, std::string(kProgrammingCompleteCaption) + ": " + kProgrammingCompleteText);
}

}  // namespace

void FeedProgrammingLine(IReceivePort& port, const ReceiveTargets& targets)
{
    DecodeState& decode = *targets.decode;
    if (decode.terminal == nullptr || !decode.terminal->IsShown()) {
        g_linkMode = kLinkDecode;  // the terminal was closed: feeding stops
        return;
    }
    IProgrammingFeed* feed = targets.programming;
    const std::string_view line = feed != nullptr ? feed->CurrentLine() : std::string_view {};
    if (line.empty()) {
        // The table ran out before its final line: stop rather than read
        // past its end.
        DecodeLog(decode, kTag, "Programming stopped: no firmware line left to send.");
        g_linkMode = kLinkDrop;
        return;
    }
    const int32_t written = port.WriteBytes(line.data(), line.size());
    if (written != kSerialOk) {
        // The remote did not get this line: going on would program it with
        // a gap, so programming stops here.
        DecodeLogFormat(decode, kTag, "Programming stopped: the firmware line could not be sent (error %d: %s)",
                        int(written), SerialErrorText(written));
        g_linkMode = kLinkDrop;
        return;
    }
    if (line.front() == 'q') {
        g_linkMode = kLinkDrop;
        PostProgrammingComplete(targets);
    }
    feed->AdvanceLine();
}

void ReceiveChunks(IReceivePort& port, ReceiveTargets& targets)
{
    uint8_t scratch[BthPacket::kCapacity];
    while (port.PortOpen()) {
        BthPacket* buffer = targets.pool->GetFreeBuffer();
        if (buffer == nullptr)
            DecodeLog(*targets.decode, kTag, kPoolExhaustedText);
        uint8_t* into = buffer != nullptr ? buffer->data : scratch;

        uint32_t read = 0;
        const int32_t readResult = port.ReadChunk(into, BthPacket::kCapacity, read);
        bool queued = false;
        if (read > 0) {
            switch (g_linkMode.load()) {
            case kLinkDrop:
                break;
            case kLinkProgramming:
                FeedProgrammingLine(port, targets);
                break;
            case kLinkTerminal:
                if (targets.decode->terminal != nullptr)
                    targets.decode->terminal->AppendOutput(reinterpret_cast<const char*>(into), read);
                break;
            default:
                if (buffer != nullptr) {
                    buffer->length = read;
                    targets.pool->QueueFilledBuffer(buffer);
                    targets.packetEvent->Set();
                    queued = true;
                }
                break;
            }
        }
        if (buffer != nullptr && !queued) {
            targets.pool->ReleaseBuffer(buffer);
            targets.packetEvent->Set();
        }
        if (readResult != kSerialOk) {
            // Bytes read before the failure went their way above. A read cut
            // short by Close is no fault.
            if (readResult != targets.loggedReadError && port.PortOpen()) {
                DecodeLogFormat(*targets.decode, kTag, "Reading the port failed (error %d: %s)", int(readResult),
                                SerialErrorText(readResult));
                targets.loggedReadError = readResult;
            }
            break;
        }
        targets.loggedReadError = kSerialOk;
        if (read == 0)
            break;
    }
}
