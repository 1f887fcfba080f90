#include "view/DemoGenerator.h"

#include <cmath>

#include "link/DecodeCommon.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"

namespace {

// The numerics' slow swings, in radians per unit of phase.
constexpr double kTempRate = 0.18849576;
constexpr double kSwingRate = 0.25132768;
constexpr double kPulseRate = 0.21991172;

constexpr int16_t kCo2Offset = 2073;
constexpr float kStandardAmbient = 10.1325f;

int16_t Round16(double value)
{
    return static_cast<int16_t>(std::lround(value));
}

} // namespace

CDemoGenerator::CDemoGenerator(const DemoTables& tables, uint32_t seed) : m_tables(tables), m_random(seed) {}

void CDemoGenerator::Begin(uint32_t nowMs)
{
    LiveData& live = g_liveData;
    const int32_t kind = live.deviceKind;
    const uint16_t features = live.featureBits;
    ResetRemoteDataState();
    live.deviceKind = kind;
    live.featureBits = features;
    m_state.Reset();
    m_state.lastTickMs = nowMs;
    g_ecgBandwidthFlag = 1;
}

uint32_t CDemoGenerator::SleepMs()
{
    return g_hrDetectMode == 1 ? 35 : 80;
}

int32_t CDemoGenerator::SamplesDue(uint32_t nowMs)
{
    const uint32_t elapsed = nowMs - m_state.lastTickMs;
    m_state.lastTickMs = nowMs;
    if (elapsed > kMaxCycleMs) {
        m_state.carryTenths = 0;
        return static_cast<int32_t>(kMaxCycleMs * 4 / 10);
    }
    // 0.4 samples per ms, rounded, with the rounding carried to the next
    // cycle so that a second of cycles always makes 400 samples.
    const int32_t tenths = static_cast<int32_t>(elapsed) * 4 + m_state.carryTenths;
    const int32_t samples = (tenths + 5) / 10;
    m_state.carryTenths = tenths - samples * 10;
    return samples;
}

DemoCycle CDemoGenerator::Cycle(uint32_t nowMs, bool exoticRates)
{
    LiveData& live = g_liveData;
    const int32_t samples = SamplesDue(nowMs);
    const bool brindle = live.deviceKind == kDeviceBrindle;
    const bool measuring = (live.statusFlags & kMeasuringBit) != 0;
    const DemoEcgTable& ecg = exoticRates ? m_tables.ecgB : m_tables.ecgA;
    const uint32_t ecgSize = static_cast<uint32_t>(ecg.samples.size());
    if (!measuring) {
        m_state.cuffPoint = 0;
        m_state.cuffHold = 0;
    }

    bool valid = false;
    for (int32_t i = 0; i < samples; ++i) {
        int16_t sample = 0;
        valid = false;
        if (!brindle) {
            const uint32_t at = m_state.ecgIndex % ecgSize;
            sample = ecg.samples[at];
            valid = DemoSampleValid(ecg.markers[at]);
            m_state.ecgIndex = (at + 1) % ecgSize;
        }
        SampleFrame& frame = BeginRingWrite();
        // Marks a detected beat only on a valid sample, so never a Brindle's.
        EcgStep(frame, sample, valid);
        frame.pleth = m_tables.pleth[m_state.plethIndex];
        m_state.plethIndex = (m_state.plethIndex + 1) % kDemoPlethSize;
        frame.resp = m_tables.resp[m_state.respIndex];
        m_state.respIndex = (m_state.respIndex + 1) % kDemoRespSize;
        if (brindle) {
            CuffSample(frame, measuring);
        } else {
            frame.co2 = static_cast<int16_t>((frame.resp + kCo2Offset) / 8);
            frame.co2Valid = 1;
            frame.o2 = static_cast<int16_t>(-frame.resp / 2);
        }
        CommitRingWrite();
    }
    if (samples > 0) {
        if (valid && !brindle)
            live.numerics[kParamRespRate] = Round16(std::cos(kSwingRate * m_state.phase) * 5 + 27);
        else if ((live.featureBits & kFeatureCO2) == 0)
            live.numerics[kParamRespRate] = 0;
    }
    WriteNumerics(brindle);
    ChooseHeartRateSource(brindle);
    m_state.phase += kPhaseStep;

    live.movalSequence = static_cast<int16_t>((live.movalSequence + 1) & 0x7F);
    DemoCycle cycle;
    cycle.samples = samples;
    if (live.startupCountdown > 0)
        live.startupCountdown = live.startupCountdown - 1;
    else
        cycle.notify = true;
    return cycle;
}

void CDemoGenerator::CuffSample(SampleFrame& frame, bool measuring)
{
    frame.co2Valid = 1;
    if (!measuring || m_state.cuffPoint >= kDemoCuffPoints)
        return;  // an empty cuff: 0
    frame.co2 = m_tables.cuffPressure[m_state.cuffPoint];
    frame.o2 = m_tables.cuffOscillation[m_state.cuffPoint];
    if (++m_state.cuffHold < kCuffHoldSamples)
        return;
    m_state.cuffHold = 0;
    if (++m_state.cuffPoint == kDemoCuffPoints)
        DrawBloodPressure();
}

void CDemoGenerator::DrawBloodPressure()
{
    std::uniform_int_distribution<int> systolic(105, 140);
    std::uniform_int_distribution<int> diastolic(55, 85);
    std::uniform_int_distribution<int> pulse(90, 130);
    const int sys = systolic(m_random);
    const int dia = diastolic(m_random);
    LiveData& live = g_liveData;
    live.numerics[kParamSystolic] = static_cast<int16_t>(sys);
    live.numerics[kParamDiastolic] = static_cast<int16_t>(dia);
    live.numerics[kParamMean] = Round16((sys + 2.0 * dia) / 3.0);
    live.hrFromBp = static_cast<int16_t>(pulse(m_random));
}

void CDemoGenerator::WriteNumerics(bool brindle)
{
    LiveData& live = g_liveData;
    const double t = m_state.phase;
    const double s = std::sin(kSwingRate * t);
    const double k = std::cos(kSwingRate * t);
    live.numerics[kParamTemperature] = Round16(std::sin(kTempRate * t) * 35 + 970);
    live.numerics[kParamSpO2] = Round16(k * 3 + 95);
    live.hrFromSpO2 = Round16(std::sin(kPulseRate * t) * 15 + 90);
    if (!brindle) {
        const double c = k * 5;
        live.numerics[kParamSystolic] = Round16(c + 115);
        live.numerics[kParamDiastolic] = Round16(c + 75);
        live.numerics[kParamMean] = Round16(c + 95);
        live.hrFromBp = Round16(c + 120);
    }
    live.ambientPressure = kStandardAmbient;
    live.numerics[kParamCO2Ins] = Round16(5 * s + 8);
    live.numerics[kParamCO2Exp] = Round16(5 * k + 41);
    live.numerics[kParamO2Ins] = Round16(15 * s + 716);
    live.numerics[kParamO2Exp] = Round16(10 * k + 573);
    live.numerics[kParamN2OIns] = Round16(20 * s + 619);
    live.numerics[kParamN2OExp] = Round16(15 * k + 520);
    live.numerics[kParamHalIns] = Round16(5 * s + 32);
    live.numerics[kParamHalExp] = Round16(5 * k + 19);
    live.numerics[kParamEnfIns] = Round16(5 * k + 22);
    live.numerics[kParamEnfExp] = Round16(5 * s + 13);
    live.numerics[kParamIsoIns] = Round16(5 * s + 37);
    live.numerics[kParamIsoExp] = Round16(5 * k + 29);
    live.numerics[kParamSevIns] = Round16(5 * s + 66);
    live.numerics[kParamSevExp] = Round16(5 * k + 53);
    live.numerics[kParamDesIns] = Round16(5 * k + 114);
    live.numerics[kParamDesExp] = Round16(5 * s + 32);
}

void CDemoGenerator::ChooseHeartRateSource(bool brindle)
{
    LiveData& live = g_liveData;
    const uint16_t features = live.featureBits;
    const bool spo2 = (features & kFeatureSpO2) != 0;
    const bool bp = (features & kFeatureNibp) != 0;
    uint8_t source = 0;
    if (live.hrFromSpO2Setting != 0 && spo2)
        source = 1;
    else if (brindle)
        source = 2;
    else if (live.hrFromEcg != 0)
        source = 0;
    else if (live.hrFromSpO2 != 0 && spo2)
        source = 1;
    else if (live.hrFromBp != 0 && bp)
        source = 2;
    // Written once, with its final value: the view may read it at any time.
    live.heartRateSource = source;
    const int32_t rate = source == 0 ? live.hrFromEcg : source == 1 ? live.hrFromSpO2 : live.hrFromBp;
    live.numerics[kParamHeartRate] = RateOrZero(rate);
}
