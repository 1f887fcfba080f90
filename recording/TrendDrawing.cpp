#include "recording/TrendDrawing.h"

#include <algorithm>
#include <array>
#include <cstdio>

COLORREF TrendChannelColor(int channelType)
{
    static constexpr std::array<COLORREF, kTrendChannelTypes> kColors = {
        0x59FF3C, 0x67C4FF, 0xFDFD2F, 0x03B1FC, 0x40FFFF, 0xFFF7EA, 0xFC9283,
    };
    if (channelType < 0 || channelType >= kTrendChannelTypes)
        return kTrendFrameColor;
    return kColors[std::size_t(channelType)];
}

TrendGeometry MakeTrendGeometry(int32_t width, int32_t height, int channelCount)
{
    TrendGeometry g;
    g.width = width;
    g.height = height;
    g.count = std::max(channelCount, 0);
    g.band = g.count > 0 ? (height - 4) / g.count : 0;
    g.col = (width - 4) / kTrendTicks;
    g.span = 15 * g.col - 1;
    return g;
}

int32_t TrendY(int32_t value, uint16_t top, uint16_t bottom, int band, const TrendGeometry& geometry)
{
    const int32_t low = geometry.BottomLimit(band);
    const int32_t high = geometry.TopLimit(band);
    if (top <= bottom)
        return low;
    const double y = low - double(value - bottom) * double(low - high) / double(top - bottom);
    return std::clamp(int32_t(std::clamp(y, -1e9, 1e9)), high, low);
}

TrendPen TrendPenFor(int channelType, uint8_t flag, TrendPen previous)
{
    switch (channelType) {
    case kTrendTypeResp:
        if ((flag & 0x80) != 0)
            return previous;
        [[fallthrough]];
    case kTrendTypeHr:
        return (flag & 0x7F) == 0 ? TrendPen::kMagenta : TrendPen::kChannel;
    default:
        return TrendPen::kChannel;
    }
}

std::vector<TrendPoint> TrendCurve(int band, const TrendChannel& channel, std::span<const int16_t> samples,
                                   std::span<const uint8_t> flags, const TrendGeometry& geometry)
{
    std::vector<TrendPoint> points;
    points.reserve(samples.size());
    TrendPen pen = TrendPen::kChannel;
    for (std::size_t k = 0; k < samples.size(); ++k) {
        pen = TrendPenFor(channel.type, k < flags.size() ? flags[k] : 0, pen);
        points.push_back({geometry.X(int(k)), TrendY(samples[k], channel.top, channel.bottom, band, geometry), pen});
    }
    return points;
}

namespace {

std::string OneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%3.1f", value);
    return text;
}

}  // namespace

TrendLabel TrendLabels(int channelType, uint16_t top, uint16_t bottom, uint8_t heartRateSource,
                       const TrendUnits& units, float ambientPressure)
{
    TrendLabel label;
    auto whole = [&](const char* caption) {
        label.caption = caption;
        label.top = std::to_string(top);
        label.bottom = std::to_string(bottom);
    };
    auto decimal = [&](const char* caption, auto convert) {
        label.caption = caption;
        label.top = OneDecimal(convert(top));
        label.bottom = OneDecimal(convert(bottom));
    };
    const double mmHg = 0.075 * double(ambientPressure);
    switch (channelType) {
    case kTrendTypeHr: whole(heartRateSource == 0 ? "HR\r\n(BPM)" : "PR\r\n(BPM)"); break;
    case kTrendTypeMap: whole("MAP\r\n(mmHg)"); break;
    case kTrendTypeSpO2: whole("SPO2\r\n(%)"); break;
    case kTrendTypeResp: whole("RESP\r\n(BPM)"); break;
    case kTrendTypeCo2:
        if (units.co2 != 0)
            decimal("CO2[Exp]\r\n(%)", [](uint16_t v) { return v / 10.0; });
        else
            decimal("CO2[Exp]\r\n(mmHg)", [mmHg](uint16_t v) { return v * mmHg; });
        break;
    case kTrendTypeTemp:
        if (units.temp != 0)
            decimal("TEMP\r\n(\u00B0F)", [](uint16_t v) { return v / 10.0; });
        else
            decimal("TEMP\r\n(\u00B0C)", [](uint16_t v) { return (v - 320) * 5 / 90.0; });
        break;
    case kTrendTypeO2:
        if (units.o2 != 0)
            decimal("O2[Exp]\r\n(%)", [](uint16_t v) { return v / 10.0; });
        else
            decimal("O2[Exp]\r\n(mmHg)", [mmHg](uint16_t v) { return v * mmHg; });
        break;
    default: break;
    }
    return label;
}
