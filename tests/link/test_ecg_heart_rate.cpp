// The heart-rate step: synthetic ECG in, rate and beat marks out; the
// interval rules driven directly with detector results.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "link/HeartRate.h"
#include "sim/SyntheticSignals.h"

namespace {

struct ChainRun {
    std::vector<int32_t> rate;     // heart rate after each sample
    std::vector<int> detections;   // sample of every reported beat (sample - result)
    std::vector<int> detectedAt;   // sample at which it was reported
    std::vector<int> flagged;      // samples with the beat flag
};

ChainRun RunChain(HeartRateChain& chain, const std::vector<int16_t>& ecg, int fs, const EcgOptions& options,
             int leadsOffFrom = -1, int leadsOffTo = -1)
{
    ChainRun run;
    for (int i = 0; i < static_cast<int>(ecg.size()); ++i) {
        const bool enabled = i < leadsOffFrom || i >= leadsOffTo;
        if (fs == 500)
            HeartRateStepMoval(chain, ecg[i], enabled, options);
        else
            HeartRateStep(chain, ecg[i], enabled, options);
        run.rate.push_back(chain.heartRate);
        if (chain.qrsOutput != 0) {
            run.detections.push_back(i - chain.qrsOutput);
            run.detectedAt.push_back(i);
        }
        if (chain.beatFlag)
            run.flagged.push_back(i);
    }
    return run;
}

EcgOptions OptionsAt(int fs, uint8_t mode = 0)
{
    EcgOptions o;
    o.sampleRate = fs;
    o.detectMode = mode;
    return o;
}

int NearestPeakOffset(const std::vector<int>& peaks, int sample)
{
    int best = 1 << 30;
    for (int r : peaks)
        if (std::abs(sample - r) < std::abs(best))
            best = sample - r;
    return best;
}

} // namespace

class SyntheticEcgRate : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(SyntheticEcgRate, LearnsThenFollowsEveryBeat)
{
    const auto [fs, bpm] = GetParam();
    SyntheticEcgSpec shape;
    shape.sampleRate = fs;
    shape.beatsPerMinute = bpm;
    shape.seed = static_cast<unsigned>(fs + bpm);
    const int total = 25 * fs;
    const SyntheticEcg ecg = MakeSyntheticEcg(shape, total);
    HeartRateChain chain;
    const ChainRun run = RunChain(chain, ecg.samples, fs, OptionsAt(fs));

    // Eight seconds of learning after the initialising sample: no beat.
    const int learning = 8 * fs;
    ASSERT_FALSE(run.detectedAt.empty());
    EXPECT_GT(run.detectedAt.front(), learning);
    ASSERT_FALSE(run.flagged.empty());
    EXPECT_GT(run.flagged.front(), learning);

    // A rate within a second and three intervals after learning. From a
    // second later its typical value is within 1 bpm of the truth, and every
    // value within what one sample of detection jitter makes of an interval.
    const double rr = 60.0 * fs / bpm;
    const auto firstRate = std::find_if(run.rate.begin(), run.rate.end(), [](int32_t r) { return r != 0; });
    ASSERT_NE(firstRate, run.rate.end());
    EXPECT_LE(firstRate - run.rate.begin(), learning + fs + static_cast<int>(3 * rr));
    std::vector<int32_t> settled(firstRate + fs, run.rate.end());
    const double jitter = std::max(1.0, std::ceil(60.0 * fs / (rr - 1) - bpm));
    for (std::size_t i = 0; i < settled.size(); ++i)
        ASSERT_LE(std::abs(settled[i] - bpm), jitter) << "at " << (firstRate - run.rate.begin()) + fs + int(i);
    std::nth_element(settled.begin(), settled.begin() + settled.size() / 2, settled.end());
    EXPECT_LE(std::abs(settled[settled.size() / 2] - bpm), 1);

    // Each beat after learning is marked once, on its QRS complex (Q to S,
    // give or take 3 samples).
    const int halfComplex = static_cast<int>(std::lround(2.5 * shape.qrsWidthMs * fs / 1000.0)) + 3;
    for (int mark : run.detections)
        EXPECT_LE(std::abs(NearestPeakOffset(ecg.rPeaks, mark)), halfComplex) << "mark at " << mark;
    const int lastReportable = total - fs;
    int expected = 0;
    for (int r : ecg.rPeaks)
        if (r >= run.detections.front() - halfComplex && r < lastReportable)
            ++expected;
    const auto reported = std::count_if(run.detections.begin(), run.detections.end(),
                                        [&](int m) { return m < lastReportable; });
    EXPECT_EQ(reported, expected);
}

INSTANTIATE_TEST_SUITE_P(Rates, SyntheticEcgRate,
                         ::testing::Combine(::testing::Values(400, 500),
                                            ::testing::Values(40, 60, 120, 180, 240, 300)));

TEST(HeartRateChain, FirstSampleAfterAResetPassesUnchangedWithoutABeat)
{
    HeartRateChain chain;
    const EcgOptions options = OptionsAt(400);
    EXPECT_EQ(HeartRateStep(chain, 1234, true, options), 1234);
    EXPECT_EQ(chain.qrsOutput, 0);
    EXPECT_EQ(chain.beatFlag, 0);
    EXPECT_NE(HeartRateStep(chain, 1234, true, options), 1234);  // now filtered

    chain.RequestReset();
    EXPECT_EQ(HeartRateStepMoval(chain, -77, true, OptionsAt(500)), -77);
    EXPECT_EQ(chain.detector.fs, 500);
}

TEST(HeartRateChain, ReportsTheDetectorDelayOfANormalBeat)
{
    // W + F: 26 + 79 at 400/s, 32 + 99 at 500/s (64 ms window, 150 ms pre-blank).
    for (const auto& [fs, delay] : {std::pair{400, 105}, std::pair{500, 131}}) {
        SyntheticEcgSpec shape;
        shape.sampleRate = fs;
        shape.beatsPerMinute = 90;
        HeartRateChain chain;
        const ChainRun run = RunChain(chain, MakeSyntheticEcg(shape, 15 * fs).samples, fs, OptionsAt(fs));
        ASSERT_GT(run.detections.size(), 5u);
        for (std::size_t i = 0; i < run.detections.size(); ++i)
            EXPECT_EQ(run.detectedAt[i] - run.detections[i], delay);
    }
}

TEST(HeartRateChain, LeadsOffDropsTheRateAtOnceAndTheDetectorKeepsRunning)
{
    const int fs = 400;
    SyntheticEcgSpec shape;
    shape.beatsPerMinute = 120;
    const SyntheticEcg ecg = MakeSyntheticEcg(shape, 30 * fs);
    HeartRateChain chain;
    const int off = 15 * fs, on = 18 * fs;
    const ChainRun run = RunChain(chain, ecg.samples, fs, OptionsAt(fs), off, on);
    EXPECT_NEAR(run.rate[off - 1], 120, 1);
    for (int i = off; i < on; ++i)
        ASSERT_EQ(run.rate[i], 0) << i;
    // Back within a few beats, without eight seconds of learning.
    EXPECT_NEAR(run.rate[on + fs * 2], 120, 1);
}

TEST(HeartRateChain, FlatLineClearsTheRateAtTheCounterLimit)
{
    for (const auto& [fs, limit] : {std::pair{400, kBeatLimits400.maxInterval}, std::pair{500, kBeatLimits500.maxInterval}}) {
        SyntheticEcgSpec shape;
        shape.sampleRate = fs;
        shape.beatsPerMinute = 100;
        shape.baselineWander = 0;
        std::vector<int16_t> ecg = MakeSyntheticEcg(shape, 15 * fs).samples;
        ecg.resize(ecg.size() + 5 * fs, 0);
        HeartRateChain chain;
        const ChainRun run = RunChain(chain, ecg, fs, OptionsAt(fs));
        ASSERT_FALSE(run.flagged.empty());
        const int last = run.flagged.back();
        ASSERT_GT(last, 15 * fs - fs);  // the last beat came before the line went flat
        EXPECT_NE(run.rate[last + limit - 2], 0);
        EXPECT_EQ(run.rate[last + limit - 1], 0);
        EXPECT_EQ(run.rate.back(), 0);
    }
}

TEST(HeartRateChain, EquineModeFindsInvertedSlowComplexes)
{
    for (int fs : {400, 500}) {
        SyntheticEcgSpec shape;
        shape.sampleRate = fs;
        shape.beatsPerMinute = 32;
        shape.inverted = true;
        HeartRateChain chain;
        const ChainRun run = RunChain(chain, MakeSyntheticEcg(shape, 30 * fs).samples, fs, OptionsAt(fs, 2));
        EXPECT_NEAR(run.rate.back(), 32, 1) << fs;
    }
}

TEST(HeartRateChain, AboveFourHundredModeMeasuresWhatNormalModeCannot)
{
    // 480 bpm is 50 samples apart at 400/s: inside the normal refractory period.
    SyntheticEcgSpec shape;
    shape.beatsPerMinute = 480;
    shape.qrsWidthMs = 4;
    const std::vector<int16_t> ecg = MakeSyntheticEcg(shape, 20 * 400).samples;
    HeartRateChain fast, normal;
    EXPECT_EQ(RunChain(fast, ecg, 400, OptionsAt(400, 1)).rate.back(), 480);
    EXPECT_LT(RunChain(normal, ecg, 400, OptionsAt(400, 0)).rate.back(), 400);
}

TEST(HeartRateChain, SurvivesModeChangesAndOddRates)
{
    SyntheticEcgSpec shape;
    shape.beatsPerMinute = 90;
    const std::vector<int16_t> ecg = MakeSyntheticEcg(shape, 40 * 400).samples;
    HeartRateChain chain;
    EcgOptions options = OptionsAt(400);
    for (std::size_t i = 0; i < ecg.size(); ++i) {
        options.detectMode = static_cast<uint8_t>((i / 4000) % 4);  // 0, 1, 2 and an unknown 3
        HeartRateStep(chain, ecg[i], true, options);
    }
    EXPECT_LE(chain.detector.integralPos, chain.detector.ms64);
    for (int32_t rate : {0, 1, 65535, -400}) {
        options.sampleRate = rate;
        chain.RequestReset();
        for (int16_t s : ecg)
            HeartRateStep(chain, s, true, options);
        EXPECT_GE(chain.detector.fs, QrsDetector::kMinRate);
        EXPECT_LE(chain.detector.fs, QrsDetector::kMaxRate);
    }
}

// The interval rules, fed detector results directly.
class BeatIntervals : public ::testing::Test {
protected:
    void Beat(int32_t result = 100) { TrackBeat(chain, result, true, mode, limits, chain.rates400); }
    void Idle(int samples)
    {
        for (int i = 0; i < samples; ++i)
            TrackBeat(chain, 0, true, mode, limits, chain.rates400);
    }
    // Two beats `interval` samples apart, equal delays.
    void Interval(int interval)
    {
        Idle(interval - 1);
        Beat();
    }

    HeartRateChain chain;
    uint8_t mode = 0;
    BeatLimits limits = kBeatLimits400;
};

TEST_F(BeatIntervals, RefractoryPeriodAndTheFirstIntervalOfAFreshWindow)
{
    Beat();
    EXPECT_EQ(chain.beatFlag, 0);  // the first beat is only a reference
    Interval(limits.refractory[0] - 1);
    EXPECT_EQ(chain.beatFlag, 0);
    EXPECT_EQ(chain.heartRate, 0);
    // The first rate enters an all-zero window, whose middle stays 0.
    Interval(limits.refractory[0]);
    EXPECT_EQ(chain.beatFlag, 1);
    EXPECT_EQ(chain.heartRate, 0);
    Interval(limits.refractory[0]);
    EXPECT_EQ(chain.heartRate, limits.rateNumerator / limits.refractory[0]);
    Idle(1);
    EXPECT_EQ(chain.beatFlag, 0);
}

TEST_F(BeatIntervals, RefractoryPeriodFollowsTheDetectMode)
{
    for (uint8_t m : {uint8_t(1), uint8_t(2)}) {
        chain.Reset();
        mode = m;
        Beat();
        Interval(limits.refractory[m] - 1);
        EXPECT_EQ(chain.beatFlag, 0) << int(m);
        Interval(limits.refractory[m]);
        Interval(limits.refractory[m]);
        EXPECT_EQ(chain.beatFlag, 1) << int(m);
        EXPECT_EQ(chain.heartRate, limits.rateNumerator / limits.refractory[m]) << int(m);
    }
}

TEST_F(BeatIntervals, LongestIntervalsAtBothRates)
{
    for (const BeatLimits& l : {kBeatLimits400, kBeatLimits500}) {
        limits = l;
        const int32_t steady = l.rateNumerator / 600;

        // With equal delays the counter caps before the limit is reached: the
        // rate goes at the cap and the beat at the limit is a fresh reference.
        chain.Reset();
        Beat();
        Interval(l.maxInterval - 1);
        Interval(l.maxInterval - 1);
        EXPECT_EQ(chain.heartRate, l.rateNumerator / (l.maxInterval - 1));
        Idle(l.maxInterval - 2);
        EXPECT_NE(chain.heartRate, 0);
        Idle(1);
        EXPECT_EQ(chain.heartRate, 0);
        Beat();
        EXPECT_EQ(chain.beatFlag, 0);

        // Exactly the limit, when the second beat is reported one sample
        // closer: the slowest rate.
        Interval(600);
        Interval(600);
        ASSERT_EQ(chain.heartRate, steady);
        Idle(l.maxInterval - 2);
        Beat(99);
        EXPECT_EQ(chain.beatFlag, 1);
        EXPECT_EQ(chain.heartRate, l.rateNumerator / l.maxInterval);

        // One sample beyond it loses the rate and empties its window.
        chain.Reset();
        Beat();
        Interval(600);
        Interval(600);
        ASSERT_EQ(chain.heartRate, steady);
        Idle(l.maxInterval - 2);
        Beat(98);
        EXPECT_EQ(chain.beatFlag, 0);
        EXPECT_EQ(chain.heartRate, 0);
        EXPECT_EQ(chain.rates400.values, (std::array<int16_t, 3>{0, 0, 0}));
    }
}

TEST_F(BeatIntervals, LeadsOffClearsAtOnce)
{
    Beat();
    Interval(100);
    Interval(100);
    ASSERT_EQ(chain.heartRate, 240);
    TrackBeat(chain, 0, false, mode, limits, chain.rates400);
    EXPECT_EQ(chain.heartRate, 0);
    EXPECT_EQ(chain.previousBeatSeen, 0);
}

namespace {

// A flat trace with one narrow complex whose peak lies at `at`.
std::vector<int16_t> OneComplex(int length, int at)
{
    std::vector<int16_t> trace(length, 0);
    for (int k = -6; k <= 6; ++k)
        if (at + k >= 0 && at + k < length)
            trace[at + k] = static_cast<int16_t>(2400 - 400 * std::abs(k));
    return trace;
}

// The calls (counted from 1 after the initialisation) on which the learning
// detector took a peak: that is when its count drops back to the window.
std::vector<int> LearningPeakCalls(const std::vector<int16_t>& trace, QrsDetector& d)
{
    DetectQrs(d, 0, 400, 0);
    const int32_t window = d.Timing(0).window;
    std::vector<int> calls;
    for (int n = 1; n <= static_cast<int>(trace.size()); ++n) {
        DetectQrs(d, trace[n - 1], 0, 0);
        if (d.count == window && n != window)
            calls.push_back(n);
    }
    return calls;
}

} // namespace

TEST(QrsLearning, APeakOnTheLastSampleOfASecondCountsForTheNextSecond)
{
    const int fs = 400;
    QrsDetector probe;
    const std::vector<int> probeCalls = LearningPeakCalls(OneComplex(fs * 2, 150), probe);
    ASSERT_EQ(probeCalls.size(), 1u);
    // Move the complex so that its peak is taken on the call that closes the
    // first second, then one call earlier.
    const int shift = fs - probeCalls[0];
    for (const auto& [moveBy, second] : {std::pair{shift, 1}, std::pair{shift - 1, 0}}) {
        QrsDetector d;
        const std::vector<int> calls = LearningPeakCalls(OneComplex(fs * 9, 150 + moveBy), d);
        ASSERT_EQ(calls, std::vector<int>{fs - (second == 1 ? 0 : 1)});
        ASSERT_EQ(d.peakEntries, QrsDetector::kHistory);
        for (int s = 0; s < QrsDetector::kHistory; ++s) {
            if (s == second)
                EXPECT_GT(d.qrsPeaks[s], 0) << "second " << s;
            else
                EXPECT_EQ(d.qrsPeaks[s], 0) << "second " << s;
        }
    }
}
