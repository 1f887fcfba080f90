#pragma once
// The sample arithmetic of the sweeping strips: sweep steps, gain and the
// y value of each trace in the logical units of its strip's mapping (ECG
// 5000 high, SpO2 256, respiration and O2 6000).
#include <cstdint>

// Sweep units per frame. A Brindle always runs at 1; a setting below 1
// counts as 1 so that a sweep always moves.
int32_t EcgSweepStep(int32_t ecgSweep, int32_t deviceKind);
int32_t GasSweepStep(int32_t co2Sweep, int32_t deviceKind);

// Logical width of one ECG or SpO2 row, and of the respiration and O2 strip.
constexpr int32_t EcgRowWidth(int32_t sampleRate) { return sampleRate * 8; }
constexpr int32_t GasStripWidth(int32_t sampleRate) { return sampleRate * 32; }

// The gain of a gain index; an index outside the table counts as index 1.
double EcgGain(int32_t gainIndex);

// ecg x gain truncated, limited to the strip (-2500..2500).
int32_t EcgTraceY(int16_t ecg, double gain);

// The CO2 divisor: the Brindle's cuff pressure 3000; else by "CO2Scale" and
// the CO2 unit (% or mmHg).
int32_t Co2Divisor(int32_t deviceKind, bool co2Scale, bool co2UnitPercent);

// co2 x 6000 / divisor - 3000, limited to -2950..3000.
int32_t Co2TraceY(int16_t co2, int32_t divisor);

// Division rounding toward minus infinity; divisor > 0.
constexpr int32_t FloorDiv(int32_t value, int32_t divisor)
{
    const int32_t q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

// The O2 trace of a remote with an O2 sensor floats on a drifting baseline
// and is scaled down while the breath-to-breath swing is high.
struct O2Drift {
    static constexpr int32_t kAverage = 512;
    static constexpr int32_t kHighSwingOn = 55;   // swing above: high
    static constexpr int32_t kHighSwingOff = 45;  // swing below: normal

    int32_t baseline = 0;   // running average of o2
    int32_t swing = 0;      // running average of |inspired - expired|
    bool highSwing = false;

    void Reset() { *this = O2Drift{}; }
};

// Takes one sample into the averages and returns (o2 - baseline) x g / 10
// truncated, g 25 while the swing is high, else 50. The flag only moves
// while both numerics are reported (nonzero); without them g is 50.
int32_t O2DriftTraceY(O2Drift& drift, int16_t o2, int16_t o2Inspired, int16_t o2Expired);

// The Brindle's oscillometric signal: o2 x 6000 / 2000 truncated.
constexpr int32_t OscillometricTraceY(int16_t o2) { return int32_t{o2} * 6000 / 2000; }
