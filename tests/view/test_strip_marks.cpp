#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "link/LiveData.h"
#include "view/StripMarks.h"
#include "view/StripValues.h"

TEST(StripMarks, CalibrationPulseHalvesAboveTwentyFive)
{
    struct Case {
        int32_t gainIndex, height;
        const char* text;
    };
    const Case cases[] = {{0, 5, "1.0mV"}, {1, 10, "1.0mV"}, {2, 20, "1.0mV"},
                          {3, 15, "0.5mV"}, {4, 20, "0.5mV"}, {9, 10, "1.0mV"}};
    for (const Case& c : cases) {
        const CalibrationPulse pulse = EcgCalibrationPulse(c.gainIndex);
        EXPECT_EQ(pulse.height, c.height) << c.gainIndex;
        EXPECT_EQ(pulse.step.text, c.text) << c.gainIndex;
        EXPECT_EQ(pulse.step.line[2], (StripPoint{25, c.height})) << c.gainIndex;
        EXPECT_EQ(pulse.step.textAt, (StripPoint{60, c.height})) << c.gainIndex;
    }
}

TEST(StripMarks, SecondTicksFollowTheSweep)
{
    struct Ticks {
        bool gas;
        int32_t kind, ecgSweep, co2Sweep, spacing;
    };
    const Ticks ticks[] = {
        {false, kDeviceTarvik, 2, 1, 500}, {false, kDeviceTarvik, 8, 1, 2000}, {false, kDeviceTarvik, 0, 1, 250},
        {true, kDeviceTarvik, 8, 1, 62},   {true, kDeviceTarvik, 1, 2, 125},   {true, kDeviceTarvik, 1, 4, 250},
        {true, kDeviceBrindle, 1, 4, 62},  {true, kDeviceTarvik, 1, 0, 62},
    };
    for (const Ticks& t : ticks)
        EXPECT_EQ(SecondTickSpacing(t.gas, t.kind, t.ecgSweep, t.co2Sweep), t.spacing)
            << t.gas << " " << t.ecgSweep << " " << t.co2Sweep;
}

TEST(StripValues, O2DriftAveragesFloorAndSwitchesAt55And45)
{
    struct Case {
        const char* name;
        O2Drift before;
        int16_t o2, inspired, expired;
        O2Drift after;
        int32_t y;
    };
    const Case cases[] = {
        {"negative sample floors the baseline", {0, 0, false}, -100, 0, 0, {-1, 0, false}, -495},
        {"negative baseline stays", {-3, 0, false}, 0, 0, 0, {-3, 0, false}, 15},
        {"swing above 55 halves the scale", {0, 60, false}, 512, 200, 140, {1, 60, true}, 1277},
        {"between keeps high", {0, 50, true}, 512, 200, 150, {1, 50, true}, 1277},
        {"between keeps normal", {0, 50, false}, 512, 200, 150, {1, 50, false}, 2555},
        {"below 45 is normal again", {0, 40, true}, 512, 200, 160, {1, 40, false}, 2555},
        {"no numeric: flag kept, full scale", {0, 60, true}, 512, 0, 60, {1, 60, true}, 2555},
        {"negative product truncates", {0, 60, true}, -6, 200, 140, {-1, 60, true}, -12},
        {"swing averages down by floor", {0, 57, true}, 0, 200, 200, {0, 56, true}, 0},
    };
    for (const Case& c : cases) {
        O2Drift drift = c.before;
        EXPECT_EQ(O2DriftTraceY(drift, c.o2, c.inspired, c.expired), c.y) << c.name;
        EXPECT_EQ(drift.baseline, c.after.baseline) << c.name;
        EXPECT_EQ(drift.swing, c.after.swing) << c.name;
        EXPECT_EQ(drift.highSwing, c.after.highSwing) << c.name;
    }
}

namespace {

bool Overlap(const LayoutRect& a, const LayoutRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const LayoutRect& inner, const LayoutRect& outer)
{
    return inner.top >= outer.top && inner.bottom <= outer.bottom && inner.left >= outer.left;
}

}  // namespace

// On strips as high as one to four strips make them from the smallest view
// to a 1920 x 1080 screen, each step's text and "seconds" lie apart and
// inside the strip, in letters no larger than the captions'.
TEST(StripMarks, ScaleTextsStayApartAndReadableOnEveryStripHeight)
{
    struct Marks {
        const char* name;
        ScaleStep step;
        bool co2Strip;
    };
    const Marks marks[] = {
        {"CO2 scale on, mmHg", Co2ScaleStep(kDeviceTarvikPlus, true, false), true},
        {"CO2 scale on, %", Co2ScaleStep(kDeviceTarvikPlus, true, true), true},
        {"CO2 scale off", Co2ScaleStep(kDeviceSelvo, false, false), true},
        {"Brindle cuff", Co2ScaleStep(kDeviceBrindle, false, false), true},
        {"Brindle oscillometric", OscillometricScaleStep(), false},
        {"ECG at x2", EcgCalibrationPulse(2).step, false},
        {"ECG at x4", EcgCalibrationPulse(4).step, false},
    };
    const int32_t caption = 17;  // the caption font at 1600 x 900
    for (const int32_t height : {94, 120, 140, 180, 240, 330, 480, 620, 900}) {
        const LayoutRect strip = RectAt(200, 40, 1300, height);
        const int32_t pixels = ScaleTextPixels(height, kScaleTextUnits, caption);
        const int32_t line = (pixels * 23 + 19) / 20;  // as Arial's line
        EXPECT_LE(line, std::max(height * 4 / 50 + 1, 9)) << "a line is 4 of the strip's 50 units, or 7 pixels";
        EXPECT_LE(pixels, caption);
        EXPECT_GE(pixels, std::min(std::max(height * 4 / 50 - 3, 7), caption)) << "and not much less";
        for (const Marks& m : marks) {
            SCOPED_TRACE(std::string(m.name) + " on a strip " + std::to_string(height) + " high");
            auto place = [&](StripPoint at, const std::string& text) {
                return ScaleTextRect(strip, at, kScaleTextUnits, int32_t(text.size()) * pixels * 6 / 10, line);
            };
            const LayoutRect step = place(m.step.textAt, m.step.text);
            const LayoutRect seconds = place(SecondsTextAt(m.co2Strip), "seconds");
            EXPECT_FALSE(Overlap(step, seconds));
            EXPECT_TRUE(Inside(step, strip));
            EXPECT_TRUE(Inside(seconds, strip));
            // The step's text stays beside the step's top.
            const double unit = height / 50.0;
            const double stepTop = strip.top + height / 2.0 - m.step.line[2].y * unit;
            EXPECT_LE(std::abs((step.top + step.bottom) / 2.0 - stepTop), 6 * unit);
        }
    }
}
