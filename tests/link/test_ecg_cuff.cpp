// The cuff filter: a moved cuff blanks the oscillation trace for the time
// it moves and 49 samples after.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "link/CuffFilter.h"

namespace {

struct CuffInput {
    std::vector<int16_t> pressure, oscillation;
};

CuffInput Deflation(int samples, int stepAt, int stepSize)
{
    CuffInput in;
    for (int i = 0; i < samples; ++i) {
        in.pressure.push_back(static_cast<int16_t>(1500 - i / 4 + (i >= stepAt ? stepSize : 0)));
        in.oscillation.push_back(static_cast<int16_t>(300 + std::lround(120 * std::sin(i * 0.21))));
    }
    return in;
}

} // namespace

TEST(CuffFilter, APressureStepBlanksTheOscillationsForTheMovementAndFortyNineSamples)
{
    const int samples = 600, stepAt = 250;
    const CuffInput in = Deflation(samples, stepAt, 100);

    // A fresh chain sees the first pressure as a movement too; count only
    // what follows the step.
    CuffChain moved;
    std::vector<int16_t> out(samples), pressureOut(samples);
    std::vector<int> blanked;
    int activeSamples = 0;
    for (int i = 0; i < samples; ++i) {
        CuffFilterBlock(moved, 1, &in.pressure[i], &in.oscillation[i], &pressureOut[i], &out[i]);
        if (i < stepAt)
            continue;
        activeSamples += moved.gate.active;
        if (moved.gate.active || moved.gate.blanking != 0)
            blanked.push_back(i);
    }
    ASSERT_GT(activeSamples, 2);
    EXPECT_EQ(static_cast<int>(blanked.size()), activeSamples + CuffMovementGate::kBlankingSamples);
    EXPECT_EQ(blanked.back() - blanked.front() + 1, static_cast<int>(blanked.size()));

    // The same oscillations with those samples zeroed (each output lags its
    // input by 14 samples), and no step: the output is the same, so the
    // movement did nothing else.
    CuffInput quiet = Deflation(samples, samples, 0);
    for (int i : blanked)
        quiet.oscillation[i - CuffChain::kDelay] = 0;
    CuffChain still;
    std::vector<int16_t> reference(samples), unused(samples);
    CuffFilterBlock(still, 0, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < samples; ++i) {
        CuffFilterBlock(still, 1, &quiet.pressure[i], &quiet.oscillation[i], &unused[i], &reference[i]);
        if (i >= stepAt) {
            EXPECT_EQ(still.gate.active + still.gate.blanking, 0) << i;
        }
    }
    EXPECT_EQ(out, reference);

    // Nothing of the oscillation passes through the blanked stretch.
    for (int i = blanked.front() + 10; i <= blanked.back(); ++i)
        EXPECT_LE(std::abs(out[i]), 20) << i;
}

TEST(CuffFilter, ABriefSpikeOfOneActiveSampleIsNotFollowedByBlanking)
{
    CuffMovementGate gate;
    EXPECT_TRUE(StepMovementGate(gate, CuffMovementGate::kOnLevel + 1));
    EXPECT_FALSE(StepMovementGate(gate, CuffMovementGate::kOffLevel - 1));
    // Between the two levels the state holds.
    EXPECT_FALSE(StepMovementGate(gate, 800));
    EXPECT_TRUE(StepMovementGate(gate, 881));
    EXPECT_TRUE(StepMovementGate(gate, 800));
    EXPECT_TRUE(StepMovementGate(gate, 720));
    EXPECT_TRUE(StepMovementGate(gate, 719));  // turns off: blanking starts
    EXPECT_EQ(gate.blanking, CuffMovementGate::kBlankingSamples);
    for (int i = 1; i < CuffMovementGate::kBlankingSamples; ++i)
        EXPECT_TRUE(StepMovementGate(gate, 0)) << i;
    EXPECT_FALSE(StepMovementGate(gate, 0));
}

TEST(CuffFilter, BlocksOfSixGiveTheSameTracesAsSingleSamples)
{
    const CuffInput in = Deflation(600, 300, 80);
    CuffChain single, blocks;
    std::vector<int16_t> p1(600), o1(600), p6(600), o6(600);
    for (int i = 0; i < 600; ++i)
        CuffFilterBlock(single, 1, &in.pressure[i], &in.oscillation[i], &p1[i], &o1[i]);
    for (int i = 0; i < 600; i += 6)
        CuffFilterBlock(blocks, 6, &in.pressure[i], &in.oscillation[i], &p6[i], &o6[i]);
    EXPECT_EQ(p1, p6);
    EXPECT_EQ(o1, o6);
    // The pressure trace is the smoothed pressure, 14 samples late.
    EXPECT_NEAR(p1[400], in.pressure[400 - CuffChain::kDelay], 8);
}
