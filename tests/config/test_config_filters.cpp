#include <gtest/gtest.h>

#include <string>

#include "app/ValueHelpers.h"
#include "config/ConfigFilters.h"

TEST(ConfigFilters, EachTextIsStoredRefusedOrLeftUnfinished)
{
    enum Kind { kGas, kInt, kTemp, kCO2, kApnea };
    constexpr auto N = FilterAction::kNothing;
    constexpr auto S = FilterAction::kStore;
    constexpr auto R = FilterAction::kRefuse;
    struct Case {
        Kind kind;
        const char* text;
        bool unit0;     // mmHg or Celsius
        float stored;   // for the echo test
        FilterAction action;
        double value;
    } const cases[] = {
        {kGas, "3.5", true, 0, S, 3.5 / 7.599375},
        {kGas, "3.5", false, 0, S, 3.5},
        {kGas, "1a", false, 0, R, 0},
        {kGas, "", false, 0, N, 0},
        {kGas, ".", false, 0, N, 0},   // no number in it yet
        {kGas, "2.", false, 0, S, 2},
        {kGas, ".5", false, 0, S, 0.5},
        // What would show and not be stored: a blank, a comma, a second
        // decimal, a sign, a tenth character.
        {kGas, " 2.0", false, 0, R, 0},
        {kGas, "2.0 ", false, 0, R, 0},
        {kGas, "1,5", false, 0, R, 0},
        {kGas, "2.05", false, 0, R, 0},
        {kGas, "-.", false, 0, R, 0},
        {kGas, "0000100.5", false, 0, S, 100.5},
        {kGas, "12345678.9", false, 0, R, 0},
        {kInt, "12", false, 0, S, 12},
        {kInt, "12a", false, 0, R, 0},
        {kInt, "-5", false, 0, R, 0},
        {kInt, "", false, 0, N, 0},
        {kInt, "1234567890", false, 0, R, 0},
        {kTemp, "101.5", false, 101.5f, N, 0},  // its own display, either unit
        {kTemp, "38.6", true, 101.5f, N, 0},
        {kTemp, "38", true, 101.5f, S, 38 * 1.8 + 32},
        {kTemp, "99", false, 101.5f, S, 99},
        {kTemp, ".", true, 101.5f, N, 0},
        {kTemp, "9x", false, 101.5f, R, 0},
        {kCO2, "5.0", false, 5.0f, N, 0},
        {kCO2, "38.0", true, 5.0f, N, 0},
        {kCO2, "40", true, 5.0f, S, float(40) * 0.13158976889546836},
        {kCO2, ".", true, 5.0f, N, 0},
        {kApnea, "7", false, 0, R, 0},
        {kApnea, "2", false, 0, N, 0},
        {kApnea, "6", false, 0, N, 0},
        {kApnea, "25", false, 0, S, 25},
        {kApnea, "60", false, 0, S, 60},
        {kApnea, "65", false, 0, R, 0},
        {kApnea, "2a", false, 0, R, 0},
        {kApnea, "250", false, 0, R, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " kind " + std::to_string(c.kind));
        FilterResult r;
        switch (c.kind) {
        case kGas: r = FilterGas(c.text, c.unit0); break;
        case kInt: r = FilterInteger(c.text); break;
        case kTemp: r = FilterTemperature(c.text, c.unit0, c.stored); break;
        case kCO2: r = FilterCO2(c.text, c.unit0, c.stored); break;
        case kApnea: r = FilterApnea(c.text); break;
        }
        EXPECT_EQ(r.action, c.action);
        if (c.action == S) {
            EXPECT_NEAR(r.value, c.value, 1e-6);
        }
    }
    // 3.5 mmHg of halothane is five tenths of a percent once rounded.
    EXPECT_EQ(RoundToTenths(static_cast<float>(FilterGas("3.5", true).value)), 5);
}

TEST(ConfigFilters, ShownValuesInEachUnit)
{
    EXPECT_EQ(GasText(1.0f, true), "7.6");
    EXPECT_EQ(GasText(0.5f, false), "0.5");
    EXPECT_EQ(TemperatureText(101.5f, true), "38.6");
    EXPECT_EQ(TemperatureText(101.5f, false), "101.5");
    EXPECT_EQ(CO2Text(5.0f, true), "38.0");
}
