#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "app/ValueHelpers.h"

namespace {

struct TenthsCase {
    float value;
    int32_t tenths;
    const char* text;
};

// Typed and measured values and what the boxes and the settings make of
// them: half up to tenths, from the float as the value arrives.
const TenthsCase kTenths[] = {
    {98.65f, 987, "98.7"},
    {98.64f, 986, "98.6"},
    {0.0f, 0, "0.0"},
    {2.25f, 23, "2.3"},
    {37.15f, 372, "37.2"},
    {37.05f, 370, "37.0"}, // the float holds 37.04999...
    {2.35f, 23, "2.3"},    // and 2.3499999...
    {5.0f, 50, "5.0"},
    {0.25f, 3, "0.3"},
    {123.44f, 1234, "123.4"},
    {-0.04f, 0, "0.0"},
    {-0.05f, -1, "-0.1"},
    {-1.25f, -12, "-1.2"},
    {110.049f, 1100, "110.0"},
    {70.049f, 700, "70.0"},
};

} // namespace

TEST(ValueHelpers, TenthsAndTextFollowTheRoundingTable)
{
    for (const TenthsCase& c : kTenths) {
        EXPECT_EQ(RoundToTenths(c.value), c.tenths) << "value " << c.value;
        std::string text = "stale";
        FormatOneDecimal(text, c.value);
        EXPECT_EQ(text, c.text) << "value " << c.value;
    }
}

TEST(ValueHelpers, ShortTextIsPaddedToThreeCharacters)
{
    std::string text;
    FormatOneDecimal(text, 0.04f);
    EXPECT_EQ(text, "0.0");
    FormatOneDecimal(text, 9.96f);
    EXPECT_EQ(text, "10.0");
}

TEST(ValueHelpers, NonNumbersAndHugeValuesStayDefined)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(RoundToTenths(nan), 0);
    EXPECT_EQ(RoundToTenths(1e12f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundToTenths(-1e12f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundToTenths(std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundToTenths(-std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::min());

    std::string text;
    FormatOneDecimal(text, nan);
    EXPECT_EQ(text, "0.0");
    FormatOneDecimal(text, 1e12f);
    EXPECT_EQ(text, "999999995904.0"); // the float nearest 1e12
}

TEST(ValueHelpers, RoundToShortTakesExactHalvesDown)
{
    EXPECT_EQ(RoundToShort(60000.0 / 80.0), 750);
    EXPECT_EQ(RoundToShort(2.5), 2);
    EXPECT_EQ(RoundToShort(2.51), 3);
    EXPECT_EQ(RoundToShort(2.49), 2);
    EXPECT_EQ(RoundToShort(-2.5), -3);
    EXPECT_EQ(RoundToShort(-2.4), -2);
    EXPECT_EQ(RoundToShort(60000.0 / 799.0), 75);
}

TEST(ValueHelpers, RoundToShortKeepsTheLowSixteenBits)
{
    EXPECT_EQ(RoundToShort(32767.0), 32767);
    EXPECT_EQ(RoundToShort(32768.0), -32768);
    EXPECT_EQ(RoundToShort(65536.0 + 7.0), 7);
    EXPECT_EQ(RoundToShort(-65536.0 - 7.0), -7);
    EXPECT_EQ(RoundToShort(1e12), 0x1000); // 1e12 is 0xE8D4A51000
    // Beyond 64 bits the whole number's low bits are still well defined.
    EXPECT_EQ(RoundToShort(std::ldexp(1.0, 70)), 0);
    EXPECT_EQ(RoundToShort(std::ldexp(1.0, 63) + std::ldexp(1.0, 12)), 4096);
    EXPECT_EQ(RoundToShort(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundToShort(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(RoundToShort(-std::numeric_limits<double>::infinity()), 0);
}
