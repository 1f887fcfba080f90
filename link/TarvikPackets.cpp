// Checking and decoding one Tarvik packet.
#include "link/TarvikPackets.h"

#include <cstring>

#include "link/DecodeCommon.h"
#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/GasBlock.h"
#include "link/LiveData.h"
#include "link/RemoteStatusCodes.h"
#include "link/WireFields.h"

namespace {

struct TarvikLayout {
    uint32_t nominal;
    uint32_t limit;
    uint32_t checksumAt;
    uint32_t statusAt;
    uint32_t stateAt;
    int32_t model;
    const char* tag;
};

constexpr TarvikLayout kClassic = {kTarvikClassicLength, kTarvikClassicLimit, kTarvikClassicChecksum, 100, 98,
                                   kDeviceTarvik, "CSerialMoval::ProcessTarvikClassicMessage"};
constexpr TarvikLayout kPlus = {kTarvikPlusLength, kTarvikPlusLimit, kTarvikPlusChecksum, 152, 150,
                                kDeviceTarvikPlus, "CSerialMoval::ProcessTarvikPlusMessage"};

// Terminal text, battery, state and status of a checked packet, then its
// values.
void HandleCheckedPacket(DecodeState& link, uint32_t packetLength, const TarvikLayout& layout)
{
    g_liveData.packetReceived = 1;
    if (packetLength > layout.nominal)
        SendToTerminal(link, reinterpret_cast<const char*>(link.packet + layout.nominal),
                       packetLength - layout.nominal);
    const uint32_t status = ReadLe32(link.packet + layout.statusAt);
    g_liveData.batteryLevel = int16_t(status & 7);
    link.stateCode = ReadLe16(link.packet + layout.stateAt);
    g_liveData.statusFlags = status;
    DecodeTarvikPayload(link);
}

void ProcessLegacyPacket(void* owner, const uint8_t* packet, uint32_t length, const TarvikLayout& layout)
{
    if (owner == nullptr || packet == nullptr)
        return;
    auto& link = *static_cast<DecodeState*>(owner);
    const uint32_t copied = length < layout.limit ? length : layout.limit;
    std::memcpy(link.packet, packet, copied);

    const uint32_t lengthWord = copied >= 2 ? ReadLe16(link.packet) : 0;
    const bool fieldPresent = copied >= layout.checksumAt + 4;
    const uint32_t field = fieldPresent ? ReadLe32(link.packet + layout.checksumAt) : 0;
    // The sum covers the length the packet claims, which must lie inside
    // the bytes received and inside the model's limits.
    const bool lengthSound = lengthWord >= layout.nominal && lengthWord <= layout.limit && lengthWord <= length;
    const uint32_t summed = lengthSound ? lengthWord : copied;
    const uint32_t computed = TarvikChecksum(link.packet, summed, layout.checksumAt);
    if (!lengthSound || !fieldPresent || computed != field) {
        g_liveData.packetReceived = 0;
        DecodeLogFormat(link, layout.tag,
                        "Checksum Mismatch!  Computed 0x%x, Received 0x%x.  Spec Pkt Length 0x%x, Received Data Size 0x%x",
                        unsigned(computed), unsigned(field), unsigned(lengthWord), unsigned(length));
        return;
    }
    // Only a packet that passed its sum may name the model.
    g_liveData.statusFlags = ReadLe32(link.packet + layout.statusAt);
    g_liveData.sampleRate = 400;
    g_liveData.deviceKind = layout.model;
    if (layout.model == kDeviceTarvik) {
        g_liveData.featureBits = 15;
        g_liveData.gasModuleKind = 5;
    }
    HandleCheckedPacket(link, lengthWord, layout);
}

int16_t TemperatureTenths(int16_t hundredths)
{
    return hundredths >= 0 ? int16_t(hundredths / 10) : int16_t(0);
}

} // namespace

uint32_t TarvikChecksum(const uint8_t* packet, uint32_t length, uint32_t checksumAt)
{
    return ByteSumWithoutChecksum(packet, length, checksumAt);
}

void ProcessTarvikClassicMessage(void* owner, const uint8_t* packet, uint32_t length)
{
    ProcessLegacyPacket(owner, packet, length, kClassic);
}

void ProcessTarvikPlusMessage(void* owner, const uint8_t* packet, uint32_t length)
{
    ProcessLegacyPacket(owner, packet, length, kPlus);
}

int DetermineTarvikType(DecodeState& link)
{
    const uint8_t* packet = link.packet;
    const uint32_t lengthWord = ReadLe16(packet);
    const uint32_t received = link.previousFrameLength;
    // A length word is believed only when the frame really held that many
    // bytes and the checksum field lies inside them.
    if (lengthWord >= kTarvikClassicLength && lengthWord < kTarvikClassicLimit && lengthWord <= received &&
        TarvikChecksum(packet, lengthWord, kTarvikClassicChecksum) == ReadLe32(packet + kTarvikClassicChecksum)) {
        g_liveData.featureBits = 15;
        g_liveData.gasModuleKind = 5;
        DecodeLog(link, "CSerialMoval::DetermineTarvikType", "Remote Device is a Tarvik (Classic)");
        return kDeviceTarvik;
    }
    if (lengthWord >= kTarvikPlusLength && lengthWord < kTarvikPlusLimit && lengthWord <= received &&
        TarvikChecksum(packet, lengthWord, kTarvikPlusChecksum) == ReadLe32(packet + kTarvikPlusChecksum)) {
        DecodeLog(link, "CSerialMoval::DetermineTarvikType", "Remote Device is a Tarvik Plus");
        return kDeviceTarvikPlus;
    }
    return kDeviceUnknown;
}

void CheckTarvikStreamPacket(DecodeState& link)
{
    const bool classic = g_liveData.deviceKind == kDeviceTarvik;
    const TarvikLayout& layout = classic ? kClassic : kPlus;
    const uint32_t lengthWord = ReadLe16(link.packet);
    const uint32_t field = ReadLe32(link.packet + layout.checksumAt);
    const uint32_t sum = TarvikChecksum(link.packet, lengthWord, layout.checksumAt);
    g_liveData.streamSumField = field;
    g_liveData.streamSum = sum;
    if (sum != field) {
        g_liveData.packetReceived = 0;
        return;
    }
    HandleCheckedPacket(link, lengthWord, layout);
}

void DecodeTarvikPayload(DecodeState& link)
{
    LiveData& live = g_liveData;
    const uint8_t* p = link.packet;
    const bool classic = live.deviceKind == kDeviceTarvik;
    const uint8_t* gas = p + 80;

    MarkGoodPacket();
    if (classic) {
        live.numerics[kParamTemperature] = TemperatureTenths(ReadLeI16(p + 94));
        live.numerics[kParamSpO2] = int16_t(ReadLe16(p + 86));
        live.hrFromSpO2 = int16_t(ReadLe16(p + 88));
    } else {
        live.numerics[kParamTemperature] = TemperatureTenths(ReadLeI16(p + 146));
        live.numerics[kParamSpO2] = int16_t(ReadLe16(p + 140));
        live.hrFromSpO2 = int16_t(ReadLe16(p + 142));
        DecodeGasFlags(gas);
        const uint8_t byte95 = p[95];
        if ((byte95 & 0x80) != 0) {
            g_gasStatus[4] = p[110];
            g_gasStatus[5] = p[111];
            g_gasStatus[6] = p[115];
            g_gasStatus[7] = p[116];
            g_gasStatus[8] = byte95 & 0x0F;
            g_gasStatus[9] = 2;
        } else {
            g_gasStatus[9] = 1;
        }
        if ((ReadLe32(p + 152) & (1u << 25)) != 0)
            live.displayLatch = 1;
    }

    int16_t resp[kSlowValues];
    FilterRespiration(p + (classic ? 72 : 68), resp);

    if (classic) {
        live.numerics[kParamRespRate] = g_respRate;
    } else {
        live.numerics[kParamApnea] = gas[38];
        live.numerics[kParamSystolic] = int16_t(ReadLe16(p + 128));
        live.numerics[kParamDiastolic] = int16_t(ReadLe16(p + 130));
        live.numerics[kParamMean] = int16_t(ReadLe16(p + 132));
        live.hrFromBp = int16_t(ReadLe16(p + 126));
        uint16_t features = ReadLe16(p + 156);
        if (!DecodeGasSetUp(gas, features, GasBlockOrigin::TarvikPlus))
            live.numerics[kParamRespRate] = g_respRate;
        // The view's copy of the handled features stays the view's: it
        // compares it with featureBits to send the set-up commands.
        live.featureBits = features;
        DecodeGasValues(gas);
    }

    const bool valid = EcgSignalValid();
    const uint8_t co2Valid = (live.featureBits & kFeatureCO2) != 0 ? 1 : 0;
    const uint8_t* pleth = p + (classic ? 66 : 134);
    for (int k = 0; k < kBlockFrames; ++k) {
        const int slow = SlowIndex(k);
        SampleFrame& frame = BeginRingWrite();
        EcgStep(frame, ReadLeI16(p + 2 + 2 * k), valid);
        frame.co2Valid = co2Valid;
        frame.pleth = pleth[slow];
        if (!classic) {
            frame.co2 = ReadLeI16(gas + kGasCo2Samples + 2 * slow);
            frame.o2 = ReadLeI16(gas + kGasO2Samples + 2 * slow);
        }
        frame.resp = valid ? resp[slow] : int16_t(0);
        CommitRingWrite();
    }

    const uint16_t features = live.featureBits;
    uint8_t source = 0;
    if (live.hrFromEcg != 0)
        source = 0;
    else if (live.hrFromSpO2 != 0 && (features & kFeatureSpO2) != 0)
        source = 1;
    else if (live.hrFromBp != 0 && (features & kFeatureNibp) != 0)
        source = 2;
    if (live.hrFromSpO2Setting != 0 && (features & kFeatureSpO2) != 0)
        source = 1;
    live.heartRateSource = source;
    const int16_t rate = source == 0 ? live.hrFromEcg : source == 1 ? live.hrFromSpO2 : live.hrFromBp;
    live.numerics[kParamHeartRate] = RateOrZero(rate);

    CloseCycle(link, kNewDataMessages, true);
    PostStatusCode(link, RemoteStatusCode(live.deviceKind, link.stateCode));
}
