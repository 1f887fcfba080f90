#pragma once
// The heart-rate step: ECG filtering, beat detection, the interval between
// accepted beats and the smoothed rate. One chain per decoded stream; the
// link uses one process-wide chain, the demo generator may run its own.
#include <cstdint>

#include "link/Biquad.h"
#include "link/EcgMath.h"
#include "link/QrsDetector.h"

// What the chain reads from the view and the live record.
struct EcgOptions {
    uint8_t detectMode = 0;     // 0 normal, 1 rates above 400, 2 equine
    bool showFiltered = true;   // return the filtered sample (bandwidth flag 1)
    int32_t sampleRate = 400;   // the detector's rate, taken at its initialisation
    bool demoMode = false;      // demo data needs no baseline removal
};

// Interval rules of one sample rate.
struct BeatLimits {
    int32_t refractory[3];  // by detect mode
    int32_t maxInterval;    // longest interval that still gives a rate
    int32_t rateNumerator;  // 60 x samples per second
};

inline constexpr BeatLimits kBeatLimits400{{60, 29, 240}, 1200, 24000};
inline constexpr BeatLimits kBeatLimits500{{75, 36, 300}, 1500, 30000};

struct HeartRateChain {
    // beat state, shared by both sample rates
    uint8_t resetRequest = 1;
    uint8_t previousBeatSeen = 0;
    int32_t counter = 0;          // samples since the last accepted beat
    int32_t lastResult = 0;       // detector results of the last two beats
    int32_t previousResult = 0;
    int32_t lastFiltered = 0;
    QrsDetector detector;

    // 400 samples/s
    BiquadHistory lowPass400;
    RankWindow3 rates400;
    // 500 samples/s
    BiquadHistory baseline500;
    BiquadHistory lowPass500;
    RankWindow3 rates500;

    // results of the last sample
    int32_t heartRate = 0;   // bpm, 0 = none
    uint8_t beatFlag = 0;    // 1 on the sample a beat was accepted
    int32_t qrsOutput = 0;   // samples back to the detected beat, 0 = none

    // A fresh chain; its first sample initialises the detector.
    void Reset();
    // What a connect does: the next sample re-initialises the detector.
    void RequestReset()
    {
        resetRequest = 1;
        heartRate = 0;
    }
};

// The interval and rate bookkeeping for one detector result.
void TrackBeat(HeartRateChain& chain, int32_t result, bool enabled, uint8_t detectMode,
               const BeatLimits& limits, RankWindow3& rates);

// One ECG sample at 400/s; returns the sample to display.
int16_t HeartRateStep(HeartRateChain& chain, int16_t sample, bool enabled, const EcgOptions& options);
// One ECG sample of the Moval stream at 500/s.
int16_t HeartRateStepMoval(HeartRateChain& chain, int16_t sample, bool enabled, const EcgOptions& options);
