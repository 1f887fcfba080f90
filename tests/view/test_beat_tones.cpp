#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/LiveData.h"
#include "view/BeatTones.h"
#include "view/SoundColumns.h"

namespace {

using K = TimerCommand::Kind;

std::vector<int> Played(const BeatToneActions& a)
{
    return {a.play.begin(), a.play.begin() + a.playCount};
}

// "pulse:kill ecg:set75 play:0 icon:show latch"
std::string Describe(const BeatToneActions& a)
{
    std::string out;
    auto timer = [&](const char* name, const TimerCommand& t) {
        if (t.kind != K::kNone)
            out += std::string(" ") + name + (t.kind == K::kKill ? "kill" : "set" + std::to_string(t.periodMs));
    };
    timer("pulse:", a.pulseTimer);
    timer("ecg:", a.ecgTimer);
    for (const int column : Played(a))
        out += " play:" + std::to_string(column);
    out += a.beatIcon == BeatIcon::kShow ? " icon:show" : a.beatIcon == BeatIcon::kHide ? " icon:hide" : "";
    out += a.clearDisplayLatch ? " latch" : "";
    return out.empty() ? out : out.substr(1);
}

}  // namespace

TEST(BeatTones, FirstPassArmsTheSourcesTimerAndSoundsByTheRules)
{
    struct Case {
        uint8_t source;
        int16_t ecg, spo2;
        int32_t qrs, above400, respTone;
        bool allows, breath;
        const char* actions;
    };
    const Case cases[] = {
        {0, 799, 0, 1, 0, 0, true, false, "pulse:kill ecg:set75 play:0 icon:show"},
        {0, 800, 0, 1, 0, 0, true, false, "pulse:kill"},
        {0, 1, 0, 1, 0, 0, true, false, "pulse:kill ecg:set60000 play:0 icon:show"},
        {0, -5, 0, 1, 0, 0, true, false, "pulse:kill"},
        {0, 500, 0, 1, 1, 0, true, false, "pulse:kill ecg:set120 play:1 icon:show"},
        {0, 60, 0, 0, 0, 1, true, false, "pulse:kill ecg:set1000 icon:show"},
        {0, 60, 0, 1, 0, 1, false, true, "pulse:kill ecg:set1000 icon:show latch"},
        {0, 60, 0, 1, 0, 1, true, true, "pulse:kill ecg:set1000 play:5 play:0 icon:show latch"},
        {1, 0, 120, 1, 0, 0, true, false, "pulse:set500 ecg:kill play:3 icon:show"},
        {1, 90, 0, 1, 0, 0, true, true, "ecg:kill latch"},
        {2, 60, 60, 1, 0, 0, true, false, "pulse:kill ecg:kill"},
    };
    for (const Case& c : cases) {
        CBeatTones tones;
        BeatToneInputs in;
        in.heartRateSource = c.source;
        in.hrFromEcg = c.ecg;
        in.hrFromSpO2 = c.spo2;
        in.qrsTone = c.qrs;
        in.heartRatesAbove400 = c.above400;
        in.respirationTone = c.respTone;
        in.alarmLoopAllows = c.allows;
        in.featureBits = kFeatureCO2;
        in.displayLatch = c.breath;
        EXPECT_EQ(Describe(tones.Step(in)), c.actions);
    }
}

TEST(BeatTones, TimerExpiryMarksTheNextBeatDue)
{
    CBeatTones tones;
    BeatToneInputs in;
    in.hrFromEcg = 100;
    in.qrsTone = 1;
    EXPECT_EQ(tones.OnEcgTimer(100), std::nullopt);   // not armed yet
    EXPECT_EQ(Played(tones.Step(in)), std::vector<int>{kSoundBeat});
    EXPECT_EQ(Played(tones.Step(in)), std::vector<int>{});
    EXPECT_EQ(tones.OnEcgTimer(120), 500u);
    const BeatToneActions due = tones.Step(in);
    EXPECT_EQ(due.ecgTimer.kind, K::kNone);
    EXPECT_EQ(Played(due), std::vector<int>{kSoundBeat});
    EXPECT_EQ(tones.OnEcgTimer(800), std::nullopt);
    EXPECT_EQ(Played(tones.Step(in)), std::vector<int>{});

    in.heartRateSource = 1;
    in.hrFromSpO2 = 60;
    tones.Step(in);
    EXPECT_FALSE(tones.EcgTimerArmed());
    EXPECT_EQ(tones.OnEcgTimer(100), std::nullopt);
    EXPECT_EQ(tones.OnPulseTimer(0), std::nullopt);
    EXPECT_FALSE(tones.PulseToneDue());
    EXPECT_EQ(tones.OnPulseTimer(30), 2000u);
    EXPECT_EQ(Played(tones.Step(in)), std::vector<int>{kSoundPulseBeat});
}
