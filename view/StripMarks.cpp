#include "view/StripMarks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "link/LiveData.h"
#include "view/ParameterColors.h"
#include "view/StripValues.h"

namespace {

constexpr COLORREF kMarkerColor = 0x0080FF;

// Flat at `base`, up to `top` from 25 to 50, flat again to 75.
std::array<StripPoint, 6> Step(int32_t base, int32_t top)
{
    return {{{0, base}, {25, base}, {25, top}, {50, top}, {50, base}, {75, base}}};
}

}  // namespace

CalibrationPulse EcgCalibrationPulse(int32_t gainIndex)
{
    CalibrationPulse pulse;
    pulse.height = static_cast<int32_t>(EcgGain(gainIndex) * 10);
    if (pulse.height > 25) {
        pulse.height /= 2;
        pulse.millivolts = 0.5;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%.1fmV", pulse.millivolts);
    pulse.step = {Step(0, pulse.height), text, {60, pulse.height}};
    return pulse;
}

ScaleStep Co2ScaleStep(int32_t deviceKind, bool co2Scale, bool co2UnitPercent)
{
    if (deviceKind == kDeviceBrindle)
        return {Step(-25, -20), "30 mmHg", {60, -16}};
    // As high as the Brindle's: one line lower it would run into "seconds".
    if (co2Scale)
        return {Step(-25, -20), co2UnitPercent ? "1.25 %" : "10 mmHg", {60, -16}};
    return {Step(-25, -15), co2UnitPercent ? "1 %" : "8 mmHg", {60, -11}};
}

ScaleStep OscillometricScaleStep()
{
    return {Step(0, 5), "0.2 mmHg", {60, 9}};
}

StripPoint SecondsTextAt(bool co2Strip)
{
    return co2Strip ? StripPoint{60, -21} : StripPoint{10, -21};
}

int32_t ScaleTextPixels(int32_t stripHeight, int32_t units, int32_t largest)
{
    // The units are the line's height, as the platform sized fonts: Arial's
    // line is 1.15 times its letters' size. Smaller than 7 pixels no letter
    // reads; four strips on the shortest view are still high enough for it.
    constexpr int32_t kSmallest = 7;
    return std::max(kSmallest, std::min(stripHeight * units * 20 / (50 * 23), largest));
}

LayoutRect ScaleTextRect(const LayoutRect& strip, StripPoint at, int32_t units, int32_t width, int32_t lineHeight)
{
    const double unitX = strip.Width() / 2000.0;
    const double unitY = strip.Height() / 50.0;
    const int32_t left = strip.left + int32_t(std::lround(at.x * unitX));
    const double lineTop = strip.top + strip.Height() / 2.0 - at.y * unitY;
    const double centre = lineTop + units * unitY / 2;
    int32_t top = int32_t(std::lround(centre - lineHeight / 2.0));
    top = std::max(strip.top, std::min(top, strip.bottom - lineHeight));
    return RectAt(left, top, width, lineHeight);
}

int32_t SecondTickSpacing(bool gasStrip, int32_t deviceKind, int32_t ecgSweep, int32_t co2Sweep)
{
    if (!gasStrip)
        return EcgSweepStep(ecgSweep, kDeviceUnknown) * 250;
    if (deviceKind == kDeviceBrindle)
        return 62;
    return static_cast<int32_t>(GasSweepStep(co2Sweep, deviceKind) * 62.5);
}

std::optional<COLORREF> EventMarkerColor(uint8_t code, int32_t deviceKind, uint16_t featureBits)
{
    if (deviceKind == kDeviceBrindle)
        return std::nullopt;
    if (code == CEcgEvent::kMarker)
        return kMarkerColor;
    if (code < CEcgEvent::kAlarmLow)
        return std::nullopt;
    switch (code & 0x1F) {
    case kParamHeartRate: return kHeartRateColor;
    case kParamTemperature: return kTemperatureColor;
    case kParamRespRate: return (featureBits & kFeatureCO2) != 0 ? kCO2Color : kRespColor;
    case kParamSpO2: return kSpO2Color;
    default: return std::nullopt;
    }
}

std::array<StripPoint, 7> EventMarkerOutline(int32_t x)
{
    return {{{x + 6, 2000}, {x - 6, 2000}, {x - 6, 1875}, {x - 20, 1875}, {x, 1750}, {x + 20, 1875}, {x + 6, 1875}}};
}

std::array<StripPoint, 3> RMarkerTriangle(int32_t x)
{
    return {{{x, 2250}, {x - 40, 2250}, {x - 20, 2000}}};
}
