#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "view/AlarmEvaluator.h"
#include "view/AlarmTones.h"
#include "view/SoundColumns.h"
#include "view/SoundManager.h"

namespace {

// The window's side on a fake clock: carries out the returned steps; the
// loop sounds on a player that records.
struct FakeView {
    FakeView() { EXPECT_TRUE(sounds.LoadSounds()); }
    // The player sounds the alarm loop.
    bool Looping() const
    {
        return player.IsPlaying() && player.PlayingWave() == sounds.Wave(sounds.Row(), kSoundAlarm);
    }

    RemoteConfiguration config;
    CAlarmEvaluator evaluator;
    CRecordingSoundPlayer player;
    CSoundManager sounds{player};
    CAlarmTones tones{sounds};
    AlarmInputs in;
    int64_t now = 0;
    std::optional<int64_t> snoozeDeadline;
    int64_t snoozePeriod = 0;
    bool statusShown = false;
    int indicator = 0;

    void Apply(const ToneActions& actions)
    {
        for (const ToneAction& action : actions.steps) {
            switch (action.step) {
            case ToneStep::StartSnoozeTimer:
                snoozePeriod = action.periodMs;
                snoozeDeadline = now + action.periodMs;
                break;
            case ToneStep::KillSnoozeTimer: snoozeDeadline.reset(); break;
            case ToneStep::ShowSnoozeStatus: statusShown = true; break;
            case ToneStep::HideSnoozeStatus: statusShown = false; break;
            case ToneStep::EvaluateAlarms: Evaluate(); break;
            case ToneStep::ResetAlarmBoxes: evaluator.ResetAlarmDisplay(in, config, 0); break;
            case ToneStep::Relayout: break;
            }
        }
        indicator = actions.toneIndicator;
    }
    void Evaluate() { Apply(tones.EnableAlarmTone(evaluator.EvaluateAlarms(in, config, 0).toneOn, true, config)); }
    void Advance(int64_t ms)
    {
        now += ms;
        if (snoozeDeadline && now >= *snoozeDeadline)
            Apply(tones.OnSnoozeTimer(config));
    }
};

enum class Op { Evaluate, Silence, Advance, ToggleAlarms };

struct Step {
    Op op;
    int64_t ms;
    bool looping, status, timer;
    int32_t tonesSetting;
};

}  // namespace

TEST(AlarmTones, SnoozeSilencesForItsPeriodOnly)
{
    constexpr int64_t kDay = 86'400'000;
    const struct {
        const char* name;
        int32_t snooze;
        bool apnea;  // the alarm is an apnea, else a heart rate above its limit
        int64_t period;
        std::vector<Step> steps;
    } cases[] = {
        {"snooze 60", 60, false, 60000,
         {{Op::Evaluate, 0, true, false, false, 1},
          {Op::Silence, 0, false, true, true, 0},
          {Op::Advance, 59999, false, true, true, 0},
          {Op::Advance, 1, true, false, false, 1}}},
        {"apnea through a snooze", 60, true, 60000,
         {{Op::Evaluate, 0, true, false, false, 1},
          {Op::Silence, 0, false, true, true, 0},
          {Op::Evaluate, 0, false, true, true, 0},
          {Op::Advance, 60000, true, false, false, 1}}},
        {"pressed during the snooze", 60, false, 60000,
         {{Op::Evaluate, 0, true, false, false, 1},
          {Op::Silence, 0, false, true, true, 0},
          {Op::Advance, 10000, false, true, true, 0},
          {Op::Silence, 0, false, false, false, 0},
          {Op::Advance, 100000, false, false, false, 0}}},
        {"snooze 0", 0, false, 0,
         {{Op::Evaluate, 0, true, false, false, 1},
          {Op::Silence, 0, false, false, false, 0},
          {Op::Advance, 3600000, false, false, false, 0},
          {Op::Silence, 0, true, false, false, 1}}},  // at once, the value unchanged
        {"negative snooze as 0", -5, true, 0,
         {{Op::Evaluate, 0, true, false, false, 1},
          {Op::Silence, 0, false, false, false, 0},
          {Op::Silence, 0, true, false, false, 1}}},
        {"a snooze beyond a day", INT32_MAX, false, kDay,
         {{Op::Evaluate, 0, true, false, false, 1},
          {Op::Silence, 0, false, true, true, 0},
          {Op::Advance, kDay - 1, false, true, true, 0},
          {Op::Advance, 1, true, false, false, 1}}},
        {"alarms off end the snooze", 60, false, 60000,
         {{Op::Evaluate, 0, true, false, false, 1},
          {Op::Silence, 0, false, true, true, 0},
          {Op::ToggleAlarms, 0, false, false, false, 0},
          {Op::Advance, 60000, false, false, false, 0}}},
    };
    for (const auto& c : cases) {
        FakeView view;
        view.config.alarms = 1;
        view.config.alarmTones = 1;
        view.config.alarmSnooze = c.snooze;
        view.config.alarmLimits[0][kParamHeartRate] = AlarmLimit{200, 50, 1, 1};
        view.config.alarmLimits[0][kParamApnea].highEnable = 1;
        view.in.featureBits = kFeatureEcg | kFeatureCO2;
        view.in.limitBoxes.set();
        view.in.numerics[kParamHeartRate] = c.apnea ? 100 : 250;
        view.in.gasStatusSource = 1;
        view.in.gasFlags0 = c.apnea ? 0x02 : 0x00;
        int n = 0;
        for (const Step& s : c.steps) {
            switch (s.op) {
            case Op::Evaluate: view.Evaluate(); break;
            case Op::Silence: view.Apply(view.tones.OnSilenceAlarm(view.config)); break;
            case Op::Advance: view.Advance(s.ms); break;
            case Op::ToggleAlarms: view.Apply(view.tones.OnToggleAlarms(view.config, true, true)); break;
            }
            const std::string where = std::string(c.name) + ", step " + std::to_string(n++);
            EXPECT_EQ(view.Looping(), s.looping) << where;
            EXPECT_EQ(view.tones.Playing(), s.looping) << where;
            EXPECT_EQ(view.statusShown, s.status) << where;
            EXPECT_EQ(view.snoozeDeadline.has_value(), s.timer) << where;
            EXPECT_EQ(view.tones.Snoozing(), s.timer) << where;
            EXPECT_EQ(view.config.alarmTones, s.tonesSetting) << where;
            // Beat tones keep quiet only under the sounding loop.
            EXPECT_EQ(view.tones.AllowsOneShotTones(view.config), !s.looping) << where;
        }
        EXPECT_EQ(view.snoozePeriod, c.period) << c.name;
    }
}

TEST(AlarmTones, LoopPlaysOnlyWhileConnectedWithBothSwitchesOn)
{
    const struct {
        bool connected;
        int32_t alarms, tones;
        bool playing;
    } cases[] = {{true, 1, 1, true}, {false, 1, 1, false}, {true, 0, 1, false}, {true, 1, 0, false}};
    for (const auto& c : cases) {
        RemoteConfiguration config;
        config.alarms = c.alarms;
        config.alarmTones = c.tones;
        CRecordingSoundPlayer player;
        CSoundManager sounds(player);
        CAlarmTones tones(sounds);
        tones.EnableAlarmTone(true, c.connected, config);
        EXPECT_EQ(tones.Playing(), c.playing) << c.connected << c.alarms << c.tones;
        // A lost connection stops it.
        tones.EnableAlarmTone(true, false, config);
        EXPECT_FALSE(tones.Playing());
    }
}
