#include "sim/RemoteModels.h"

#include <cmath>
#include <numbers>

namespace {

// The remote's mains-notch flag in its status word: 60 Hz when set.
uint32_t NotchBit(bool notch)
{
    return notch ? 0x80u : 0u;
}

// A slow sine for the waveforms, so frames differ from one to the next.
int16_t Wave(uint32_t sample, int amplitude)
{
    return static_cast<int16_t>(amplitude * std::sin(static_cast<double>(sample % 400) * 2.0 * std::numbers::pi / 400.0));
}

Bytes SelvoCycle(uint32_t cycle, bool notch)
{
    EcgZData ecg;
    for (int k = 0; k < 32; ++k)
        ecg.ecg[k] = Wave(cycle * 32 + k, 300);
    ecg.resp.fill(2000);
    SpO2Data spo2;
    for (int i = 0; i < 6; ++i)
        spo2.pleth[i] = static_cast<uint8_t>(100 + (cycle + i) % 50);
    spo2.spo2 = ModelValues::kSpO2;
    spo2.pulse = ModelValues::kPulse;
    DeviceStateData state;
    state.extended = 4;
    state.featureBits = ModelValues::kSelvoFeatures;
    state.status = RemoteStatusWord(4, cycle, true) | NotchBit(notch);
    return FrameContainer({BuildSubMessage(0x17, EncodeDeviceState(state), cycle * 4),
                           BuildSubMessage(0x1e, EncodeEcgZData(ecg), cycle * 4 + 1),
                           BuildSubMessage(0x1c, EncodeSpO2Data(spo2), cycle * 4 + 2),
                           BuildSubMessage(0x1f, EncodeTempData(ModelValues::kTemperature), cycle * 4 + 3)},
                          cycle);
}

Bytes BrindleCycle(uint32_t cycle, bool notch)
{
    NibpData nibp;
    nibp.pulse = ModelValues::kBpPulse;
    nibp.systolic = ModelValues::kSystolic;
    nibp.diastolic = ModelValues::kDiastolic;
    nibp.mean = ModelValues::kMean;
    for (int i = 0; i < 6; ++i) {
        nibp.cuff[i] = static_cast<int16_t>(150 - (cycle % 100));
        nibp.oscillation[i] = Wave(cycle * 6 + i, 40);
    }
    DeviceStateData state;
    state.extended = 0;
    state.featureBits = ModelValues::kBrindleFeatures;
    state.status = RemoteStatusWord(4, cycle, true) | NotchBit(notch);
    return FrameContainer({BuildSubMessage(0x17, EncodeDeviceState(state), cycle * 2),
                           BuildSubMessage(0x16, EncodeNibpData(nibp), cycle * 2 + 1)},
                          cycle);
}

Bytes TarvikClassicCycle(uint32_t cycle, bool notch)
{
    TarvikClassic p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = Wave(cycle * 32 + k, 300);
    p.resp.fill(2000);
    p.pleth.fill(120);
    p.spo2 = ModelValues::kSpO2;
    p.pulse = ModelValues::kPulse;
    p.temperature = ModelValues::kTemperature;
    p.status = RemoteStatusWord(3, cycle, true) | NotchBit(notch);
    return StuffFrame(EncodeTarvikClassic(p));
}

Bytes TarvikPlusCycle(uint32_t cycle, bool notch)
{
    TarvikPlus p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = Wave(cycle * 32 + k, 300);
    p.resp.fill(2000);
    p.pleth.fill(120);
    p.spo2 = ModelValues::kSpO2;
    p.pulse = ModelValues::kPulse;
    p.temperature = ModelValues::kTemperature;
    p.systolic = ModelValues::kSystolic;
    p.diastolic = ModelValues::kDiastolic;
    p.mean = ModelValues::kMean;
    p.bpPulse = ModelValues::kBpPulse;
    p.featureBits = 0x001F;
    p.status = RemoteStatusWord(2, cycle, true) | NotchBit(notch);
    p.gas.barometric = 1013;
    return StuffFrame(EncodeTarvikPlus(p));
}

Bytes MovalCycle(uint32_t cycle, bool notch)
{
    MovalPacket p;
    p.battery = 3;
    p.sequence = cycle & 0x3F;
    p.statusFlag = notch;
    for (int k = 0; k < 48; ++k)
        p.ecg[k] = Wave(cycle * 48 + k, 300);
    p.temperature = ModelValues::kTemperature;
    return EncodeMovalPacket(p);
}

}  // namespace

int SamplesPerCycle(RemoteModel model)
{
    return model == RemoteModel::Moval ? 48 : 32;
}

Bytes ModelOpening(RemoteModel model)
{
    switch (model) {
    case RemoteModel::Moval:
        return Bytes {'\r', '\n', 'v', '>', ' '};
    case RemoteModel::Selvo:
        return FrameMessage(0x10, EncodeProduct(4));
    case RemoteModel::Brindle:
        return FrameMessage(0x10, EncodeProduct(5));
    default:
        return {};
    }
}

Bytes ModelCycle(RemoteModel model, uint32_t cycle, bool notch)
{
    switch (model) {
    case RemoteModel::TarvikClassic: return TarvikClassicCycle(cycle, notch);
    case RemoteModel::TarvikPlus: return TarvikPlusCycle(cycle, notch);
    case RemoteModel::Moval: return MovalCycle(cycle, notch);
    case RemoteModel::Selvo: return SelvoCycle(cycle, notch);
    case RemoteModel::Brindle: return BrindleCycle(cycle, notch);
    }
    return {};
}

Bytes ModelCycles(RemoteModel model, uint32_t first, uint32_t count, bool notch)
{
    Bytes out;
    for (uint32_t i = 0; i < count; ++i) {
        const Bytes cycle = ModelCycle(model, first + i, notch);
        out.insert(out.end(), cycle.begin(), cycle.end());
    }
    return out;
}
