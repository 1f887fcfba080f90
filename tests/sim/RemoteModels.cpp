#include "sim/RemoteModels.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "sim/SyntheticSignals.h"

namespace {

constexpr int kSlowPerCycle = 6;     // respiration, plethysmogram and gas samples of a cycle
constexpr double kSlowRate = 75.0;   // per second

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

bool Beating(const RemoteReport& r)
{
    return r.heartRate > 0.0;
}

// ECG sample `sample` at `rate` per second: beats at the report's heart
// rate, else the plain wave.
int16_t Ecg(const RemoteReport& r, int rate, uint32_t sample)
{
    if (!Beating(r))
        return Wave(sample, 300);
    SyntheticEcgSpec spec;
    spec.sampleRate = rate;
    spec.beatsPerMinute = r.heartRate;
    spec.noise = 0.0;
    spec.mainsHum = 0.0;
    spec.baselineWander = 0.0;
    return SteadyEcgSample(spec, long(sample));
}

// A pulse shape at the heart rate, slow sample `slow`.
uint8_t Pulse(const RemoteReport& r, uint32_t slow)
{
    const double beat = kSlowRate * 60.0 / r.heartRate;
    return uint8_t(128 + std::lround(90.0 * std::sin(2 * std::numbers::pi * std::fmod(double(slow), beat) / beat)));
}

uint16_t Impedance(const RemoteReport& r, uint32_t slow)
{
    if (r.breathRate <= 0.0)
        return 2000;
    const double breath = kSlowRate * 60.0 / r.breathRate;
    return uint16_t(2000 + std::lround(300.0 * std::sin(2 * std::numbers::pi * double(slow) / breath)));
}

unsigned Battery(const RemoteReport& r, unsigned usual)
{
    return r.battery < 0 ? usual : unsigned(r.battery);
}

uint16_t GasFeatures(const RemoteReport& r)
{
    return uint16_t((r.co2 != 0 ? 0x20 : 0) | (r.o2 != 0 ? 0x40 : 0));
}

// The gas block of a cycle: barometric pressure only without a capnograph.
GasBlock Gas(const RemoteReport& r, uint32_t firstSlow)
{
    GasBlock gas;
    gas.barometric = 1013;
    if (r.co2 == 0)
        return gas;
    const double rate = r.breathRate > 0.0 ? r.breathRate : 20.0;
    const double breath = kSlowRate * 60.0 / rate;
    gas.respRate = uint8_t(std::lround(std::min(rate, 120.0)));
    for (int i = 0; i < kSlowPerCycle; ++i) {
        // Expiration plateau in the second half of each breath.
        const bool expiring = std::fmod(double(firstSlow + i), breath) >= breath / 2;
        gas.co2[i] = expiring ? uint16_t(r.co2 * 8) : uint16_t(2);
        gas.o2[i] = r.o2 != 0 ? uint16_t(500 + gas.co2[i] / 4) : uint16_t(0);
    }
    gas.co2Ins = 2;
    gas.co2Exp = r.co2;
    if (r.o2 != 0) {
        gas.o2Exp = r.o2;
        gas.o2Ins = uint8_t(std::min(100, r.o2 + 5));
    }
    if (r.agent >= 1 && r.agent <= 5) {
        static constexpr int kLimit[] = {50, 50, 50, 80, 180};
        gas.agentId = uint8_t(0xC0 | (r.agent << 3));
        gas.agentsOffered = 0xF8;
        gas.primaryExp = r.agentLevel;
        gas.primaryIns = uint8_t(std::min(kLimit[r.agent - 1], r.agentLevel + r.agentLevel / 5));
    }
    return gas;
}

Bytes SelvoCycle(uint32_t cycle, const RemoteReport& r)
{
    const uint16_t features = r.features != 0 ? r.features : uint16_t(ModelValues::kSelvoFeatures | GasFeatures(r));
    DeviceStateData state;
    state.extended = 4;
    state.featureBits = features;
    state.stateCode = r.stateCode;
    state.status = RemoteStatusWord(Battery(r, 4), cycle, true) | NotchBit(r.notch);
    std::vector<std::pair<uint16_t, Bytes>> messages{{0x17, EncodeDeviceState(state)}};
    if ((features & 0x01) != 0) {
        EcgZData ecg;
        for (int k = 0; k < 32; ++k)
            ecg.ecg[k] = Ecg(r, 400, cycle * 32 + k);
        for (int i = 0; i < kSlowPerCycle; ++i)
            ecg.resp[i] = Impedance(r, cycle * kSlowPerCycle + i);
        messages.emplace_back(0x1e, EncodeEcgZData(ecg));
    }
    if ((features & 0x04) != 0) {
        SpO2Data spo2;
        for (int i = 0; i < kSlowPerCycle; ++i)
            spo2.pleth[i] = Beating(r) ? Pulse(r, cycle * kSlowPerCycle + i) : static_cast<uint8_t>(100 + (cycle + i) % 50);
        spo2.spo2 = r.spo2;
        spo2.pulse = r.pulse;
        messages.emplace_back(0x1c, EncodeSpO2Data(spo2));
    }
    if ((features & 0x08) != 0)
        messages.emplace_back(0x1f, EncodeTempData(r.temperature));
    if ((features & 0x20) != 0)
        messages.emplace_back(0x1d, EncodeGasBlock(Gas(r, cycle * kSlowPerCycle)));
    const uint32_t count = uint32_t(messages.size());
    std::vector<Bytes> subMessages;
    for (uint32_t i = 0; i < count; ++i)
        subMessages.push_back(BuildSubMessage(messages[i].first, messages[i].second, cycle * count + i));
    return FrameContainer(subMessages, cycle);
}

Bytes BrindleCycle(uint32_t cycle, const RemoteReport& r)
{
    NibpData nibp;
    nibp.pulse = r.bpPulse;
    nibp.systolic = r.systolic;
    nibp.diastolic = r.diastolic;
    nibp.mean = r.mean;
    for (int i = 0; i < 6; ++i) {
        nibp.cuff[i] = static_cast<int16_t>(150 - (cycle % 100));
        nibp.oscillation[i] = Wave(cycle * 6 + i, 40);
    }
    DeviceStateData state;
    state.extended = 0;
    state.featureBits = r.features != 0 ? r.features : ModelValues::kBrindleFeatures;
    state.stateCode = r.stateCode;
    state.status = RemoteStatusWord(Battery(r, 4), cycle, true) | NotchBit(r.notch);
    return FrameContainer({BuildSubMessage(0x17, EncodeDeviceState(state), cycle * 2),
                           BuildSubMessage(0x16, EncodeNibpData(nibp), cycle * 2 + 1)},
                          cycle);
}

Bytes TarvikClassicCycle(uint32_t cycle, const RemoteReport& r)
{
    TarvikClassic p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = Ecg(r, 400, cycle * 32 + k);
    for (int i = 0; i < kSlowPerCycle; ++i) {
        const uint32_t slow = cycle * kSlowPerCycle + i;
        p.resp[i] = Impedance(r, slow);
        p.pleth[i] = Beating(r) ? Pulse(r, slow) : uint8_t(120);
    }
    p.spo2 = r.spo2;
    p.pulse = r.pulse;
    p.temperature = r.temperature;
    p.stateCode = r.stateCode;
    p.status = RemoteStatusWord(Battery(r, 3), cycle, true) | NotchBit(r.notch);
    p.text = r.terminalText;
    return StuffFrame(EncodeTarvikClassic(p));
}

Bytes TarvikPlusCycle(uint32_t cycle, const RemoteReport& r)
{
    TarvikPlus p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = Ecg(r, 400, cycle * 32 + k);
    for (int i = 0; i < kSlowPerCycle; ++i) {
        const uint32_t slow = cycle * kSlowPerCycle + i;
        p.resp[i] = Impedance(r, slow);
        p.pleth[i] = Beating(r) ? Pulse(r, slow) : uint8_t(120);
    }
    p.spo2 = r.spo2;
    p.pulse = r.pulse;
    p.temperature = r.temperature;
    p.systolic = r.systolic;
    p.diastolic = r.diastolic;
    p.mean = r.mean;
    p.bpPulse = r.bpPulse;
    p.featureBits = r.features != 0 ? r.features : uint16_t(0x001F | GasFeatures(r));
    p.stateCode = r.stateCode;
    p.status = RemoteStatusWord(Battery(r, 2), cycle, true) | NotchBit(r.notch);
    p.gas = Gas(r, cycle * kSlowPerCycle);
    p.text = r.terminalText;
    return StuffFrame(EncodeTarvikPlus(p));
}

Bytes MovalCycle(uint32_t cycle, const RemoteReport& r)
{
    MovalPacket p;
    p.battery = Battery(r, 3);
    p.stateCode = r.stateCode;
    p.sequence = cycle & 0x3F;
    p.statusFlag = r.notch;
    for (int k = 0; k < 48; ++k) {
        // Beats in the Moval's value range, a quarter of the others'.
        const int16_t sample = Ecg(r, 500, cycle * 48 + k);
        p.ecg[k] = Beating(r) ? int16_t(sample / 4) : sample;
    }
    p.temperature = r.temperature;
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

Bytes ModelCycle(RemoteModel model, uint32_t cycle, const RemoteReport& report)
{
    switch (model) {
    case RemoteModel::TarvikClassic: return TarvikClassicCycle(cycle, report);
    case RemoteModel::TarvikPlus: return TarvikPlusCycle(cycle, report);
    case RemoteModel::Moval: return MovalCycle(cycle, report);
    case RemoteModel::Selvo: return SelvoCycle(cycle, report);
    case RemoteModel::Brindle: return BrindleCycle(cycle, report);
    }
    return {};
}

Bytes ModelCycle(RemoteModel model, uint32_t cycle, bool notch)
{
    RemoteReport report;
    report.notch = notch;
    return ModelCycle(model, cycle, report);
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
