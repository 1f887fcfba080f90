#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/LiveData.h"
#include "view/BpStatus.h"

namespace {

constexpr uint32_t kCycle = CBpStatus::kCycleBit;
constexpr uint32_t kMeasuring = CBpStatus::kMeasuringBit;

uint32_t WithError(uint32_t flags, uint32_t code)
{
    return flags | (code << CBpStatus::kErrorShift);
}

BpInputs Running(uint32_t flags)
{
    BpInputs in;
    in.statusFlags = flags;
    in.running = true;
    in.featureBits = kFeatureNibp;
    in.deviceKind = kDeviceTarvikPlus;
    in.animationsCreated = true;
    in.verboseLogging = true;
    return in;
}

// The actions and the picture shown after them as a short text:
// "measure reset vitals tone clear".
std::string Describe(const BpActions& a, BpPicture shown)
{
    const char* const picture[] = {"off", "none", "measure", "pause"};
    std::string out = picture[int(shown)];
    out += a.resetStrips ? " reset" : "";
    out += a.requestVitals ? " vitals" : "";
    out += a.playNotifyTone ? " tone" : "";
    out += a.clearRunning ? " clear" : "";
    return out;
}

}  // namespace

TEST(BpStatus, ErrorTenInThreeOfTheLastFivePeriodsRaisesIt)
{
    struct Case {
        const char* periods;  // per period: 'T' error 10 reported in it
        const char* raised;   // per period: 'R' error 10 made pending at its end
    };
    const Case cases[] = {
        {"TTT", "..R"}, {"TFTFT", "....R"}, {"TTFT", "...R"}, {"TTFFFTT", "......."}, {"TFTFTFF", "....R.."},
    };
    for (const Case& c : cases) {
        CBpStatus bp;
        std::string raised;
        for (const char* p = c.periods; *p != '\0'; ++p) {
            // Measuring passes, two reports in a period when it has them.
            for (int pass = 0; pass < 3; ++pass) {
                const uint32_t flags = *p == 'T' && pass > 0 ? WithError(kCycle | kMeasuring, 10) : kCycle | kMeasuring;
                const BpActions a = bp.Update(Running(flags));
                EXPECT_FALSE(a.pendingError.has_value()) << c.periods;
                EXPECT_FALSE(a.postErrorTimer) << c.periods;
                EXPECT_EQ(a.logLine.empty(), !(*p == 'T' && pass == 1)) << c.periods;
            }
            const BpActions end = bp.Update(Running(kCycle));
            raised += end.pendingError == uint8_t{10} ? 'R' : '.';
        }
        EXPECT_EQ(raised, c.raised) << c.periods;
        EXPECT_EQ(bp.PeriodCount(), static_cast<int32_t>(raised.size())) << c.periods;
        EXPECT_LE(bp.PeriodHistory().size(), CBpStatus::kPeriodsKept) << c.periods;
    }

    CBpStatus bp;
    bp.Update(Running(kCycle));
    EXPECT_EQ(bp.Update(Running(WithError(kCycle | kMeasuring, 10))).logLine,
              "BP Error 10.  EcgRcv.Status 0x29800000. BP measurement period 1.");
}

TEST(BpStatus, OtherErrorsShowOnceUntilTheCodeChanges)
{
    struct Step {
        uint32_t code;
        bool running;
        int pending;   // -1 none
    };
    const std::vector<Step> steps = {
        {5, true, 5}, {5, true, -1}, {6, true, 6}, {0, true, -1}, {6, true, 6},
        {10, true, -1}, {6, true, 6}, {6, false, -1}, {6, true, 6},
    };
    CBpStatus bp;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        BpInputs in = Running(WithError(0, steps[k].code));
        in.running = steps[k].running;
        const BpActions a = bp.Update(in);
        EXPECT_EQ(a.pendingError.has_value() ? int{*a.pendingError} : -1, steps[k].pending) << "step " << k;
        EXPECT_EQ(a.postErrorTimer, steps[k].pending >= 0) << "step " << k;
    }
}

TEST(BpStatus, OnePictureFollowsTheCycleAndBpOffShowsOnlyWithoutAMeasurement)
{
    struct Step {
        uint32_t flags;
        bool running, withBp;
        const char* actions;
    };
    const Step steps[] = {
        {0, false, true, "off"},
        {0, true, true, "none"},  // started; the remote has not begun
        {kCycle | kMeasuring, true, true, "measure reset tone"},
        {kCycle | kMeasuring, true, true, "measure tone"},
        {kCycle, true, true, "pause vitals"},
        {0, false, true, "off"},  // stopped with the pause flag still set
        {0, true, false, "off clear"},
        {0, false, true, "off"},
    };
    CBpStatus bp;
    for (const Step& s : steps) {
        BpInputs in = Running(s.flags);
        in.running = s.running;
        in.featureBits = s.withBp ? kFeatureNibp : 0;
        in.deviceKind = kDeviceBrindle;
        in.saveAllBp = in.bpNotifyTone = in.alarmLoopAllows = true;
        const BpActions a = bp.Update(in);
        EXPECT_EQ(Describe(a, bp.ShownPicture(s.running && !a.clearRunning)), s.actions);
    }
}
