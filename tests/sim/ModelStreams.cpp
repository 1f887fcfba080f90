#include "sim/ModelStreams.h"

#include <cmath>
#include <vector>

#include "sim/SyntheticSignals.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kBeatsPerMinute = 120;
constexpr double kBreathSeconds = 3.0;

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

// The slow channels (75 per second) at slow sample i.
uint8_t Pleth(long i)
{
    const double beat = double(kImpedanceRate) * 60.0 / kBeatsPerMinute;
    return uint8_t(128 + std::lround(90.0 * std::sin(2 * kPi * std::fmod(double(i), beat) / beat)));
}

uint16_t Capnogram(long i)
{
    // Expiration plateau in the second half of each breath.
    const double breath = kImpedanceRate * kBreathSeconds;
    const double t = std::fmod(double(i), breath) / breath;
    return t < 0.5 ? uint16_t(2) : uint16_t(380 + std::lround(20.0 * std::sin(2 * kPi * t)));
}

int16_t CuffPressure(long i)
{
    // A deflation from 180 mmHg every 40 s, with the pulse riding on it.
    const double beat = double(kImpedanceRate) * 60.0 / kBeatsPerMinute;
    const double deflation = 180.0 - double(i % (kImpedanceRate * 40)) * 0.05;
    const double pulse = 3.0 * std::sin(2 * kPi * std::fmod(double(i), beat) / beat);
    return int16_t(std::lround((deflation + pulse) * 10.0));
}

GasBlock BreathingGas(long slow)
{
    GasBlock gas;
    gas.respRate = 20;
    for (int i = 0; i < 6; ++i) {
        gas.co2[i] = Capnogram(slow + i);
        gas.o2[i] = uint16_t(500 + gas.co2[i] / 4);
    }
    gas.co2Ins = 2;
    gas.co2Exp = 48;
    gas.o2Ins = 95;
    gas.o2Exp = 90;
    gas.primaryIns = 18;
    gas.primaryExp = 15;
    gas.agentId = 0x40 | 0x80 | (3 << 3); // isoflurane identified
    gas.barometric = 1013;
    gas.agentsOffered = 0xF8;
    return gas;
}

} // namespace

Bytes ModelStream(RemoteModel model, double seconds, uint32_t seed)
{
    const bool moval = model == RemoteModel::Moval;
    const int ecgRate = moval ? 500 : 400;
    const int perPacket = moval ? 48 : 32;
    const long packets = std::lround(seconds * ecgRate / perPacket);

    SyntheticEcgSpec spec;
    spec.sampleRate = ecgRate;
    spec.beatsPerMinute = kBeatsPerMinute;
    spec.seed = seed;
    const SyntheticEcg ecg = MakeSyntheticEcg(spec, int(packets * perPacket));
    BreathingSpec breathingSpec;
    breathingSpec.periodsSeconds = {kBreathSeconds};
    breathingSpec.offset = 2000.0;
    breathingSpec.seed = seed;
    const std::vector<int16_t> impedance = MakeBreathing(breathingSpec, int(packets * 6));

    const uint32_t leadsOn = RemoteStatusWord(4, 0, true);
    Bytes out;
    for (long n = 0; n < packets; ++n) {
        const int16_t* samples = ecg.samples.data() + n * perPacket;
        const long slow = n * 6;
        const uint32_t status = leadsOn | ((uint32_t(n) & 0x3F) << 8);
        const bool secondMark = n % (ecgRate / perPacket) == 0;
        switch (model) {
        case RemoteModel::TarvikClassic: {
            TarvikClassic p;
            std::copy(samples, samples + 32, p.ecg.begin());
            for (int i = 0; i < 6; ++i) {
                p.resp[i] = uint16_t(impedance[slow + i]);
                p.pleth[i] = Pleth(slow + i);
            }
            p.spo2 = 97;
            p.pulse = kBeatsPerMinute;
            p.temperature = 10150;
            p.status = status;
            Append(out, StuffFrame(EncodeTarvikClassic(p)));
            break;
        }
        case RemoteModel::TarvikPlus: {
            TarvikPlus p;
            std::copy(samples, samples + 32, p.ecg.begin());
            for (int i = 0; i < 6; ++i) {
                p.resp[i] = uint16_t(impedance[slow + i]);
                p.pleth[i] = Pleth(slow + i);
            }
            p.gas = BreathingGas(slow);
            p.systolic = 120;
            p.diastolic = 80;
            p.mean = 93;
            p.bpPulse = 118;
            p.spo2 = 97;
            p.pulse = kBeatsPerMinute;
            p.temperature = 10150;
            p.status = status;
            p.featureBits = 0x7F;
            Append(out, StuffFrame(EncodeTarvikPlus(p)));
            break;
        }
        case RemoteModel::Moval: {
            MovalPacket p;
            p.battery = 4;
            p.sequence = unsigned(n) & 0x3F;
            for (int k = 0; k < 48; ++k)
                p.ecg[k] = int16_t(samples[k] / 4); // the Moval's value range
            p.temperature = 10150;
            Append(out, EncodeMovalPacket(p));
            break;
        }
        case RemoteModel::Selvo: {
            SelvoData d;
            std::copy(samples, samples + 32, d.ecg.begin());
            for (int i = 0; i < 6; ++i) {
                d.resp[i] = uint16_t(impedance[slow + i]);
                d.pleth[i] = Pleth(slow + i);
            }
            d.temperature = 10150;
            d.status = status;
            d.featureBits = 0x0F;
            std::vector<Bytes> messages{BuildSubMessage(0x13, EncodeSelvoData(d), uint32_t(n))};
            if (secondMark) {
                DeviceStateData state;
                state.status = status;
                state.extended = 4;
                state.featureBits = 0x0F;
                messages.push_back(BuildSubMessage(0x17, EncodeDeviceState(state), uint32_t(n)));
            }
            Append(out, FrameContainer(messages, uint32_t(n)));
            break;
        }
        case RemoteModel::Brindle: {
            NibpData d;
            d.pulse = 118;
            d.systolic = 120;
            d.diastolic = 80;
            d.mean = 93;
            for (int i = 0; i < 6; ++i) {
                d.cuff[i] = CuffPressure(slow + i);
                d.oscillation[i] = int16_t(d.cuff[i] % 50);
            }
            std::vector<Bytes> messages{BuildSubMessage(0x16, EncodeNibpData(d), uint32_t(n))};
            if (secondMark) {
                DeviceStateData state;
                state.status = RemoteStatusWord(4, unsigned(n), false);
                state.extended = 0;
                state.featureBits = 0x10;
                messages.push_back(BuildSubMessage(0x17, EncodeDeviceState(state), uint32_t(n)));
            }
            Append(out, FrameContainer(messages, uint32_t(n)));
            break;
        }
        }
    }
    return out;
}
