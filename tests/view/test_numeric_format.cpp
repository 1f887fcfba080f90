#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "view/NumericFormat.h"

namespace {

// Unit selectors in settings order: Temp, the five agents, CO2, O2, N2O.
RemoteConfiguration WithUnits(int32_t native)
{
    RemoteConfiguration config;
    for (int32_t& unit : config.units)
        unit = native;
    config.showN2O = 1;
    return config;
}

} // namespace

TEST(NumericFormat, ValueTextShowsNoValueBelowTheSlotMinimum)
{
    const struct {
        int slot;
        int32_t value;
        bool decimals;
        const char* text;
    } cases[] = {
        {kParamHeartRate, 9, false, "---"},  {kParamRespRate, 9, false, "9"},
        {kParamRespRate, 0, false, "---"},   {kParamHeartRate, 10, false, "10"},
        {kParamSpO2, -1, false, "---"},      {kParamTemperature, 3760, true, "37.6"},
        {kParamTemperature, 3755, true, "37.5"}, // 37.55f lies just below 37.55
        {kParamCO2Ins, 0, true, "---"},      {kParamCO2Ins, -5, true, "---"},
        {kParamCO2Ins, 5, true, "0.5"},      {kParamO2Exp, 999, true, "99.9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueText(c.slot, c.value, c.decimals), c.text) << "slot " << c.slot << " value " << c.value;
}

TEST(NumericFormat, SlotRuleGatesRangesAndConvertsLiveValues)
{
    const struct {
        int slot;
        int32_t value;
        uint16_t features;
        int32_t kind;
        int32_t native;
        float ambient;
        bool primaryOnly;
        bool open;
        int32_t passed;
        const char* shown;
    } cases[] = {
        {kParamHeartRate, 800, kFeatureEcg, kDeviceTarvik, 1, 10.1325f, false, true, 800, "800"},
        {kParamHeartRate, 801, kFeatureEcg, kDeviceTarvik, 1, 10.1325f, false, true, 0, "---"},
        {kParamHeartRate, -4, kFeatureEcg, kDeviceTarvik, 1, 10.1325f, false, true, 0, "---"},
        {kParamHeartRate, 80, kFeatureSpO2, kDeviceSelvo, 1, 10.1325f, false, true, 80, "80"},
        {kParamHeartRate, 80, kFeatureSpO2, kDeviceSelvo, 1, 10.1325f, true, false, 0, nullptr},
        {kParamRespRate, 20, kFeatureCO2, kDeviceSelvo, 1, 10.1325f, false, true, 20, "20"},
        {kParamRespRate, 20, kFeatureCO2, kDeviceSelvo, 1, 10.1325f, true, false, 0, nullptr},
        {kParamRespRate, 201, kFeatureResp, kDeviceTarvik, 1, 10.1325f, false, true, 0, "---"},
        {kParamSpO2, 101, kFeatureSpO2, kDeviceTarvik, 1, 10.1325f, false, true, 0, "---"},
        {kParamMean, 300, kFeatureNibp, kDeviceBrindle, 1, 10.1325f, false, true, 300, "300"},
        {kParamMean, 301, kFeatureNibp, kDeviceBrindle, 1, 10.1325f, false, true, 0, "---"},
        {kParamApnea, 30, 0xFFFF, kDeviceTarvik, 1, 10.1325f, false, false, 0, nullptr},
        {kParamTemperature, 986, kFeatureTemp, kDeviceTarvik, 1, 10.1325f, false, true, 9860, "98.6"},
        {kParamTemperature, 999, kFeatureTemp, kDeviceTarvik, 0, 10.1325f, false, true, 3772, "37.7"},
        {kParamTemperature, 0, kFeatureTemp, kDeviceTarvik, 0, 10.1325f, false, true, -1777, "---"},
        {kParamTemperature, 300, kFeatureTemp, kDeviceTarvik, 0, 10.1325f, false, true, -111, "---"},
        {kParamCO2Ins, 50, kFeatureCO2, kDeviceTarvik, 1, 10.1325f, false, true, 50, "5.0"},
        {kParamCO2Exp, 50, kFeatureCO2, kDeviceTarvik, 0, 10.1325f, false, true, 379, "37.9"},
        {kParamCO2Exp, 50, kFeatureCO2, kDeviceTarvik, 0, 9.5f, false, true, 356, "35.6"},
        {kParamCO2Exp, -10, kFeatureCO2, kDeviceTarvik, 0, 10.1325f, false, true, -75, "---"},
        {kParamCO2Ins, 50, kFeatureCO2, kDeviceBrindle, 1, 10.1325f, false, false, 0, nullptr},
        {kParamN2OExp, 500, kFeatureN2O, kDeviceTarvik, 1, 10.1325f, false, true, 500, "50.0"},
        {kParamIsoExp, 12, 0x0100, kDeviceTarvikPlus, 1, 10.1325f, false, true, 12, "1.2"},
        {kParamSevIns, 12, 0x0100, kDeviceTarvikPlus, 1, 10.1325f, false, false, 0, nullptr},
    };
    for (const auto& c : cases) {
        const RemoteConfiguration config = WithUnits(c.native);
        SlotInputs live;
        live.featureBits = c.features;
        live.deviceKind = c.kind;
        live.ambientPressure = c.ambient;
        live.primaryAgent = 3; // isoflurane
        const SlotDisplay d = SlotRule(c.slot, c.value, live, config, c.primaryOnly);
        EXPECT_EQ(d.gateOpen, c.open) << "slot " << c.slot << " value " << c.value;
        EXPECT_EQ(d.value, c.passed) << "slot " << c.slot << " value " << c.value;
        if (c.shown != nullptr)
            EXPECT_EQ(ValueText(c.slot, d.value, d.hasDecimals), c.shown) << "slot " << c.slot;
        else
            EXPECT_TRUE(d.captions.empty()) << "slot " << c.slot;
    }
}

TEST(NumericFormat, SlotRuleSetsCaptionsAsShown)
{
    const struct {
        int slot;
        uint16_t features;
        uint8_t source;
        uint8_t primary, secondary;
        int32_t native;
        std::string first, second; // caption 0..10 ":" text; empty: none
    } cases[] = {
        {kParamHeartRate, kFeatureEcg, 0, 0, 0, 1, "0:  HR (bpm) - from ECG", ""},
        {kParamHeartRate, kFeatureEcg, 2, 0, 0, 1, "0:  PR (bpm) - from BP", ""},
        {kParamTemperature, kFeatureTemp, 0, 0, 0, 0, "1:  TEMP (\u00B0C)", ""},
        {kParamRespRate, kFeatureResp | kFeatureCO2, 0, 0, 0, 1, "2:  RR (bpm) from CO2", ""},
        {kParamCO2Ins, kFeatureCO2, 0, 0, 0, 1, "5:  CO2 (%)", ""},
        {kParamCO2Exp, kFeatureCO2, 0, 0, 0, 1, "", ""},
        {kParamO2Ins, kFeatureO2, 0, 0, 0, 0, "6:   O2 (mmHg)", ""},
        {kParamHalIns, 0x0300, 0, 1, 1, 1, "8:  Halothane (%)", "9:  Halothane (%)"},
        {kParamDesIns, 0x0200, 0, 5, 5, 0, "9:  Desflurane (mmHg)", ""},
        {kParamDesExp, 0x0300, 0, 5, 5, 0, "", ""},
    };
    for (const auto& c : cases) {
        SlotInputs live;
        live.featureBits = c.features;
        live.deviceKind = kDeviceTarvikPlus;
        live.heartRateSource = c.source;
        live.primaryAgent = c.primary;
        live.secondaryAgent = c.secondary;
        const SlotDisplay d = SlotRule(c.slot, 50, live, WithUnits(c.native));
        std::string shown[2];
        for (std::size_t i = 0; i < d.captions.size() && i < 2; ++i)
            shown[i] = std::to_string(d.captions[i].caption) + ":" + d.captions[i].text;
        EXPECT_TRUE(d.gateOpen) << "slot " << c.slot;
        EXPECT_EQ(shown[0], c.first) << "slot " << c.slot;
        EXPECT_EQ(shown[1], c.second) << "slot " << c.slot;
    }
}

TEST(NumericFormat, LimitBoxesConvertUnitsAndFollowTheSwitches)
{
    const struct {
        int slot;
        bool high;
        int32_t species;
        int32_t native;
        bool visible;
        const char* text; // null: the box keeps its text
    } cases[] = {
        {kParamTemperature, true, 0, 0, true, "40.0"},
        {kParamTemperature, true, 0, 1, true, "104.0"},
        {kParamCO2Ins, true, 0, 0, true, "38.0"}, // standard atmosphere, not the live pressure
        {kParamCO2Ins, true, 0, 1, true, "5.0"},
        {kParamHeartRate, true, 0, 1, true, "250"},
        {kParamHeartRate, false, 0, 1, true, "40"},
        {kParamHeartRate, true, 3, 1, true, "300"},
        {kParamHeartRate, true, 7, 1, true, "300"},  // outside 0..3 counts as Other
        {kParamHeartRate, true, -1, 1, true, "300"},
        {kParamSpO2, false, 0, 1, false, nullptr},   // side not enabled
        {kParamApnea, true, 0, 1, false, "Ap"},      // the apnea indicator
    };
    RemoteConfiguration config;
    config.alarms = 1;
    config.alarmLimits[0][kParamTemperature] = {1040, 900, 1, 1};
    config.alarmLimits[0][kParamCO2Ins] = {50, 0, 1, 0};
    config.alarmLimits[0][kParamHeartRate] = {250, 40, 1, 1};
    config.alarmLimits[3][kParamHeartRate] = {300, 20, 1, 1};
    config.alarmLimits[0][kParamSpO2] = {100, 90, 1, 0};
    config.alarmLimits[0][kParamApnea] = {30, 0, 1, 1};
    for (const auto& c : cases) {
        for (int32_t& unit : config.units)
            unit = c.native;
        const LimitBoxUpdate box = LimitBoxText(c.slot, c.high, c.species, config);
        EXPECT_EQ(box.visible, c.visible) << "slot " << c.slot << " species " << c.species;
        EXPECT_EQ(box.text.value_or("<kept>"), c.text ? c.text : "<kept>") << "slot " << c.slot;
    }

    config.alarms = 0;
    for (int slot = 0; slot < kParameterCount; ++slot) {
        config.alarmLimits[0][slot] = {100, 10, 1, 1};
        EXPECT_FALSE(LimitBoxText(slot, true, 0, config).visible) << "slot " << slot;
        EXPECT_FALSE(LimitBoxText(slot, false, 0, config).visible) << "slot " << slot;
    }
}

TEST(NumericFormat, BpErrorTextsByCode)
{
    EXPECT_EQ(BpErrorText(0), nullptr);
    EXPECT_EQ(std::string(BpErrorText(5)).substr(0, 24), "EC 85 Pneumatic Blockage");
    EXPECT_EQ(std::string(BpErrorText(14)).substr(0, 6), "EC 99 ");
    EXPECT_STREQ(BpErrorText(15), "Unknown BP module error\n\nCorrective Action: Service may be required.");
    EXPECT_STREQ(BpErrorText(-2), BpErrorText(15));
}
