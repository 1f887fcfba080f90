// The respiration rate: impedance in, breaths per minute out; the crossing
// interpolation fed exact traces.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "link/Respiration.h"
#include "sim/SyntheticSignals.h"

namespace {

constexpr int kFs = kImpedanceRate;

std::vector<int16_t> Breathing(std::vector<double> breathsPerMinute, int seconds, unsigned seed = 3)
{
    BreathingSpec shape;
    for (double rate : breathsPerMinute)
        shape.periodsSeconds.push_back(60.0 / rate);
    shape.seed = seed;
    return MakeBreathing(shape, seconds * kFs);
}

RespirationInputs WithHeartRate(int32_t bpm)
{
    RespirationInputs in;
    in.notchRate = bpm;
    in.heartRate = bpm;
    return in;
}

std::vector<int16_t> RunRates(RespirationChain& chain, const std::vector<int16_t>& impedance, const RespirationInputs& in)
{
    std::vector<int16_t> rates;
    for (int16_t s : impedance) {
        RespirationStep(chain, s, in);
        rates.push_back(chain.respRate);
    }
    return rates;
}

// Every value from `fromSecond` on.
void ExpectSteady(const std::vector<int16_t>& rates, int fromSecond, int expected)
{
    for (std::size_t i = fromSecond * kFs; i < rates.size(); ++i)
        ASSERT_EQ(rates[i], expected) << "at sample " << i;
}

} // namespace

TEST(Respiration, SteadyBreathingShowsItsRate)
{
    // 20 per minute once settled one below it with a whole-number mean.
    for (int rate : {20, 40}) {
        RespirationChain chain;
        ExpectSteady(RunRates(chain, Breathing({double(rate)}, 90), WithHeartRate(120)), 30, rate);
    }
}

TEST(Respiration, SettlesOnANewRateFromAbove)
{
    std::vector<int16_t> impedance = Breathing({30}, 40);
    const std::vector<int16_t> slower = Breathing({20}, 60, 4);
    impedance.insert(impedance.end(), slower.begin(), slower.end());
    RespirationChain chain;
    const std::vector<int16_t> rates = RunRates(chain, impedance, WithHeartRate(120));
    EXPECT_EQ(rates[40 * kFs - 1], 30);
    ExpectSteady(rates, 70, 20);
}

TEST(Respiration, RatesOutsideElevenToNinetyNineShowNothing)
{
    // 10 per minute is a 450-sample period, longer than the 400 the
    // counters measure; 120 per minute averages above 99.
    for (int rate : {10, 120}) {
        RespirationChain chain;
        ExpectSteady(RunRates(chain, Breathing({double(rate)}, 90), WithHeartRate(200)), 20, 0);
    }
}

TEST(Respiration, FlatSignalClearsTheRateAfterFourHundredSamples)
{
    std::vector<int16_t> impedance = Breathing({20}, 40);
    impedance.resize(impedance.size() + 20 * kFs, 1000);
    RespirationChain chain;
    const RespirationInputs in = WithHeartRate(120);
    int lastCrossing = -1;
    std::vector<int16_t> rates;
    for (int i = 0; i < static_cast<int>(impedance.size()); ++i) {
        RespirationStep(chain, impedance[i], in);
        if (chain.up.counter == 0 || chain.down.counter == 0)
            lastCrossing = i;
        rates.push_back(chain.respRate);
    }
    ASSERT_GT(lastCrossing, 40 * kFs - 5 * kFs);
    // The crossing before the last one (the other direction) runs out first.
    int clearedAt = -1;
    for (int i = lastCrossing; i < static_cast<int>(rates.size()); ++i)
        if (rates[i] == 0) {
            clearedAt = i;
            break;
        }
    ASSERT_NE(clearedAt, -1);
    EXPECT_EQ(rates[clearedAt - 1], 20);
    for (int i = clearedAt; i < static_cast<int>(rates.size()); ++i)
        ASSERT_EQ(rates[i], 0);
    // Cleared exactly when one counter passes 400.
    RespirationChain replay;
    for (int i = 0; i <= clearedAt; ++i)
        RespirationStep(replay, impedance[i], in);
    EXPECT_EQ(std::max(replay.up.counter, replay.down.counter), RespCrossing::kMaxCount + 1);
    RespirationChain before;
    for (int i = 0; i < clearedAt; ++i)
        RespirationStep(before, impedance[i], in);
    EXPECT_EQ(std::max(before.up.counter, before.down.counter), RespCrossing::kMaxCount);
}

TEST(Respiration, WithoutAHeartRateTheRateIsStillShown)
{
    RespirationChain chain;
    ExpectSteady(RunRates(chain, Breathing({20}, 60), WithHeartRate(0)), 30, 20);
}

TEST(Respiration, ARateWithinFiveOfTheHeartRateIsTakenForTheHeart)
{
    // The notch follows the rate of the shown source; the check uses the
    // ECG chain's rate.
    for (const auto& [heartRate, shown] : {std::pair{25, 0}, std::pair{26, 20}, std::pair{14, 20}, std::pair{15, 0}}) {
        RespirationInputs in = WithHeartRate(120);
        in.heartRate = heartRate;
        RespirationChain chain;
        ExpectSteady(RunRates(chain, Breathing({20}, 60), in), 30, shown);
    }
}

TEST(Respiration, LeadsOffClearsTheCrossingsAndTheRate)
{
    RespirationChain chain;
    RunRates(chain, Breathing({20}, 40), WithHeartRate(120));
    ASSERT_EQ(chain.respRate, 20);
    RespirationInputs off = WithHeartRate(120);
    off.active = false;
    EXPECT_EQ(RespirationStep(chain, 1300, off), 0);
    EXPECT_EQ(chain.respRate, 0);
    EXPECT_EQ(chain.up.counter, 0);
    EXPECT_EQ(chain.down.rate, 0.0);
}

// A trace that rises through +50 (and falls through -50) with slope 8 per
// sample exactly at the given times, which are multiples of 1/8, so that
// linear interpolation finds them exactly.
class CrossingTimes : public ::testing::Test {
protected:
    static int32_t Trace(int n, const std::vector<double>& times, int sign)
    {
        for (double t : times)
            if (std::abs(n - t) <= 20)
                return sign * static_cast<int32_t>(50 + 8 * (n - t));
        return sign * -200;
    }

    void Check(void (*track)(RespCrossing&, int32_t, int32_t), int sign)
    {
        // The period changes from breath to breath, and so does the
        // fraction of a sample at which each crossing lies.
        const std::vector<double> times{100.25, 212.625, 290.5, 437.875, 501.125, 640.75};
        RespCrossing crossing;
        std::size_t seen = 0;
        for (int n = 1; n < 700; ++n) {
            track(crossing, Trace(n - 1, times, sign), Trace(n, times, sign));
            if (crossing.counter == 0) {
                ASSERT_LT(seen, times.size());
                ASSERT_EQ(n, static_cast<int>(std::ceil(times[seen])));
                if (seen > 0) {
                    EXPECT_EQ(crossing.ready, 1);
                    EXPECT_NEAR(crossing.rate, 4500.0 / (times[seen] - times[seen - 1]), 1e-9) << "crossing " << seen;
                }
                ++seen;
            }
        }
        EXPECT_EQ(seen, times.size());
    }
};

TEST_F(CrossingTimes, UpwardPeriodsAreTheTimeBetweenCrossings) { Check(TrackUpCrossing, 1); }

TEST_F(CrossingTimes, DownwardPeriodsAreTheTimeBetweenCrossings) { Check(TrackDownCrossing, -1); }

TEST_F(CrossingTimes, OnlyPeriodsOfTwentyTwoToFourHundredAndOneSamplesCount)
{
    // Crossings 21, 22, 401 and 402 samples apart.
    const std::vector<double> times{10.5, 31.5, 53.5, 454.5, 856.5};
    RespCrossing crossing;
    std::vector<double> rates;
    for (int n = 1; n < 870; ++n) {
        TrackUpCrossing(crossing, Trace(n - 1, times, 1), Trace(n, times, 1));
        if (crossing.ready)
            rates.push_back(crossing.rate);
    }
    ASSERT_EQ(rates.size(), 2u);
    EXPECT_NEAR(rates[0], 4500.0 / 22, 1e-9);
    EXPECT_NEAR(rates[1], 4500.0 / 401, 1e-9);
}

TEST(RespirationNotch, RemovesTheHeartRateAndKeepsBreathing)
{
    for (int bpm : {60, 120, 200}) {
        BiquadCoefficients notch{};
        ASSERT_TRUE(ComputeRespirationNotch(bpm, notch));
        EXPECT_EQ(notch.b0, notch.b2);
        EXPECT_EQ(notch.a1, -notch.b1);
        auto peakOut = [&](double hz) {
            BiquadHistory h;
            int peak = 0;
            for (int i = 0; i < kFs * 60; ++i) {
                const int x = static_cast<int>(std::lround(1000 * std::cos(2 * std::numbers::pi * hz * i / kFs)));
                const int y = static_cast<int16_t>(BiquadStepQ16(x, notch, h));
                if (i > kFs * 40)
                    peak = std::max(peak, std::abs(y));
            }
            return peak;
        };
        EXPECT_GT(peakOut(0.0), 900) << bpm;
        EXPECT_LT(peakOut(bpm / 60.0), 100) << bpm;
    }
}

TEST(RespirationNotch, AbsurdHeartRatesLeaveTheSetUsable)
{
    RespirationChain chain;
    for (int32_t bpm : {2250, 4500, 32767, -32768, -1}) {
        BiquadCoefficients notch{0, 1, 2, 3, 4, 5};
        const BiquadCoefficients before = notch;
        if (!ComputeRespirationNotch(bpm, notch)) {
            EXPECT_EQ(notch.b0, before.b0);
            EXPECT_EQ(notch.a2, before.a2);
        }
        RespirationStep(chain, 1000, WithHeartRate(bpm));
    }
    EXPECT_EQ(chain.respRate, 0);
}
