#pragma once
// The respiration rate from the thoracic impedance (75 samples per second):
// a notch at the heart rate, baseline removal, logarithmic compression,
// smoothing, and the period between crossings of +50 and of -50.
#include <cstdint>

#include "link/Biquad.h"
#include "link/EcgMath.h"

// Crossings of one threshold, in one direction.
struct RespCrossing {
    static constexpr int32_t kMinCount = 21;   // shortest period measured, in samples - 1
    static constexpr int32_t kMaxCount = 400;  // the counter stops at kMaxCount + 1

    int32_t counter = 0;     // samples since the last crossing
    double fraction = 0.0;   // how far the last crossing lay before its sample
    double rate = 0.0;       // breaths per minute from the last period
    uint8_t ready = 0;       // 1 when rate holds a new period
    void Reset() { *this = RespCrossing(); }
};

// What the chain reads from the live record.
struct RespirationInputs {
    bool active = true;      // status bit 14 set and dental rejection off
    int32_t notchRate = 0;   // heart rate of the current source, 0 = none
    int32_t heartRate = 0;   // the ECG chain's smoothed rate
};

struct RespirationChain {
    // Until a heart rate is known the notch passes the signal unchanged.
    BiquadCoefficients notch{0, 65536, 0, 0, 0, 0};
    int32_t notchRate = 0;   // the heart rate the notch was computed for
    BiquadHistory notchHistory;
    BiquadHistory baselineHistory;
    BiquadHistory smoothingHistory;
    int32_t previous = 0;    // smoothed trace of the last sample
    RespCrossing up, down;
    double averageExact = 0.0;  // running mean of the per-period rates
    int32_t average = 0;         // that mean rounded to nearest
    int32_t previousAverage = 0;
    RankWindow5 output;
    int16_t respRate = 0;    // breaths per minute, 0 = none
    void Reset() { *this = RespirationChain(); }
};

// The notch at a heart rate, in single precision as the remote computes it.
// False (and nothing written) when the rate gives no usable set.
bool ComputeRespirationNotch(int32_t heartRate, BiquadCoefficients& out);

// One sample of the smoothed trace (the last and this one) against the
// crossing of +50 upwards, and of -50 downwards.
void TrackUpCrossing(RespCrossing& c, int32_t previous, int32_t current);
void TrackDownCrossing(RespCrossing& c, int32_t previous, int32_t current);

// One impedance sample; returns the smoothed trace, leaves the rate in
// chain.respRate.
int16_t RespirationStep(RespirationChain& chain, int16_t sample, const RespirationInputs& in);
