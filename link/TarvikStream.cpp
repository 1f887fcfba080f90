// Reassembly of the raw Tarvik stream: 0xAA starts a packet, 0xA0 escapes
// 0xAA (A0 0A) and itself (A0 A0).
#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "link/TarvikPackets.h"
#include "link/WireFields.h"

namespace {

enum : uint16_t { kHunting = 0, kInside = 1, kEscaped = 2 };

void StartFrame(DecodeState& link)
{
    LiveData& live = g_liveData;
    live.streamState = kInside;
    const int32_t kind = live.deviceKind;
    if (kind != kDeviceTarvik && kind != kDeviceTarvikPlus && link.frameStartCount < 255)
        ++link.frameStartCount;
    link.previousFrameLength = link.writePosition;
    link.writePosition = 0;
    link.packetDone = 0;
    // The frame just ended is still whole in the buffer: the moment to tell
    // the model from it, so this frame already gets the right layout.
    if (kind == kDeviceUnknown && link.frameStartCount >= 2 && link.previousFrameLength >= kTarvikClassicLength)
        live.deviceKind = DetermineTarvikType(link);
    const int32_t model = live.deviceKind;
    link.lengthLimit = model == kDeviceTarvik ? kTarvikClassicLimit : kTarvikPlusLimit;
    if (model == kDeviceTarvik || model == kDeviceTarvikPlus)
        live.sampleRate = 400;
}

// Whether the buffer takes one more byte. It never takes more than the
// model's limit: a frame that runs past it is dropped (back to hunting).
bool Fits(const DecodeState& link)
{
    return link.writePosition < link.lengthLimit;
}

// Stores one unescaped byte (the caller checked that it fits). The sum is
// compared once, when the position reaches a length word that lies between
// the nominal length and the limit; any other length word leaves the frame
// undecoded (it still serves to tell the model).
void Append(DecodeState& link, uint8_t byte)
{
    link.packet[link.writePosition++] = byte;
    if (link.packetDone != 0)
        return;
    const uint32_t nominal = link.lengthLimit - kTarvikTextRoom;
    if (link.writePosition == 2) {
        const uint32_t lengthWord = ReadLe16(link.packet);
        if (lengthWord < nominal || lengthWord > link.lengthLimit)
            link.packetDone = 1;
        return;
    }
    if (link.writePosition > 2 && link.writePosition == ReadLe16(link.packet)) {
        link.packetDone = 1;
        CheckTarvikStreamPacket(link);
    }
}

} // namespace

void EcgTarvikStream(DecodeState& link, const uint8_t* data, std::size_t length)
{
    if (data == nullptr)
        return;
    LiveData& live = g_liveData;
    // Each byte stores the state it leaves the machine in, once: a reader
    // never sees a passing state (hunting on the way to the next frame).
    for (std::size_t i = 0; i < length; ++i) {
        const uint8_t byte = data[i];
        if (byte == 0xAA) {
            // In any state: the end of one frame and the start of the next.
            StartFrame(link);
            continue;
        }
        switch (live.streamState) {
        case kInside:
            if (byte == 0xA0)
                live.streamState = kEscaped;
            else if (!Fits(link))
                live.streamState = kHunting;
            else
                Append(link, byte);
            break;
        case kEscaped:
            if ((byte == 0xA0 || byte == 0x0A) && Fits(link)) {
                live.streamState = kInside;
                Append(link, byte == 0xA0 ? 0xA0 : 0xAA);
            } else {
                live.streamState = kHunting;
            }
            break;
        default:
            break;
        }
    }
}
