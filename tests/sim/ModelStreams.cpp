#include "sim/ModelStreams.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSlowRate = 75;

} // namespace

SyntheticPatient::SyntheticPatient(int ecgRate, int beatsPerMinute, int breathsPerMinute, uint32_t seed)
    : m_ecgRate(ecgRate),
      m_beatPeriod(ecgRate * 60 / beatsPerMinute),
      m_breathPeriod(kSlowRate * 60 / breathsPerMinute),
      m_pulsePeriod(kSlowRate * 60 / beatsPerMinute),
      m_random(seed)
{
}

int16_t SyntheticPatient::NextEcg()
{
    // A narrow QRS (about 40 ms) and a low T wave on a small noisy baseline.
    const int phase = int(m_ecgIndex++ % uint64_t(m_beatPeriod));
    const int qrsHalf = m_ecgRate / 50;
    double value = 0;
    if (phase < 2 * qrsHalf)
        value = 1200.0 * (1.0 - std::abs(phase - qrsHalf) / double(qrsHalf));
    const int tStart = m_beatPeriod / 3;
    const int tLength = m_beatPeriod / 5;
    if (phase >= tStart && phase < tStart + tLength)
        value += 180.0 * std::sin(kPi * (phase - tStart) / tLength);
    std::uniform_int_distribution<int> noise(-12, 12);
    return int16_t(std::lround(value) + noise(m_random));
}

uint16_t SyntheticPatient::NextImpedance()
{
    const double t = double(m_slowIndex[0]++ % uint64_t(m_breathPeriod)) / m_breathPeriod;
    return uint16_t(2000 + std::lround(300.0 * std::sin(2 * kPi * t)));
}

uint8_t SyntheticPatient::NextPleth()
{
    const double t = double(m_slowIndex[1]++ % uint64_t(m_pulsePeriod)) / m_pulsePeriod;
    return uint8_t(128 + std::lround(90.0 * std::sin(2 * kPi * t)));
}

uint16_t SyntheticPatient::NextCo2()
{
    // Expiration plateau in the second half of each breath.
    const double t = double(m_slowIndex[2]++ % uint64_t(m_breathPeriod)) / m_breathPeriod;
    return t < 0.5 ? uint16_t(2) : uint16_t(380 + std::lround(20.0 * std::sin(2 * kPi * t)));
}

int16_t SyntheticPatient::NextCuffPressure()
{
    const uint64_t i = m_slowIndex[3]++;
    const double deflation = 180.0 - double(i % (kSlowRate * 40)) * 0.05;
    const double pulse = 3.0 * std::sin(2 * kPi * double(i % uint64_t(m_pulsePeriod)) / m_pulsePeriod);
    return int16_t(std::lround((deflation + pulse) * 10.0));
}

namespace {

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

GasBlock BreathingGas(SyntheticPatient& patient)
{
    GasBlock gas;
    gas.respRate = 20;
    for (int i = 0; i < 6; ++i) {
        gas.co2[i] = patient.NextCo2();
        gas.o2[i] = uint16_t(500 + gas.co2[i] / 4);
    }
    gas.co2Ins = 2;
    gas.co2Exp = 48;
    gas.o2Ins = 95;
    gas.o2Exp = 90;
    gas.n2oIns = 0;
    gas.primaryIns = 18;
    gas.primaryExp = 15;
    gas.agentId = 0x40 | 0x80 | (3 << 3); // identified: isoflurane
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
    SyntheticPatient patient(ecgRate, 120, 20, seed);
    const uint32_t leadsOn = RemoteStatusWord(4, 0, true);
    Bytes out;
    for (long n = 0; n < packets; ++n) {
        const uint32_t status = leadsOn | ((uint32_t(n) & 0x3F) << 8);
        const bool secondMark = n % (ecgRate / perPacket) == 0;
        switch (model) {
        case RemoteModel::TarvikClassic: {
            TarvikClassic p;
            for (auto& s : p.ecg) s = patient.NextEcg();
            for (int i = 0; i < 6; ++i) {
                p.resp[i] = patient.NextImpedance();
                p.pleth[i] = patient.NextPleth();
            }
            p.spo2 = 97;
            p.pulse = 120;
            p.temperature = 10150;
            p.status = status;
            Append(out, StuffFrame(EncodeTarvikClassic(p)));
            break;
        }
        case RemoteModel::TarvikPlus: {
            TarvikPlus p;
            for (auto& s : p.ecg) s = patient.NextEcg();
            for (int i = 0; i < 6; ++i) {
                p.resp[i] = patient.NextImpedance();
                p.pleth[i] = patient.NextPleth();
            }
            p.gas = BreathingGas(patient);
            p.systolic = 120;
            p.diastolic = 80;
            p.mean = 93;
            p.bpPulse = 118;
            p.spo2 = 97;
            p.pulse = 120;
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
            for (auto& s : p.ecg) s = patient.NextEcg();
            p.temperature = 10150;
            Append(out, EncodeMovalPacket(p));
            break;
        }
        case RemoteModel::Selvo: {
            SelvoData d;
            for (auto& s : d.ecg) s = patient.NextEcg();
            for (int i = 0; i < 6; ++i) {
                d.resp[i] = patient.NextImpedance();
                d.pleth[i] = patient.NextPleth();
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
                d.cuff[i] = patient.NextCuffPressure();
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
