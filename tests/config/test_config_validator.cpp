#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/QuorinAppCore.h"
#include "config/ConfigValidator.h"
#include "config/ConfigWorkingCopy.h"

namespace {

const std::string kTail = " lower limit is greater than the upper limit or a limit is out of range\nResults not saved";
const std::string kComPort =
    "Check Wireless Remote Com Port Number entry.\nCom Port must be greater than 0 and less than 999\nResults not saved";
const std::string kPressure =
    "Check Initial Cuff Inflation Pressure entry.\nPressure must be between 0 and 300 mmHg\nResults not saved";

RemoteConfiguration FactoryConfig()
{
    CQuorinAppCore app({});
    app.SetDefaultSettings();
    return app.m_factoryConfig;
}

}  // namespace

// Each case edits the working copy filled from the factory settings and
// names the refusals it expects, in order, and one stored field.
TEST(ConfigValidator, WritesWhatPassesRefusesEachBadItemAloneInOrder)
{
    const RemoteConfiguration before = FactoryConfig();
    using Field = std::function<int32_t(const RemoteConfiguration&)>;
    const Field tempLow0 = [](const RemoteConfiguration& c) { return c.alarmLimits[0][1].low; };
    const Field tempHigh0 = [](const RemoteConfiguration& c) { return c.alarmLimits[0][1].high; };
    const Field o2Low0 = [](const RemoteConfiguration& c) { return c.alarmLimits[0][9].low; };
    const Field port = [](const RemoteConfiguration& c) { return c.portNum; };
    const Field pressure = [](const RemoteConfiguration& c) { return c.initialPressure; };
    struct Case {
        const char* name;
        std::function<void(ConfigWorkingCopy&)> edit;
        std::vector<std::pair<std::string, std::string>> refusals;  // text, caption
        Field field;
        int32_t expected;
        bool bpChanged;
    } const cases[] = {
        {"70.0 F refused", [](auto& w) { w.temp[kLow][0] = 70.0f; },
         {{"Temperature" + kTail, "Alarm Limit Error"}}, tempLow0, before.alarmLimits[0][1].low, false},
        {"70.1 F taken", [](auto& w) { w.temp[kLow][0] = 70.1f; }, {}, tempLow0, 701, false},
        {"110.0 F taken", [](auto& w) { w.temp[kHigh][0] = 110.0f; }, {}, tempHigh0, 1100, false},
        {"110.1 F refused", [](auto& w) { w.temp[kHigh][0] = 110.1f; },
         {{"Temperature" + kTail, "Alarm Limit Error"}}, tempHigh0, before.alarmLimits[0][1].high, false},
        {"O2 10 taken", [](auto& w) { w.o2.value[kLow][0] = 10.0f; }, {}, o2Low0, 100, false},
        {"O2 9.9 refused", [](auto& w) { w.o2.value[kLow][0] = 9.9f; },
         {{"O2 Inspired" + kTail, "Alarm Limit Error"}}, o2Low0, before.alarmLimits[0][9].low, false},
        {"two species, table order within",
         [](auto& w) {
             w.spO2Resp[kLow][2] = 60;                 // species 2, SpO2
             w.co2.value[2][0] = 11.0f;                // species 0, CO2 expired High
             w.hr[kLow][0] = w.hr[kHigh][0] + 1;       // species 0, heart rate
         },
         {{"Heart rate" + kTail, "Alarm Limit Error"},
          {"CO2 Expired" + kTail, "Alarm Limit Error"},
          {"SpO2" + kTail, "Alarm Limit Error"}},
         tempLow0, before.alarmLimits[0][1].low, false},
        {"port 0 with the automatic port", [](auto& w) { w.portNum = 0; w.winBluetooth = 1; }, {}, port, 0, false},
        {"port 0 alone", [](auto& w) { w.portNum = 0; w.winBluetooth = 0; }, {{kComPort, "Com Port Error"}}, port,
         before.portNum, false},
        {"port 998", [](auto& w) { w.portNum = 998; w.winBluetooth = 0; }, {}, port, 998, false},
        {"port 999", [](auto& w) { w.portNum = 999; w.winBluetooth = 0; }, {{kComPort, "Com Port Error"}}, port,
         before.portNum, false},
        {"only the BP tone", [](auto& w) { w.bpNotifyTone = !w.bpNotifyTone; }, {},
         [](const RemoteConfiguration& c) { return c.bpNotifyTone; }, !before.bpNotifyTone, false},
        {"pressure -5", [](auto& w) { w.initialPressure = -5; }, {{kPressure, "BP Setup Error"}}, pressure,
         before.initialPressure, false},
        {"pressure 301", [](auto& w) { w.initialPressure = 301; }, {{kPressure, "BP Setup Error"}}, pressure,
         before.initialPressure, false},
        {"pressure 300", [](auto& w) { w.initialPressure = 300; }, {}, pressure, 300, true},
        {"a cuff", [](auto& w) { w.cuffSize[3] = 6; }, {}, [](const RemoteConfiguration& c) { return c.cuffSize[3]; },
         6, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigWorkingCopy w = FillWorkingCopy(before, false);
        w.portNum = 5;
        c.edit(w);
        const ConfigValidation result = ConfigValidator::Validate(w, before, {});
        std::vector<std::pair<std::string, std::string>> refusals;
        for (const ConfigRefusal& refusal : result.refusals)
            refusals.emplace_back(refusal.text, refusal.caption);
        EXPECT_EQ(refusals, c.refusals);
        EXPECT_EQ(c.field(result.config), c.expected);
        EXPECT_EQ(result.bpSetupChanged, c.bpChanged);
        EXPECT_FALSE(result.gasSetupChanged);
    }
}

TEST(ConfigValidator, ARefusedPairKeepsItsOldValuesAndEnablesWhileTheRestIsWritten)
{
    const RemoteConfiguration before = FactoryConfig();
    ConfigWorkingCopy w = FillWorkingCopy(before, false);
    w.portNum = 5;
    w.hr[kHigh][1] = 90;
    w.hr[kLow][1] = 100;
    w.hrTempEnable[0][1] = !before.alarmLimits[1][0].highEnable;
    w.spO2Resp[2][1] = 77;        // the same species' respiration High
    w.hr[kHigh][0] = 222;         // another species' heart rate
    w.apneaSeconds[2] = 45;
    w.temp[kHigh][3] = 104.26f;   // rounded half up to tenths
    const ConfigValidation result = ConfigValidator::Validate(w, before, {});

    const AlarmLimit& kept = result.config.alarmLimits[1][0];
    const AlarmLimit& old = before.alarmLimits[1][0];
    EXPECT_EQ(std::vector<int32_t>({kept.high, kept.low, kept.highEnable, kept.lowEnable}),
              std::vector<int32_t>({old.high, old.low, old.highEnable, old.lowEnable}));
    EXPECT_EQ(result.config.alarmLimits[1][2].high, 77);
    EXPECT_EQ(result.config.alarmLimits[0][0].high, 222);
    EXPECT_EQ(result.config.alarmLimits[2][4].high, 45);
    EXPECT_EQ(result.config.alarmLimits[3][1].high, 1043);
    EXPECT_TRUE(result.gasSetupChanged);
    ASSERT_EQ(result.refusals.size(), 1u);
    EXPECT_EQ(result.refusals[0].text, "Heart rate" + kTail);
}

TEST(ConfigValidator, FillingAndWritingBackUnchangedLeavesTheSettingsAsTheyWere)
{
    RemoteConfiguration before = FactoryConfig();
    before.portNum = 7;
    before.units[0] = 5;  // any non-zero temperature unit is Fahrenheit
    before.soundProfile = 2;
    const ConfigValidation result = ConfigValidator::Validate(FillWorkingCopy(before, true), before, {});
    RemoteConfiguration expected = before;
    expected.units[0] = 1;
    expected.SetColorsFromProfile(2);
    EXPECT_TRUE(result.refusals.empty());
    EXPECT_TRUE(result.config == expected);
    EXPECT_FALSE(result.bpSetupChanged || result.gasSetupChanged || result.resetFeatureBits);
    EXPECT_TRUE(ConfigValidator::Validate(FillWorkingCopy(before, true), before, {false, 2}).resetFeatureBits);
    EXPECT_FALSE(ConfigValidator::Validate(FillWorkingCopy(before, true), before, {true, 2}).resetFeatureBits);
}
