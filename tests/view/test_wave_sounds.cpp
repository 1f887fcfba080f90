// Our generated sounds, read back as a player would: a plain 16-bit mono WAVE
// file of the stated length, faded at both ends, at the stated pitch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "view/WaveSounds.h"

namespace {

constexpr int kRate = 22050;

uint32_t U32(const std::vector<uint8_t>& b, std::size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

uint16_t U16(const std::vector<uint8_t>& b, std::size_t at)
{
    return uint16_t(b[at] | b[at + 1] << 8);
}

std::string Tag(const std::vector<uint8_t>& b, std::size_t at)
{
    return std::string(reinterpret_cast<const char*>(b.data() + at), 4);
}

std::vector<double> Samples(const WaveImage& wave)
{
    std::vector<double> out;
    for (std::size_t at = 44; at + 1 < wave->size(); at += 2)
        out.push_back(int16_t(U16(*wave, at)) / 32768.0);
    return out;
}

double Power(const std::vector<double>& s, std::size_t from, std::size_t to, double hz)
{
    const double k = 2.0 * std::cos(2.0 * std::numbers::pi * hz / kRate);
    double s1 = 0.0, s2 = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        const double s0 = s[i] + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}

// The strongest frequency between 200 and 3000 Hz in a stretch of a wave.
double DominantHz(const std::vector<double>& s, double fromMs, double toMs)
{
    const auto from = std::size_t(fromMs * kRate / 1000);
    const auto to = std::min(s.size(), std::size_t(toMs * kRate / 1000));
    double best = 0.0, bestHz = 0.0;
    for (double hz = 200; hz <= 3000; hz += 2) {
        const double p = Power(s, from, to, hz);
        if (p > best) {
            best = p;
            bestHz = hz;
        }
    }
    return bestHz;
}

} // namespace

TEST(WaveSounds, EachIsAFadedPcmWaveOfItsLength)
{
    struct Case {
        int id;
        double ms;
    };
    const Case cases[] = {
        {230, 80}, {211, 80}, {212, 80}, {213, 80},           // beat
        {140, 25}, {218, 25}, {219, 25}, {220, 25},           // beat above 400
        {150, 320},                                           // blood-pressure notice
        {440, 100}, {224, 100}, {225, 100}, {226, 100},       // pulse beat
        {340, 1600}, {193, 1600}, {194, 1600}, {195, 1600},   // alarm
        {180, 450}, {199, 450}, {200, 450}, {201, 450},       // breath
        {360, 680},                                           // lost connection
        {350, 680},                                           // connected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const WaveImage wave = MakeWave(c.id);
        ASSERT_TRUE(wave);
        const std::vector<uint8_t>& b = *wave;
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(Tag(b, 0), "RIFF");
        EXPECT_EQ(U32(b, 4), b.size() - 8);
        EXPECT_EQ(Tag(b, 8), "WAVE");
        EXPECT_EQ(Tag(b, 12), "fmt ");
        EXPECT_EQ(U32(b, 16), 16u);
        EXPECT_EQ(U16(b, 20), 1) << "PCM";
        EXPECT_EQ(U16(b, 22), 1) << "mono";
        EXPECT_EQ(U32(b, 24), uint32_t(kRate));
        EXPECT_EQ(U32(b, 28), uint32_t(kRate * 2));
        EXPECT_EQ(U16(b, 32), 2);
        EXPECT_EQ(U16(b, 34), 16);
        EXPECT_EQ(Tag(b, 36), "data");
        EXPECT_EQ(U32(b, 40), b.size() - 44);

        const std::vector<double> s = Samples(wave);
        EXPECT_EQ(s.size(), std::size_t(std::lround(c.ms * kRate / 1000)));
        double peak = 0.0;
        for (const double v : s)
            peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 0.2) << "audible";
        EXPECT_LT(peak, 0.95) << "not clipped";
        // Within half a millisecond of either end a tone without fades would
        // be near its peak; faded, it has barely begun.
        for (std::size_t i = 0; i < kRate / 2000; ++i) {
            EXPECT_LT(std::abs(s[i]), 0.2 * peak) << "fades in";
            EXPECT_LT(std::abs(s[s.size() - 1 - i]), 0.2 * peak) << "fades out";
        }
        EXPECT_EQ(*MakeWave(c.id), b) << "the same sound every time";
    }
    for (const int unknown : {0, -1, 141, 359, 361, 100000})
        EXPECT_FALSE(MakeWave(unknown)) << unknown;
}

TEST(WaveSounds, EachToneIsAtItsPitch)
{
    struct Case {
        int id;
        double fromMs, toMs; // a stretch inside the tone's fades
        double hz;
    };
    const Case cases[] = {
        {230, 10, 70, 880.0},   {211, 10, 70, 987.8},    {213, 10, 70, 1244.5}, // beat, rising by row
        {140, 3, 22, 880.0},    {220, 3, 22, 1244.5},                           // click
        {440, 10, 60, 660.0},   {226, 10, 60, 933.4},                           // pulse beat
        {150, 10, 110, 659.3},  {150, 170, 300, 880.0},                         // notice, rising
        {340, 15, 105, 784.0},  {193, 215, 305, 880.0},  {194, 815, 905, 740.0}, // alarm bursts
        {195, 1015, 1105, 830.6},
        {360, 10, 210, 987.8},  {360, 290, 600, 659.3},                         // lost connection, falling
        {350, 10, 210, 659.3},  {350, 290, 600, 987.8},                         // connected, rising
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " at " + std::to_string(int(c.fromMs)) + " ms");
        EXPECT_NEAR(DominantHz(Samples(MakeWave(c.id)), c.fromMs, c.toMs), c.hz, c.hz * 0.02);
    }
}

TEST(WaveSounds, TheAlarmIsThreeBurstsAndTwoThenSilenceToLoopOn)
{
    for (const int id : {340, 193, 194, 195}) {
        SCOPED_TRACE(id);
        const std::vector<double> s = Samples(MakeWave(id));
        // Onsets of sound, in 10-ms blocks.
        std::vector<int> onsets;
        const std::size_t block = kRate / 100;
        bool loud = false;
        for (std::size_t at = 0; at + block <= s.size(); at += block) {
            double energy = 0.0;
            for (std::size_t i = at; i < at + block; ++i)
                energy += s[i] * s[i];
            const bool now = std::sqrt(energy / block) > 0.05;
            if (now && !loud)
                onsets.push_back(int(at * 1000 / kRate));
            loud = now;
        }
        const std::vector<int> bursts{0, 200, 400, 800, 1000};
        ASSERT_EQ(onsets.size(), bursts.size());
        for (std::size_t i = 0; i < bursts.size(); ++i)
            EXPECT_NEAR(onsets[i], bursts[i], 10);
        EXPECT_FALSE(loud) << "ends in silence";
    }
}
