#pragma once
// Synthetic body signals for tests and benchmarks: an ECG with known beat
// positions, and a breathing impedance. Seeded, so runs repeat.
#include <cstdint>
#include <vector>

struct SyntheticEcgSpec {
    int sampleRate = 400;
    double beatsPerMinute = 60.0;
    double amplitude = 1000.0;       // R wave height in counts
    bool inverted = false;           // QRS pointing down (horses)
    double qrsWidthMs = 8.0;         // spread of the R wave
    double noise = 10.0;             // white noise, counts rms
    double mainsHum = 30.0;          // 50 Hz amplitude
    double baselineWander = 200.0;   // 0.15 Hz amplitude
    double firstBeatSeconds = 0.3;
    unsigned seed = 1;
};

struct SyntheticEcg {
    std::vector<int16_t> samples;
    std::vector<int> rPeaks;  // sample index of every R wave
};

SyntheticEcg MakeSyntheticEcg(const SyntheticEcgSpec& shape, int sampleCount);

// Sample `n` of an endless steady rhythm of that shape, for a stream made
// piece by piece: R waves at firstBeatSeconds + k intervals for every k,
// hum and wander as above, no noise.
int16_t SteadyEcgSample(const SyntheticEcgSpec& shape, long n);

// Thoracic impedance at 75 samples per second: a sine around an offset,
// whose period may change from breath to breath.
struct BreathingSpec {
    std::vector<double> periodsSeconds;  // cycled through, one per breath
    double amplitude = 300.0;
    double offset = 1000.0;
    double noise = 2.0;
    unsigned seed = 1;
};

constexpr int kImpedanceRate = 75;

std::vector<int16_t> MakeBreathing(const BreathingSpec& shape, int sampleCount);
