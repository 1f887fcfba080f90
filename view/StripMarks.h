#pragma once
// The marks drawn on the strips, in logical units: the scale steps and
// second ticks of the paint (window 2000 x 50, y up from the strip's
// middle), and the event and R markers of the ECG rows (window rate x 8 by
// 5000, y up from the middle).
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ColorRef.h"
#include "view/ViewGeometry.h"

struct StripPoint {
    int32_t x = 0;
    int32_t y = 0;

    constexpr bool operator==(const StripPoint&) const = default;
};

// A scale step: a line through six points and its text.
struct ScaleStep {
    std::array<StripPoint, 6> line;
    std::string text;
    StripPoint textAt;
};

// The ECG calibration pulse, Z = gain x 10 high, for 1 mV; a pulse higher
// than 25 is drawn for 0.5 mV at half the height. Text "%.1fmV".
struct CalibrationPulse {
    int32_t height = 0;
    double millivolts = 1.0;
    ScaleStep step;
};
CalibrationPulse EcgCalibrationPulse(int32_t gainIndex);

// The CO2 strip's step from y -25, by the model, "CO2Scale" and the unit.
ScaleStep Co2ScaleStep(int32_t deviceKind, bool co2Scale, bool co2UnitPercent);

// The Brindle's oscillometric strip: a step of 5 labelled "0.2 mmHg".
ScaleStep OscillometricScaleStep();

// Where "seconds" is written: right of the step on the CO2 strip.
StripPoint SecondsTextAt(bool co2Strip);
// The gas probe's state on the CO2 strip, in the larger font.
inline constexpr StripPoint kProbeTextAt{160, -12};
// The scale texts' heights in strip units: the marks' and the probe's.
inline constexpr int32_t kScaleTextUnits = 4;
inline constexpr int32_t kProbeTextUnits = 10;

// The pixel size of a scale text's font on a strip `stripHeight` pixels
// high: its line `units` of the strip's 50, but never above `largest`
// pixels, so that one or two strips filling the view do not write several
// times larger than four, nor below 7.
int32_t ScaleTextPixels(int32_t stripHeight, int32_t units, int32_t largest);

// Where a scale text `width` x `lineHeight` pixels goes on `strip`: on the
// line `units` high whose top-left corner is `at` (strip units: 2000 across,
// 50 up from the middle), centred on it when smaller, and inside the strip.
LayoutRect ScaleTextRect(const LayoutRect& strip, StripPoint at, int32_t units, int32_t width, int32_t lineHeight);

// Units between second ticks: the respiration and O2 strips by "CO2Sweep"
// (62 for the Brindle), all others by "EcgSweep"; never below 1. Ticks run
// from x = 0 while x <= 2000, from (x, -25) to (x, -23).
int32_t SecondTickSpacing(bool gasStrip, int32_t deviceKind, int32_t ecgSweep, int32_t co2Sweep);

// The colour of an event's marker; none for codes that draw none and on the
// Brindle.
std::optional<COLORREF> EventMarkerColor(uint8_t code, int32_t deviceKind, uint16_t featureBits);

// The marker's outline at x, drawn filled with a 5-wide pen.
std::array<StripPoint, 7> EventMarkerOutline(int32_t x);

// The R-marker triangle at x, white and filled.
std::array<StripPoint, 3> RMarkerTriangle(int32_t x);
