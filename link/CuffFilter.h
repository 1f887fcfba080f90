#pragma once
// Cleans the cuff pressure and the oscillation trace shown during a blood
// pressure measurement: smoothing, and blanking of the oscillations while
// the cuff is moved (and shortly after).
#include <cstdint>

#include "link/Biquad.h"
#include "link/EcgMath.h"

// Movement detector with hysteresis on the smoothed pressure slope.
struct CuffMovementGate {
    static constexpr int32_t kOnLevel = 880;
    static constexpr int32_t kOffLevel = 720;
    static constexpr int32_t kBlankingSamples = 49;

    uint8_t active = 0;
    uint8_t activeBefore = 0;   // the state one sample earlier than `active`
    int32_t blanking = 0;
    void Reset() { *this = CuffMovementGate(); }
};

// One sample of slope energy; true while the oscillations are to be zeroed.
bool StepMovementGate(CuffMovementGate& gate, int32_t energy);

struct CuffChain {
    static constexpr int kRing = 16;
    static constexpr int kDelay = 14;  // both outputs lag the input by this

    int32_t index = 0;
    int16_t oscillationRing[kRing] = {};
    int16_t pressureRing[kRing] = {};
    RankWindow7 pressureWindow;
    RankWindow5 slopeWindow;
    RankWindow3 oscillationWindow;
    BiquadHistory pressureSmoothing;
    BiquadHistory slopeSmoothing;
    BiquadHistory oscillationSmoothing;
    int16_t previousSmoothed = 0;
    CuffMovementGate gate;
    void Reset() { *this = CuffChain(); }
};

// Processes `count` cuff samples in order. Outputs may be the inputs.
void CuffFilterBlock(CuffChain& chain, uint8_t count, const int16_t* pressureIn, const int16_t* oscillationIn,
                     int16_t* pressureOut, int16_t* oscillationOut);
