#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "view/AlarmEvaluator.h"
#include "view/AlarmTones.h"
#include "view/SoundManager.h"

namespace {

// Every species its own limits and cuff, so that the wrong species shows.
RemoteConfiguration Config()
{
    RemoteConfiguration config;
    config.alarms = 1;
    config.alarmTones = 1;
    config.units[0] = 1;  // temperature in the remote's unit
    for (int s = 0; s < kSpeciesCount; ++s) {
        config.cuffSize[s] = s + 2;
        for (AlarmLimit& limit : config.alarmLimits[s]) {
            limit.high = 200 + 10 * s;
            limit.low = 50 + s;
            limit.highEnable = 1;
            limit.lowEnable = 1;
        }
    }
    return config;
}

AlarmInputs Inputs()
{
    AlarmInputs in;
    in.featureBits = kFeatureEcg | kFeatureCO2;
    in.deviceKind = kDeviceTarvikPlus;
    in.limitBoxes.set();
    for (int32_t& value : in.numerics)
        value = 100;  // within every limit
    return in;
}

}  // namespace

TEST(AlarmEvaluator, EachLimitAlarmsPastItsEdgeOnlyWhereWatched)
{
    const struct {
        int32_t species;
        int slot;
        bool high;
        int32_t offset;  // from the limit
        bool box, enable, alarmsOn;
        bool alarmed;
        uint8_t unit;
    } cases[] = {
        {0, kParamHeartRate, true, 0, true, true, true, false, 0},
        {0, kParamHeartRate, true, 1, true, true, true, true, 0},
        {1, kParamHeartRate, false, 0, true, true, true, false, 0},
        {1, kParamHeartRate, false, -1, true, true, true, true, 0},
        {2, kParamTemperature, true, 1, true, true, true, true, 1},
        {3, kParamSpO2, false, -1, true, true, true, true, 0},
        {7, kParamCO2Exp, true, 1, true, true, true, true, 0},  // outside 0..3: "Other"
        {-1, kParamDesExp, false, -1, true, true, true, true, 0},
        {0, kParamMean, true, 1, false, true, true, false, 0},  // no box, no alarm
        {0, kParamMean, true, 1, true, false, true, false, 0},
        {0, kParamMean, true, 1, true, true, false, false, 0},
    };
    for (const auto& c : cases) {
        RemoteConfiguration config = Config();
        const int species = c.species >= 0 && c.species < kSpeciesCount ? c.species : 3;
        AlarmLimit& limit = config.alarmLimits[species][c.slot];
        (c.high ? limit.highEnable : limit.lowEnable) = c.enable ? 1 : 0;
        config.alarms = c.alarmsOn ? 1 : 0;
        const int32_t edge = c.high ? limit.high : limit.low;
        const int box = 2 * c.slot + (c.high ? 0 : 1);
        AlarmInputs in = Inputs();
        in.limitBoxes.set(box, c.box);
        CAlarmEvaluator evaluator;
        CRecordingSoundPlayer player;
        CSoundManager sounds(player);
        ASSERT_TRUE(sounds.LoadSounds());
        CAlarmTones tones(sounds);
        const std::string name = "species " + std::to_string(c.species) + " slot " + std::to_string(c.slot);

        in.numerics[c.slot] = edge + c.offset;
        const AlarmPass crossed = evaluator.EvaluateAlarms(in, config, c.species);
        EXPECT_EQ(crossed.alarmed.test(box), c.alarmed) << name;
        EXPECT_EQ(crossed.alarmed.count(), c.alarmed ? 1u : 0u) << name;
        EXPECT_EQ(crossed.colors[box] == (LimitBoxColors{0x000000, 0x0000FF}), c.alarmed) << name;
        EXPECT_TRUE(tones.EnableAlarmTone(crossed.toneOn, true, config).steps.empty()) << name;
        EXPECT_EQ(tones.Playing(), c.alarmed) << name;
        if (!c.alarmed) {
            EXPECT_FALSE(crossed.event) << name;
            continue;
        }
        ASSERT_EQ(player.Calls().size(), 1u) << name;
        EXPECT_EQ(player.Calls()[0].call, CRecordingSoundPlayer::Call::PlayLooped) << name;
        ASSERT_TRUE(crossed.event) << name;
        EXPECT_EQ(crossed.event->code, (c.high ? 0x80 : 0x40) | c.slot) << name;
        EXPECT_EQ(crossed.event->limit, edge) << name;
        EXPECT_EQ(crossed.event->unitSelector, c.unit) << name;
        EXPECT_EQ(crossed.event->cuffSize, species + 2) << name;

        in.numerics[c.slot] = edge;
        const AlarmPass back = evaluator.EvaluateAlarms(in, config, c.species);
        EXPECT_FALSE(back.anyAlarmed) << name;
        EXPECT_EQ(back.colors[box].back, 0x000000u) << name;
        (void)tones.EnableAlarmTone(back.toneOn, true, config);
        EXPECT_FALSE(player.IsPlaying()) << name;
        EXPECT_EQ(player.Calls().back().call, CRecordingSoundPlayer::Call::Stop) << name;
    }
}

TEST(AlarmEvaluator, StoresOneEventPerPassAndOncePerCrossing)
{
    const struct {
        int32_t hr, spo2;  // SpO2 limits 50..200, heart rate alike
        int code;          // 0: no event
        bool alarmed;
    } passes[] = {
        {100, 100, 0, false},
        {201, 40, 0x80 | kParamHeartRate, true},  // two slots: the lower wins
        {202, 40, 0, true},                        // still alarmed: stored once
        {100, 40, 0, true},
        {201, 40, 0x80 | kParamHeartRate, true},  // crossed again: stored anew
        {201, 100, 0, true},
        {201, 40, 0x40 | kParamSpO2, true},
    };
    const RemoteConfiguration config = Config();
    CAlarmEvaluator evaluator;
    AlarmInputs in = Inputs();
    int n = 0;
    for (const auto& p : passes) {
        in.numerics[kParamHeartRate] = p.hr;
        in.numerics[kParamSpO2] = p.spo2;
        const AlarmPass pass = evaluator.EvaluateAlarms(in, config, 0);
        EXPECT_EQ(pass.event ? pass.event->code : 0, p.code) << "pass " << n;
        EXPECT_EQ(pass.anyAlarmed, p.alarmed) << "pass " << n;
        EXPECT_EQ(pass.toneOn, p.alarmed) << "pass " << n;
        ++n;
    }
}

TEST(AlarmEvaluator, NoValueNeverAlarms)
{
    RemoteConfiguration config = Config();
    config.alarmLimits[0][kParamSystolic].high = -10;  // even below a negative high
    for (const int32_t value : {0, -1, -5, -32768}) {
        CAlarmEvaluator evaluator;
        AlarmInputs in = Inputs();
        in.numerics[kParamHeartRate] = value;
        in.numerics[kParamSystolic] = value;
        const AlarmPass pass = evaluator.EvaluateAlarms(in, config, 0);
        EXPECT_FALSE(pass.anyAlarmed) << value;
        EXPECT_FALSE(pass.event) << value;
    }
}

TEST(AlarmEvaluator, ApneaFollowsItsGasStatusSource)
{
    const struct {
        uint8_t source, flags0, status4;
        uint16_t features;
        int32_t kind;
        int32_t enable;
        bool detected;
    } cases[] = {
        {1, 0x02, 0x00, kFeatureCO2, kDeviceTarvikPlus, 1, true},
        {1, 0xFD, 0xFF, kFeatureCO2, kDeviceTarvikPlus, 1, false},
        {2, 0x00, 0x40, kFeatureCO2, kDeviceTarvikPlus, 1, true},
        {2, 0xFF, 0xBF, kFeatureCO2, kDeviceTarvikPlus, 1, false},
        {0, 0x02, 0x40, kFeatureCO2, kDeviceTarvikPlus, 1, false},  // unknown: the last finding (none)
        {1, 0x02, 0x00, kFeatureEcg, kDeviceTarvikPlus, 1, false},  // no CO2
        {1, 0x02, 0x00, kFeatureCO2, kDeviceBrindle, 1, false},
        {1, 0x02, 0x00, kFeatureCO2, kDeviceTarvikPlus, 0, false},
    };
    for (const auto& c : cases) {
        RemoteConfiguration config = Config();
        config.alarmLimits[1][kParamApnea].high = 25;
        config.alarmLimits[1][kParamApnea].highEnable = c.enable;
        AlarmInputs in = Inputs();
        in.gasStatusSource = c.source;
        in.gasFlags0 = c.flags0;
        in.gasStatus4 = c.status4;
        in.featureBits = c.features;
        in.deviceKind = c.kind;
        CAlarmEvaluator evaluator;
        const std::string name = "source " + std::to_string(c.source) + " kind " + std::to_string(c.kind);
        for (int pass = 0; pass < 2; ++pass) {
            const AlarmPass result = evaluator.EvaluateAlarms(in, config, 1);
            // Shown and sounding on every pass while it lasts.
            EXPECT_EQ(result.apneaIndicator, c.detected) << name;
            EXPECT_EQ(result.toneOn, c.detected) << name;
            EXPECT_FALSE(result.anyAlarmed) << name;
            EXPECT_EQ(result.event.has_value(), c.detected && pass == 0) << name;
            if (result.event) {
                EXPECT_EQ(result.event->code, '$') << name;
                EXPECT_EQ(result.event->limit, 25) << name;
                EXPECT_EQ(result.event->unitSelector, 0) << name;
                EXPECT_EQ(result.event->cuffSize, 3) << name;
            }
        }
        // A source that says nothing keeps the finding.
        in.gasStatusSource = 0;
        EXPECT_EQ(evaluator.EvaluateAlarms(in, config, 1).apneaIndicator, c.detected) << name;
    }
}

TEST(AlarmEvaluator, ResetForgetsAlarmsAndShowsTheEnabledBoxes)
{
    RemoteConfiguration config = Config();
    config.alarmLimits[0][kParamSpO2].lowEnable = 0;
    CAlarmEvaluator evaluator;
    AlarmInputs in = Inputs();
    in.numerics[kParamHeartRate] = 300;
    in.gasStatusSource = 1;
    in.gasFlags0 = 0x02;
    ASSERT_TRUE(evaluator.EvaluateAlarms(in, config, 0).event);

    const AlarmReset reset = evaluator.ResetAlarmDisplay(in, config, 0);
    EXPECT_FALSE(evaluator.Latched(kParamHeartRate, true));
    EXPECT_FALSE(evaluator.ApneaSounding());
    EXPECT_FALSE(reset.apneaIndicator);
    EXPECT_TRUE(reset.visible.test(2 * kParamHeartRate));
    EXPECT_FALSE(reset.visible.test(2 * kParamSpO2 + 1));
    EXPECT_FALSE(reset.visible.test(kApneaIndicatorBox));
    EXPECT_EQ(reset.colors[2 * kParamHeartRate], (LimitBoxColors{0x59FF3C, 0}));
    // The standing alarm is reported again.
    EXPECT_EQ(evaluator.EvaluateAlarms(in, config, 0).event->code, 0x80 | kParamHeartRate);

    config.alarms = 0;
    EXPECT_FALSE(evaluator.ResetAlarmDisplay(in, config, 0).visible.any());
}
