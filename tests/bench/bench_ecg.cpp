// Samples per second through the heart-rate and respiration steps, as the
// packet thread runs them: a synthetic minute, replayed.
#include <benchmark/benchmark.h>

#include <vector>

#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "sim/SyntheticSignals.h"

namespace {

struct Minute {
    std::vector<int16_t> ecg, impedance;
    Minute()
    {
        SyntheticEcgSpec shape;
        shape.beatsPerMinute = 110;
        ecg = MakeSyntheticEcg(shape, 60 * 400).samples;
        BreathingSpec breathing;
        breathing.periodsSeconds = {2.8, 3.1, 3.4};
        impedance = MakeBreathing(breathing, static_cast<int>(ecg.size()));
    }
};

void BM_HeartAndRespirationSteps(benchmark::State& state)
{
    static const Minute minute;
    ResetLiveStore();
    ResetEcgChainState();
    ResetRemoteDataState();
    g_liveData.statusFlags = 1u << 14;
    for (auto _ : state) {
        for (std::size_t i = 0; i < minute.ecg.size(); ++i) {
            g_beatFlag = 0;
            g_qrsOutput = 0;
            benchmark::DoNotOptimize(DeriveHeartRate(minute.ecg[i], true));
            g_liveData.hrFromEcg = static_cast<int16_t>(g_heartRate);
            benchmark::DoNotOptimize(DeriveRespirationRate(minute.impedance[i]));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(minute.ecg.size()));
    state.counters["heart_rate"] = static_cast<double>(g_heartRate.load());
}

} // namespace

BENCHMARK(BM_HeartAndRespirationSteps)->Unit(benchmark::kMillisecond);
