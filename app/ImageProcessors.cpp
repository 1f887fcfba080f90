#include "app/ImageProcessors.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace {

// Refuse sizes no tool-bar strip comes near, before any allocation.
constexpr std::size_t kMaxPixels = std::size_t{1} << 26;

bool ValidSize(ImageSize size)
{
    return size.cx > 0 && size.cy > 0 &&
           static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy) <= kMaxPixels;
}

std::size_t PixelCount(ImageSize size)
{
    return static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
}

// Applies f to the region both images share; the rest of dest keeps its fill.
template <class F>
void ForCommonPixels(const Pixel32* source, ImageSize sourceSize, Pixel32* dest, ImageSize destSize, F f)
{
    const int width = std::min(sourceSize.cx, destSize.cx);
    const int height = std::min(sourceSize.cy, destSize.cy);
    for (int y = 0; y < height; ++y) {
        const Pixel32* in = source + static_cast<std::size_t>(y) * static_cast<std::size_t>(sourceSize.cx);
        Pixel32* out = dest + static_cast<std::size_t>(y) * static_cast<std::size_t>(destSize.cx);
        for (int x = 0; x < width; ++x)
            out[x] = f(in[x]);
    }
}

std::uint8_t ToChannel(double unit)
{
    const double scaled = std::clamp(unit, 0.0, 1.0) * 255.0;
    return static_cast<std::uint8_t>(scaled);
}

double HueToUnit(double m1, double m2, double hue)
{
    if (hue < 0)
        hue += 360.0;
    else if (hue > 360.0)
        hue -= 360.0;
    if (hue < 60.0)
        return m1 + (m2 - m1) * hue / 60.0;
    if (hue < 180.0)
        return m2;
    if (hue < 240.0)
        return m1 + (m2 - m1) * (240.0 - hue) / 60.0;
    return m1;
}

} // namespace

C32BitImageProcessor::C32BitImageProcessor(float weight, bool keepTransparent)
    : m_weight(weight), m_keepTransparent(keepTransparent)
{
}

C32BitImageProcessor::~C32BitImageProcessor() = default;

ImageSize C32BitImageProcessor::ComputeDestinationSize(ImageSize source) const
{
    return source;
}

bool C32BitImageProcessor::TransformPixels(const Pixel32* source, ImageSize sourceSize, Pixel32* dest,
                                           ImageSize destSize)
{
    if (!source || !dest)
        return false;
    ForCommonPixels(source, sourceSize, dest, destSize, [](Pixel32 p) { return p; });
    return true;
}

bool C32BitImageProcessor::IsTransparent(Pixel32 pixel) const
{
    return m_keepTransparent && PixelRed(pixel) == m_transparentRed && PixelGreen(pixel) == m_transparentGreen &&
           PixelBlue(pixel) == m_transparentBlue;
}

bool CImageGrayer::TransformPixels(const Pixel32* source, ImageSize sourceSize, Pixel32* dest, ImageSize destSize)
{
    if (!source || !dest)
        return false;
    ForCommonPixels(source, sourceSize, dest, destSize, [this](Pixel32 p) {
        if (IsTransparent(p))
            return p;
        const auto grey = static_cast<std::uint8_t>((PixelBlue(p) + 6 * PixelGreen(p) + 3 * PixelRed(p)) / 10);
        return MakePixel(grey, grey, grey, PixelReserved(p));
    });
    return true;
}

bool CImageHigh::TransformPixels(const Pixel32* source, ImageSize sourceSize, Pixel32* dest, ImageSize destSize)
{
    if (!source || !dest)
        return false;
    const double weight = m_weight;
    ForCommonPixels(source, sourceSize, dest, destSize, [this, weight](Pixel32 p) {
        if (IsTransparent(p))
            return p;
        HslColor hsl = ColorRgbToHsl(PixelRed(p), PixelGreen(p), PixelBlue(p));
        if (weight > 0 && hsl.lightness < 1.0)
            hsl.lightness = std::min(1.0, hsl.lightness + weight);
        else if (weight < 0 && hsl.lightness > 0.0)
            hsl.lightness = std::max(0.0, hsl.lightness + weight);
        std::uint8_t r = 0, g = 0, b = 0;
        ColorHslToRgb(hsl, r, g, b);
        return MakePixel(r, g, b, PixelReserved(p));
    });
    return true;
}

HslColor ColorRgbToHsl(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    const int maxC = std::max({red, green, blue});
    const int minC = std::min({red, green, blue});
    HslColor hsl;
    hsl.lightness = (maxC + minC) / 510.0;
    if (maxC == minC)
        return hsl;
    const double delta = maxC - minC;
    hsl.saturation = hsl.lightness <= 0.5 ? delta / (maxC + minC) : delta / (510.0 - maxC - minC);
    const double r = (maxC - red) / delta;
    const double g = (maxC - green) / delta;
    const double b = (maxC - blue) / delta;
    if (red == maxC)
        hsl.hue = 60.0 * (6.0 + b - g);
    else if (green == maxC)
        hsl.hue = 60.0 * (2.0 + r - b);
    else
        hsl.hue = 60.0 * (4.0 + g - r);
    if (hsl.hue > 360.0)
        hsl.hue -= 360.0;
    return hsl;
}

void ColorHslToRgb(const HslColor& hsl, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue)
{
    const double l = hsl.lightness;
    const double s = hsl.saturation;
    if (s == 0.0) {
        red = green = blue = ToChannel(l);
        return;
    }
    const double m2 = l <= 0.5 ? l * (1.0 + s) : l + s - l * s;
    const double m1 = 2.0 * l - m2;
    red = ToChannel(HueToUnit(m1, m2, hsl.hue + 120.0));
    green = ToChannel(HueToUnit(m1, m2, hsl.hue));
    blue = ToChannel(HueToUnit(m1, m2, hsl.hue - 120.0));
}

Pixel32 BackgroundFillPixel(COLORREF background)
{
    if (background == 0)
        return 0;
    if (background == 0xFFFFFFu || background == 0xFFFFFFFFu)
        return 0xFFFFFFFFu;
    return MakePixel(GetRValue(background), GetGValue(background), GetBValue(background));
}

bool ApplyProcessorsToImage(PixelImage& image, COLORREF background,
                            const std::vector<C32BitImageProcessor*>& processors)
{
    if (processors.empty())
        return true;
    if (!ValidSize(image.size) || image.pixels.size() != PixelCount(image.size))
        return false;

    // Sizes of the whole chain first: a processor that grows the image
    // would otherwise write past a buffer sized for its predecessor.
    ImageSize largest = image.size;
    ImageSize size = image.size;
    for (C32BitImageProcessor* processor : processors) {
        if (!processor)
            return false;
        size = processor->ComputeDestinationSize(size);
        if (!ValidSize(size))
            return false;
        largest.cx = std::max(largest.cx, size.cx);
        largest.cy = std::max(largest.cy, size.cy);
    }
    if (!ValidSize(largest))
        return false;

    std::vector<Pixel32> source, dest;
    try {
        source.resize(PixelCount(largest));
        dest.resize(PixelCount(largest));
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::copy(image.pixels.begin(), image.pixels.end(), source.begin());

    const Pixel32 fill = BackgroundFillPixel(background);
    ImageSize sourceSize = image.size;
    for (C32BitImageProcessor* processor : processors) {
        const ImageSize destSize = processor->ComputeDestinationSize(sourceSize);
        if (!ValidSize(destSize) || PixelCount(destSize) > dest.size())
            return false;
        std::fill_n(dest.begin(), PixelCount(destSize), fill);
        if (!processor->TransformPixels(source.data(), sourceSize, dest.data(), destSize))
            return false;
        source.swap(dest);
        sourceSize = destSize;
    }

    source.resize(PixelCount(sourceSize));
    image.pixels = std::move(source);
    image.size = sourceSize;
    return true;
}
