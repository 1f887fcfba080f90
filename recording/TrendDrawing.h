#pragma once
// Where the trend window draws: the bands of the plot area, the mapping of
// a sample to a point, the pen of each point and the label texts. Plain
// numbers, so that the window only paints what this works out.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/ColorRef.h"
#include "recording/TrendScale.h"
#include "recording/TrendView.h"

inline constexpr COLORREF kTrendFrameColor = 0xA4A4A4;
inline constexpr COLORREF kTrendMagenta = 0xFF00FF;
inline constexpr COLORREF kTrendLiveBarColor = 0xACA546;
inline constexpr COLORREF kTrendPastBarColor = 0x4B00A7;
// Left of the plot area, the labels take the strip from 75 to 2 pixels.
inline constexpr int32_t kTrendLabelStrip = 75;
inline constexpr int32_t kTrendLabelGap = 2;
inline constexpr int32_t kTrendLabelLine = 16;
inline constexpr int32_t kTrendTicks = 16;

COLORREF TrendChannelColor(int channelType);

struct TrendGeometry {
    int32_t width = 0;
    int32_t height = 0;
    int count = 0;
    int32_t band = 0;  // 0 without a channel
    int32_t col = 0;
    // x of the k-th shown sample: k x (15 x col - 1) / 449, truncated.
    int32_t span = 0;

    int32_t UpperLine(int i) const { return 4 + i * band; }
    int32_t LowerLine(int i) const { return 4 + (i + 1) * band; }
    // The curve's limits inside band i.
    int32_t TopLimit(int i) const { return i == 0 ? 3 : UpperLine(i) + 3; }
    int32_t BottomLimit(int i) const { return LowerLine(i) - 3; }
    // The tops of the 16-pixel label lines of band i.
    int32_t TopLabelY(int i) const { return i == 0 ? UpperLine(i) - 2 : UpperLine(i) + 2; }
    int32_t BottomLabelY(int i) const { return LowerLine(i) - 2 - kTrendLabelLine; }
    int32_t X(int k) const { return int32_t(int64_t(k) * span / (kTrendPlotSamples - 1)); }
};

TrendGeometry MakeTrendGeometry(int32_t width, int32_t height, int channelCount);

// Band i's y of a value: bottom 3 pixels above the lower line, top at the
// band's top limit, clamped to both.
int32_t TrendY(int32_t value, uint16_t top, uint16_t bottom, int band, const TrendGeometry& geometry);

enum class TrendPen { kChannel, kMagenta };

// HR without a valid ECG (none of bits 0-6) in magenta; RESP likewise,
// except that its CO2 samples (bit 7) keep the pen before.
TrendPen TrendPenFor(int channelType, uint8_t flag, TrendPen previous);

struct TrendPoint {
    int32_t x = 0;
    int32_t y = 0;
    TrendPen pen = TrendPen::kChannel;  // of the line that reaches it
};

// One channel's curve in band i over the shown samples and their flags.
std::vector<TrendPoint> TrendCurve(int band, const TrendChannel& channel, std::span<const int16_t> samples,
                                   std::span<const uint8_t> flags, const TrendGeometry& geometry);

struct TrendLabel {
    std::string caption;  // two lines, "\r\n" between
    std::string top;
    std::string bottom;
};

TrendLabel TrendLabels(int channelType, uint16_t top, uint16_t bottom, uint8_t heartRateSource,
                       const TrendUnits& units, float ambientPressure);
