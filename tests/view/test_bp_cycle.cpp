#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "link/LiveData.h"
#include "view/BpCycle.h"

namespace {

constexpr uint32_t kCycleRuns = 1u << 24;

// "bit:set timer:23000", "timer:kill", "bit:clear", "".
std::string Describe(const BpCycleActions& a)
{
    std::string out;
    if (a.measuringBit != BitChange::kNone)
        out += a.measuringBit == BitChange::kSet ? " bit:set" : " bit:clear";
    if (a.timer.kind == TimerCommand::Kind::kKill)
        out += " timer:kill";
    else if (a.timer.kind == TimerCommand::Kind::kSet)
        out += " timer:" + std::to_string(a.timer.periodMs);
    return out.empty() ? out : out.substr(1);
}

BpCycleInputs Running(int32_t interval, int32_t deviceKind)
{
    BpCycleInputs in;
    in.featureBits = kFeatureNibp;
    in.statusFlags = kCycleRuns;
    in.deviceKind = deviceKind;
    in.interval = interval;
    return in;
}

}  // namespace

TEST(BpCycle, MeasuresTwentyThreeSecondsThenPausesByInterval)
{
    struct Case {
        int32_t interval;
        int32_t deviceKind;
        const char* pause;
    };
    const Case cases[] = {
        {0, kDeviceTarvikPlus, "bit:clear timer:60000"},  {1, kDeviceTarvikPlus, "bit:clear timer:120000"},
        {2, kDeviceTarvikPlus, "bit:clear timer:180000"}, {3, kDeviceTarvikPlus, "bit:clear timer:60000"},
        {4, kDeviceSelvo, "bit:clear timer:60000"},       {5, kDeviceTarvik, "bit:clear timer:60000"},
        {6, kDeviceTarvikPlus, "bit:clear timer:60000"},  {7, kDeviceTarvikPlus, "bit:clear timer:60000"},
        {8, kDeviceTarvikPlus, "bit:clear"},              {-1, kDeviceTarvikPlus, "bit:clear"},
        {1, kDeviceBrindle, "bit:clear timer:30000"},     {9, kDeviceBrindle, "bit:clear timer:30000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interval);
        CBpCycle cycle;
        cycle.Start();
        EXPECT_EQ(Describe(cycle.OnTimer(Running(c.interval, c.deviceKind))), "bit:set timer:23000");
        EXPECT_EQ(cycle.Phase(), CBpCycle::kPause);
        EXPECT_EQ(Describe(cycle.OnTimer(Running(c.interval, c.deviceKind))), c.pause);
        EXPECT_EQ(cycle.Phase(), CBpCycle::kMeasure);
        EXPECT_EQ(Describe(cycle.OnTimer(Running(c.interval, c.deviceKind))), "bit:set timer:23000");
    }
}

TEST(BpCycle, StopsWithoutBloodPressureOrWhenStoppedAndWaitsWhileTheCycleIsOff)
{
    struct Case {
        const char* name;
        uint16_t featureBits;
        uint32_t statusFlags;
        bool stopped;
        const char* actions;
        int32_t phase;
    };
    const Case cases[] = {
        {"no blood pressure", kFeatureEcg | kFeatureCO2, kCycleRuns, false, "timer:kill", CBpCycle::kMeasure},
        {"stopped", kFeatureNibp, kCycleRuns, true, "timer:kill", CBpCycle::kStopped},
        {"stopped, cycle bit cleared", kFeatureNibp, 0, true, "timer:kill", CBpCycle::kStopped},
        {"cycle off", kFeatureNibp, 1u << 23, false, "", CBpCycle::kMeasure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CBpCycle cycle;
        if (c.stopped)
            cycle.Stop();
        BpCycleInputs in = Running(0, kDeviceTarvikPlus);
        in.featureBits = c.featureBits;
        in.statusFlags = c.statusFlags;
        EXPECT_EQ(Describe(cycle.OnTimer(in)), c.actions);
        EXPECT_EQ(cycle.Phase(), c.phase);
    }
    CBpCycle restarted;
    restarted.Stop();
    restarted.Start();
    EXPECT_EQ(Describe(restarted.OnTimer(Running(0, kDeviceTarvikPlus))), "bit:set timer:23000");
}
