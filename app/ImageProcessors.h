#pragma once
// Pixel processors that make the tool bar's lightened and greyed images.
// Pixels are 32-bit values: blue in the low byte, then green, red and a
// reserved byte (0xXXRRGGBB read as a number); rows run top-down.
#include <cstdint>
#include <vector>

#include "platform/ColorRef.h"

using Pixel32 = std::uint32_t;

constexpr std::uint8_t PixelBlue(Pixel32 p) { return static_cast<std::uint8_t>(p); }
constexpr std::uint8_t PixelGreen(Pixel32 p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t PixelRed(Pixel32 p) { return static_cast<std::uint8_t>(p >> 16); }
constexpr std::uint8_t PixelReserved(Pixel32 p) { return static_cast<std::uint8_t>(p >> 24); }
constexpr Pixel32 MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t reserved = 0)
{
    return static_cast<Pixel32>(blue) | (static_cast<Pixel32>(green) << 8) |
           (static_cast<Pixel32>(red) << 16) | (static_cast<Pixel32>(reserved) << 24);
}

struct ImageSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const ImageSize&) const = default;
};

class C32BitImageProcessor {
public:
    explicit C32BitImageProcessor(float weight = 0.0f, bool keepTransparent = true);
    virtual ~C32BitImageProcessor();

    // The size this processor makes from a source of the given size.
    virtual ImageSize ComputeDestinationSize(ImageSize source) const;
    // Reads source (source.cx * source.cy pixels), writes destination
    // (dest.cx * dest.cy pixels, already filled with the background).
    // The base copies what the two sizes have in common.
    [[nodiscard]] virtual bool TransformPixels(const Pixel32* source, ImageSize sourceSize, Pixel32* dest,
                                               ImageSize destSize);

    float Weight() const { return m_weight; }
    void SetWeight(float weight) { m_weight = weight; }
    bool KeepsTransparent() const { return m_keepTransparent; }
    void SetKeepTransparent(bool keep) { m_keepTransparent = keep; }
    // A pixel the processor must leave alone (magenta unless changed).
    bool IsTransparent(Pixel32 pixel) const;

    std::uint8_t m_transparentRed = 255;
    std::uint8_t m_transparentGreen = 0;
    std::uint8_t m_transparentBlue = 255;

protected:
    float m_weight;
    bool m_keepTransparent;
};

// Grey = (blue + 6 x green + 3 x red) / 10 in every channel.
class CImageGrayer : public C32BitImageProcessor {
public:
    using C32BitImageProcessor::C32BitImageProcessor;
    [[nodiscard]] bool TransformPixels(const Pixel32* source, ImageSize sourceSize, Pixel32* dest,
                                       ImageSize destSize) override;
};

// Moves the lightness by the weight (lighter when positive).
class CImageHigh : public C32BitImageProcessor {
public:
    using C32BitImageProcessor::C32BitImageProcessor;
    [[nodiscard]] bool TransformPixels(const Pixel32* source, ImageSize sourceSize, Pixel32* dest,
                                       ImageSize destSize) override;
};

struct HslColor {
    double hue = 0;        // degrees
    double saturation = 0; // 0..1
    double lightness = 0;  // 0..1
};

HslColor ColorRgbToHsl(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// Channels are truncated, not rounded, after the scaling to 0..255.
void ColorHslToRgb(const HslColor& hsl, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);

// A 32-bit top-down pixel image as the processors see it.
struct PixelImage {
    ImageSize size;
    std::vector<Pixel32> pixels;
};

// The background fill of a bitmap: 0 black, 0xFFFFFF or 0xFFFFFFFF white
// (every byte 0xFF), any other colour in blue-green-red order.
Pixel32 BackgroundFillPixel(COLORREF background);

// Runs the processors in turn over the image, each on the previous result.
// Every step writes into a fresh buffer of its destination size filled with
// the background. An empty list leaves the image as it is and succeeds; on
// any failure the image is left as it was and the result is false.
[[nodiscard]] bool ApplyProcessorsToImage(PixelImage& image, COLORREF background,
                                          const std::vector<C32BitImageProcessor*>& processors);
