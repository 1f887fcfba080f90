#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/LiveData.h"
#include "view/LinkIntake.h"

using std::chrono::milliseconds;

TEST(LinkIntake, ConsumesAllButTheHeldFramesAcrossTheWrap)
{
    const struct {
        int32_t write, read, beatOffset, frames;
    } cases[] = {
        {100, 40, 0, 59},      // at least one frame stays
        {100, 40, 10, 50},
        {100, 90, 10, 0},      // only the held frames are new
        {100, 95, 10, 0},
        {5, 32760, 0, 12},     // write index past the wrap
        {5, 32760, 12, 1},
        {0, 32767, 1, 0},
        {40, 40, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FramesToConsume(c.write, c.read, c.beatOffset), c.frames) << c.write << " " << c.read;
}

TEST(LinkIntake, RewritesOnlyChangedOrForcedSlots)
{
    const struct {
        int set;      // slot to change first, -1 none
        int32_t value;
        bool force;
        std::vector<int> rewrites;
    } steps[] = {
        {-1, 0, false, {}},                    // the store starts at the shown zeros
        {kParamHeartRate, 72, false, {0}},
        {-1, 0, false, {}},                    // unchanged: nothing rewritten
        {kParamSpO2, 98, false, {3}},
        {kParamHeartRate, 0, false, {0}},      // a value dropping to 0 is rewritten
        {-1, 0, true, {}},                     // forced: every slot, filled below
        {-1, 0, false, {}},                    // the force lasts one pass
    };
    std::array<int32_t, kParameterCount> numerics{};
    CNumericsIntake intake;
    int n = 0;
    for (const auto& s : steps) {
        if (s.set >= 0)
            numerics[s.set] = s.value;
        if (s.force)
            intake.ForceRewrite();
        std::vector<int> expected = s.rewrites;
        for (int slot = 0; s.force && slot < kParameterCount; ++slot)
            expected.push_back(slot);
        const CNumericsIntake::Pass pass = intake.Take(numerics);
        EXPECT_EQ(pass.rewrites, expected) << "step " << n;
        EXPECT_EQ(pass.Changed(), !expected.empty()) << "step " << n;
        EXPECT_FALSE(intake.RewriteForced()) << "step " << n;
        if (s.set >= 0) {
            EXPECT_EQ(intake.LastShown(s.set), s.value) << "step " << n;
        }
        ++n;
    }
}

TEST(LinkIntake, PendingMarkLandsOnTheNextConsumedBlock)
{
    CMarkStamp mark;
    EXPECT_FALSE(mark.TakeForBlock(10));
    mark.Request();
    EXPECT_FALSE(mark.TakeForBlock(0)); // no frames: the mark waits
    EXPECT_TRUE(mark.Pending());
    EXPECT_TRUE(mark.TakeForBlock(3));
    EXPECT_FALSE(mark.TakeForBlock(3));
}

TEST(LinkIntake, PrintsOnlyMoreThanTwoSecondsAfterThePreviousRequest)
{
    const struct {
        std::vector<int> pressesMs; // after the throttle's start
        std::vector<bool> prints;
    } cases[] = {
        {{5000, 6000}, {true, false}},
        {{5000, 8000}, {true, true}},
        {{5000, 6000, 7000, 8000, 9000}, {true, false, false, false, false}},
        {{5000, 7000, 9001}, {true, false, true}},
        {{1000}, {false}}, // too close to the start
    };
    const CPrintThrottle::Clock::time_point start{};
    for (const auto& c : cases) {
        CPrintThrottle throttle(start);
        std::vector<bool> prints;
        for (int ms : c.pressesMs)
            prints.push_back(throttle.Request(start + milliseconds(ms)));
        EXPECT_EQ(prints, c.prints) << "first press at " << c.pressesMs.front();
    }
}

TEST(LinkIntake, AlarmSilenceButton)
{
    const struct {
        bool alarms, tones, snoozing, silence;
        const char* banner;
    } cases[] = {
        {false, true, false, false, nullptr},
        {true, true, false, true, " Alarm Silenced "},
        {true, true, true, false, nullptr},
        {true, false, false, true, " Alarm Tone Enabled  "},
        {true, false, true, true, " Alarm Tone Disabled  "},
    };
    for (const auto& c : cases) {
        const SilenceAction a = AlarmSilenceAction(c.alarms, c.tones, c.snoozing);
        EXPECT_EQ(a.silence, c.silence);
        EXPECT_STREQ(a.banner, c.banner);
        EXPECT_EQ(a.redraw, c.alarms);
    }
}
