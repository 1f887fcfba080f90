#include <algorithm>
#include <cmath>

#include "view/ViewLayout.h"

double ViewScale(int32_t width, int32_t height, int32_t logicalDpiY)
{
    if (height <= 0)
        return 0.0;
    double scale = double(height) * logicalDpiY / 63432.0;
    const double aspect = double(width) / double(height);
    if (aspect < 1.2)
        scale = scale * aspect / 1.2;
    return scale;
}

int32_t FontPixelSize(int font, double scale)
{
    if (font < 0 || font >= kViewFontCount)
        return 0;
    return RoundHalfUp(kViewFonts[font].size * scale);
}

BoxMetrics MeasureBoxes(const ITextMeasure& measure, int32_t width, int32_t height, double scale)
{
    BoxMetrics m;
    m.scale = scale;
    const int32_t margin = RoundHalfUp(24 * scale);
    m.valueWidth = measure.TextWidth(kFontMeasure, "888") + margin;
    m.largeValueHeight = measure.TextHeight(kFontMeasure, "88888881");
    // Rounding can leave two thirds a pixel short of the font's own line.
    m.valueHeight = std::max(m.largeValueHeight * 2 / 3, measure.LineHeight(kFontValue));
    m.wideValueWidth = measure.TextWidth(kFontLargeValue, "188.8") + margin;
    m.mediumValueWidth = measure.TextWidth(kFontValue, "188.8") + margin;
    m.captionHeight = measure.LineHeight(kFontCaption);
    m.labelWidth = measure.TextWidth(kFontLabel, "MAP");
    m.labelHeight = measure.TextHeight(kFontLabel, "MAP");
    m.stripLabelWidth = measure.TextWidth(kFontLabel, "88");
    m.smallTextHeight = measure.LineHeight(kFontSmall);
    m.menuItemWidth = measure.TextWidth(kFontMenu, "THIS IS A WORST CASE MENU ITEM");
    m.menuItemHeight = measure.TextHeight(kFontMenu, "THIS IS A WORST CASE MENU ITEM");
    m.limitOffset = measure.TextWidth(kFontLimit, "8") + 2 * RoundHalfUp(4 * scale);
    m.limitBoxWidth = measure.TextWidth(kFontLimit, " 888.8 ");
    m.limitBoxHeight = measure.TextHeight(kFontLimit, " 888.8 ");
    m.paneWidth = height < 151 ? 70 : m.labelWidth + m.limitOffset + m.valueWidth + 64;
    m.bandColumnWidth = (width - m.paneWidth) / 5 - 4;
    return m;
}

StripLayout PlanStrips(int32_t width, int32_t height, const BoxMetrics& metrics, int32_t bandHeight,
                       int32_t stripCount)
{
    StripLayout layout;
    const int32_t n = stripCount < 0 ? 0 : stripCount > 4 ? 4 : stripCount;
    layout.count = n;
    const int32_t left = metrics.paneWidth + 4;
    const int32_t right = width - metrics.stripLabelWidth;
    const int32_t free = height - bandHeight;
    layout.stripHeight = n == 0 ? free : n <= 2 ? free / n : (free - 10) / n;

    layout.separators.push_back(RectAt(metrics.paneWidth, 0, 4, height));
    for (int32_t k = 0; k < n; ++k) {
        const int32_t top = k * (layout.stripHeight + 4);
        // The heights leave the separators out for one or two strips, so
        // the last strip would reach up to 4 pixels under the band.
        const int32_t bottom = std::min(top + layout.stripHeight, free);
        layout.strips[k] = LayoutRect{left, top, right, bottom};
        layout.labels[k] = LayoutRect{right, top, width, bottom};
        layout.separators.push_back(LayoutRect{left, bottom, width, bottom + 4});
    }
    if (n == 0)
        layout.strips[0] = LayoutRect{left, 0, right, free};  // where the layers are sized from
    if (bandHeight > 0) {
        const int32_t bandTop = height - bandHeight;
        layout.separators.push_back(LayoutRect{left, bandTop, width, bandTop + 4});
        for (int32_t k = 0; k < 5; ++k) {
            const int32_t x = metrics.bandColumnWidth * (k + 1) + 4 * k + metrics.paneWidth + 4;
            layout.separators.push_back(LayoutRect{x, bandTop, x + 4, height});
        }
    }
    return layout;
}

LayerSize MaxStripLayerSize(const std::vector<LayerSize>& monitors, int32_t paneWidth)
{
    LayerSize size;
    const std::size_t count = std::min<std::size_t>(monitors.size(), 2);
    for (std::size_t i = 0; i < count; ++i) {
        size.width += monitors[i].width - paneWidth - 4;
        size.height = std::max(size.height, monitors[i].height - 8);
    }
    if (count == 2)
        size.width += 200;
    return size;
}
