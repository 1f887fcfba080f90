#include "link/CuffFilter.h"

#include <cstdlib>

bool StepMovementGate(CuffMovementGate& g, int32_t energy)
{
    const uint8_t wasActive = g.active;
    if (!g.active && energy > CuffMovementGate::kOnLevel)
        g.active = 1;
    else if (g.active && energy < CuffMovementGate::kOffLevel)
        g.active = 0;

    if (wasActive && !g.active && g.activeBefore)
        g.blanking = CuffMovementGate::kBlankingSamples;
    else if (g.blanking != 0)
        --g.blanking;
    g.activeBefore = wasActive;
    return g.active || g.blanking != 0;
}

void CuffFilterBlock(CuffChain& c, uint8_t count, const int16_t* pressureIn, const int16_t* oscillationIn,
                     int16_t* pressureOut, int16_t* oscillationOut)
{
    if (count == 0 || !pressureIn || !oscillationIn || !pressureOut || !oscillationOut)
        return;
    for (int i = 0; i < count; ++i) {
        const int16_t pressure = pressureIn[i];
        c.index = (c.index + 1) % CuffChain::kRing;
        c.oscillationRing[c.index] = oscillationIn[i];

        const int16_t m = Median7(c.pressureWindow, pressure);
        const int16_t s = static_cast<int16_t>(BiquadStepQ16(m, kCuffSmoothing, c.pressureSmoothing));
        c.pressureRing[c.index] = s;

        const int16_t slope = static_cast<int16_t>(std::abs(c.previousSmoothed - s) * 200);
        c.previousSmoothed = s;
        const int16_t energy = static_cast<int16_t>(
            BiquadStepQ16(Median5(c.slopeWindow, slope), kCuffSmoothing, c.slopeSmoothing));

        const bool blanked = StepMovementGate(c.gate, energy);
        const int delayed = (c.index - CuffChain::kDelay + CuffChain::kRing) % CuffChain::kRing;
        const int16_t x = blanked ? int16_t(0) : c.oscillationRing[delayed];
        oscillationOut[i] = static_cast<int16_t>(
            BiquadStepQ16(Median3(c.oscillationWindow, x), kCuffSmoothing, c.oscillationSmoothing));
        pressureOut[i] = c.pressureRing[delayed];
    }
}
