#include "link/EcgChain.h"

#include <atomic>

#include "link/CuffFilter.h"
#include "link/HeartRate.h"
#include "link/LiveData.h"
#include "link/Respiration.h"

Relaxed<int32_t> g_heartRate;
Relaxed<uint8_t> g_beatFlag;
Relaxed<int32_t> g_qrsOutput;
Relaxed<int16_t> g_respRate;
Relaxed<uint8_t> g_hrDetectMode;
Relaxed<uint8_t> g_ecgBandwidthFlag;

namespace {

// The chains of the one decoded remote. Only the decoding thread touches
// them; a reset from another thread is handed over through the flag.
HeartRateChain s_heart;
RespirationChain s_resp;
CuffChain s_cuff;
std::atomic<bool> s_resetPending{false};
std::atomic<bool> s_demoMode{false};

constexpr uint32_t kStatusLeadsOn = 1u << 14;

EcgOptions CurrentOptions()
{
    EcgOptions options;
    options.detectMode = g_hrDetectMode;
    options.showFiltered = g_ecgBandwidthFlag == 1;
    options.sampleRate = g_liveData.sampleRate;
    options.demoMode = s_demoMode.load(std::memory_order_relaxed);
    return options;
}

template <class Step>
int16_t RunHeartRate(Step step, int16_t sample, bool enabled)
{
    if (s_resetPending.load(std::memory_order_relaxed) && s_resetPending.exchange(false, std::memory_order_acq_rel))
        s_heart.RequestReset();
    const int16_t out = step(s_heart, sample, enabled, CurrentOptions());
    g_qrsOutput = s_heart.qrsOutput;
    g_beatFlag = s_heart.beatFlag;
    g_heartRate = s_heart.heartRate;
    return out;
}

int32_t HeartRateOfSource(const LiveData& live)
{
    switch (live.heartRateSource) {
    case 0: return live.hrFromEcg;
    case 1: return live.hrFromSpO2;
    case 2: return live.hrFromBp;
    default: return 0;
    }
}

} // namespace

void ResetRemoteDataState()
{
    LiveData& d = g_liveData;
    d.dentalScalarRejection = 0;
    d.movalStreamState = 0;
    d.ringWrapped = 0;
    d.displayLatch = 0;
    d.deviceKind = kDeviceUnknown;
    d.movalSequence = 0;
    d.ringWriteIndex.store(0, std::memory_order_release);
    d.ringReadIndex.store(0, std::memory_order_release);
    d.startupCountdown = 4;
    d.lastBeatOffset = 0;
    d.featureBits = kFeatureEcg | kFeatureTemp;
    d.firstBuffer = 1;
    d.sampleRate = 400;
    for (int i = 0; i < 4; ++i)
        g_gasStatus[i] = 0;
    g_linkMode.store(kLinkDecode);

    s_resetPending.store(true, std::memory_order_release);
    g_ecgBandwidthFlag = 1;
    g_heartRate = 0;
}

void SetEcgDemoMode(bool demo)
{
    s_demoMode.store(demo, std::memory_order_relaxed);
}

bool IsEcgDemoMode()
{
    return s_demoMode.load(std::memory_order_relaxed);
}

void ResetEcgChainState()
{
    s_heart.Reset();
    s_resp.Reset();
    s_cuff.Reset();
    s_resetPending.store(false);
    s_demoMode.store(false);
    g_heartRate = 0;
    g_beatFlag = 0;
    g_qrsOutput = 0;
    g_respRate = 0;
    g_hrDetectMode = 0;
    g_ecgBandwidthFlag = 0;
}

int16_t DeriveHeartRate(int16_t sample, bool enabled)
{
    return RunHeartRate(HeartRateStep, sample, enabled);
}

int16_t DeriveHeartRateMoval(int16_t sample, bool enabled)
{
    return RunHeartRate(HeartRateStepMoval, sample, enabled);
}

int16_t DeriveRespirationRate(int16_t sample)
{
    RespirationInputs in;
    in.active = (g_liveData.statusFlags & kStatusLeadsOn) != 0 && g_liveData.dentalScalarRejection != 1;
    in.notchRate = HeartRateOfSource(g_liveData);
    in.heartRate = g_heartRate;
    const int16_t trace = RespirationStep(s_resp, sample, in);
    g_respRate = s_resp.respRate;
    return trace;
}

void FilterSampleBlock(uint8_t count, const int16_t* pressureIn, const int16_t* oscillationIn,
                       int16_t* pressureOut, int16_t* oscillationOut)
{
    CuffFilterBlock(s_cuff, count, pressureIn, oscillationIn, pressureOut, oscillationOut);
}
