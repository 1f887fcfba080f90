#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/ImageProcessors.h"

namespace {

constexpr Pixel32 kMagenta = MakePixel(255, 0, 255);
constexpr Pixel32 kWhite = MakePixel(255, 255, 255);

PixelImage MakeImage(int cx, int cy, std::vector<Pixel32> pixels)
{
    PixelImage image;
    image.size = {cx, cy};
    image.pixels = std::move(pixels);
    return image;
}

// The tool bar's two lists, made the way the tool bar makes them.
PixelImage Disabled(PixelImage image)
{
    CImageGrayer gray(0.08f);
    CImageHigh high1(0.08f), high2(0.08f), high3(0.08f);
    EXPECT_TRUE(ApplyProcessorsToImage(image, 0xFFFFFF, {&gray, &high1, &high2, &high3}));
    return image;
}

PixelImage Normal(PixelImage image)
{
    CImageHigh high1(0.04f), high2(0.04f);
    EXPECT_TRUE(ApplyProcessorsToImage(image, 0xFFFFFF, {&high1, &high2}));
    return image;
}

// Grows the image by a border on the right and bottom and copies the source
// into the top-left corner, so the border shows the background fill.
class GrowingProcessor : public C32BitImageProcessor {
public:
    explicit GrowingProcessor(int grow) : m_grow(grow) {}
    ImageSize ComputeDestinationSize(ImageSize source) const override
    {
        return {source.cx + m_grow, source.cy + m_grow};
    }
    int m_grow;
};

class FailingProcessor : public C32BitImageProcessor {
public:
    bool TransformPixels(const Pixel32*, ImageSize, Pixel32*, ImageSize) override { return false; }
};

class ShrinkingToNothing : public C32BitImageProcessor {
public:
    ImageSize ComputeDestinationSize(ImageSize) const override { return {0, 4}; }
};

} // namespace

TEST(ImageGrayer, WeighsBlueGreenAndRedOneSixThree)
{
    PixelImage image = MakeImage(4, 1, {MakePixel(255, 0, 0, 0x5A), MakePixel(0, 255, 0), MakePixel(0, 0, 255),
                                        MakePixel(10, 20, 30)});
    CImageGrayer gray;
    ASSERT_TRUE(ApplyProcessorsToImage(image, 0, {&gray}));
    EXPECT_EQ(image.pixels[0], MakePixel(76, 76, 76, 0x5A)) << "red: 3 x 255 / 10, reserved byte kept";
    EXPECT_EQ(image.pixels[1], MakePixel(153, 153, 153)) << "green: 6 x 255 / 10";
    EXPECT_EQ(image.pixels[2], MakePixel(25, 25, 25)) << "blue: 255 / 10, cut";
    EXPECT_EQ(image.pixels[3], MakePixel(18, 18, 18)) << "(30 + 120 + 30) / 10";
}

TEST(ImageGrayer, LeavesTheTransparentColourOnlyWhenAsked)
{
    PixelImage kept = MakeImage(1, 1, {kMagenta});
    CImageGrayer keeping(0.0f, true);
    ASSERT_TRUE(ApplyProcessorsToImage(kept, 0, {&keeping}));
    EXPECT_EQ(kept.pixels[0], kMagenta);

    PixelImage greyed = MakeImage(1, 1, {kMagenta});
    CImageGrayer plain(0.0f, false);
    ASSERT_TRUE(ApplyProcessorsToImage(greyed, 0, {&plain}));
    EXPECT_EQ(greyed.pixels[0], MakePixel(102, 102, 102));
}

TEST(ToolBarImages, MagentaAndWhiteSurviveBothLists)
{
    const PixelImage plain = MakeImage(2, 1, {kMagenta, kWhite});
    for (const PixelImage& made : {Disabled(plain), Normal(plain)}) {
        EXPECT_EQ(made.pixels[0], kMagenta);
        EXPECT_EQ(made.pixels[1], kWhite);
    }
}

TEST(ToolBarImages, NormalIsLighterAndDisabledIsGrey)
{
    const Pixel32 darkRed = MakePixel(128, 0, 0);
    const PixelImage plain = MakeImage(1, 1, {darkRed});
    const Pixel32 normal = Normal(plain).pixels[0];
    const Pixel32 disabled = Disabled(plain).pixels[0];
    EXPECT_GT(ColorRgbToHsl(PixelRed(normal), PixelGreen(normal), PixelBlue(normal)).lightness,
              ColorRgbToHsl(128, 0, 0).lightness);
    EXPECT_GT(PixelRed(normal), PixelGreen(normal)) << "lightening keeps the hue";
    EXPECT_EQ(PixelRed(disabled), PixelGreen(disabled));
    EXPECT_EQ(PixelGreen(disabled), PixelBlue(disabled));
    EXPECT_GT(PixelRed(disabled), (3 * 128) / 10) << "grey, then lightened";
}

TEST(ImageHigh, DarkensWithANegativeWeightAndStopsAtTheEnds)
{
    PixelImage image = MakeImage(3, 1, {MakePixel(0, 0, 0), MakePixel(200, 200, 200), kWhite});
    CImageHigh darker(-0.5f);
    ASSERT_TRUE(ApplyProcessorsToImage(image, 0, {&darker}));
    EXPECT_EQ(image.pixels[0], MakePixel(0, 0, 0));
    EXPECT_LT(PixelRed(image.pixels[1]), 200);
    EXPECT_EQ(PixelRed(image.pixels[2]), 127) << "lightness 1 - 0.5, truncated";

    PixelImage lighter = MakeImage(1, 1, {MakePixel(200, 200, 200)});
    CImageHigh far(5.0f);
    ASSERT_TRUE(ApplyProcessorsToImage(lighter, 0, {&far}));
    EXPECT_EQ(lighter.pixels[0], kWhite) << "lightness is capped at 1";
}

TEST(ColorHsl, PrimariesAndGreys)
{
    struct Primary {
        uint8_t r, g, b;
        double hue;
    };
    for (const Primary& p : {Primary{255, 0, 0, 360}, Primary{0, 255, 0, 120}, Primary{0, 0, 255, 240},
                             Primary{255, 255, 0, 60}, Primary{0, 255, 255, 180}, Primary{255, 0, 255, 300}}) {
        const HslColor hsl = ColorRgbToHsl(p.r, p.g, p.b);
        EXPECT_DOUBLE_EQ(hsl.hue, p.hue);
        EXPECT_DOUBLE_EQ(hsl.saturation, 1.0);
        EXPECT_DOUBLE_EQ(hsl.lightness, 0.5);
        uint8_t r = 1, g = 1, b = 1;
        ColorHslToRgb(hsl, r, g, b);
        EXPECT_EQ(r, p.r);
        EXPECT_EQ(g, p.g);
        EXPECT_EQ(b, p.b);
    }
    for (int v = 0; v <= 255; ++v) {
        const auto grey = static_cast<uint8_t>(v);
        const HslColor hsl = ColorRgbToHsl(grey, grey, grey);
        EXPECT_EQ(hsl.saturation, 0.0);
        EXPECT_EQ(hsl.hue, 0.0);
        uint8_t r = 0, g = 0, b = 0;
        ColorHslToRgb(hsl, r, g, b);
        EXPECT_EQ(r, grey);
        EXPECT_EQ(g, grey);
        EXPECT_EQ(b, grey);
    }
}

TEST(ColorHsl, SaturationUsesTheUpperFormulaAboveHalfLightness)
{
    const HslColor pale = ColorRgbToHsl(255, 128, 128); // max + min = 383
    EXPECT_DOUBLE_EQ(pale.lightness, 383.0 / 510.0);
    EXPECT_DOUBLE_EQ(pale.saturation, 127.0 / (510.0 - 383.0));
    const HslColor dark = ColorRgbToHsl(100, 50, 50);
    EXPECT_DOUBLE_EQ(dark.saturation, 50.0 / 150.0);
}

TEST(ApplyProcessors, EmptyListLeavesTheImage)
{
    PixelImage image = MakeImage(2, 2, {1, 2, 3, 4});
    const PixelImage before = image;
    EXPECT_TRUE(ApplyProcessorsToImage(image, 0xFFFFFF, {}));
    EXPECT_EQ(image.size, before.size);
    EXPECT_EQ(image.pixels, before.pixels);
}

TEST(ApplyProcessors, GrowingProcessorFillsWithEachBackgroundRule)
{
    struct Rule {
        COLORREF background;
        Pixel32 fill;
    };
    const Rule rules[] = {
        {0x000000, 0x00000000},
        {0xFFFFFF, 0xFFFFFFFF},
        {0xFFFFFFFF, 0xFFFFFFFF},
        {0x00336699, MakePixel(0x99, 0x66, 0x33)}, // COLORREF is 0x00BBGGRR
    };
    for (const Rule& rule : rules) {
        PixelImage image = MakeImage(2, 1, {MakePixel(1, 2, 3), MakePixel(4, 5, 6)});
        GrowingProcessor grow(2);
        ASSERT_TRUE(ApplyProcessorsToImage(image, rule.background, {&grow}));
        ASSERT_EQ(image.size, (ImageSize{4, 3}));
        ASSERT_EQ(image.pixels.size(), 12u);
        EXPECT_EQ(image.pixels[0], MakePixel(1, 2, 3));
        EXPECT_EQ(image.pixels[1], MakePixel(4, 5, 6));
        for (std::size_t i : {2u, 3u, 4u, 7u, 11u})
            EXPECT_EQ(image.pixels[i], rule.fill) << "background " << std::hex << rule.background << " pixel " << i;
    }
}

TEST(ApplyProcessors, ChainOfGrowingStepsStaysInsideItsBuffers)
{
    PixelImage image = MakeImage(1, 1, {MakePixel(9, 9, 9)});
    GrowingProcessor a(3), b(5);
    CImageGrayer gray;
    ASSERT_TRUE(ApplyProcessorsToImage(image, 0, {&a, &gray, &b}));
    EXPECT_EQ(image.size, (ImageSize{9, 9}));
    EXPECT_EQ(image.pixels.size(), 81u);
    EXPECT_EQ(image.pixels[0], MakePixel(9, 9, 9));
    EXPECT_EQ(image.pixels[80], 0u);
}

TEST(ApplyProcessors, FailureLeavesTheImageAsItWas)
{
    const PixelImage original = MakeImage(2, 1, {MakePixel(200, 10, 10), kMagenta});
    CImageGrayer gray;
    FailingProcessor failing;
    ShrinkingToNothing nothing;
    for (const std::vector<C32BitImageProcessor*>& list :
         {std::vector<C32BitImageProcessor*>{&gray, &failing}, std::vector<C32BitImageProcessor*>{&nothing},
          std::vector<C32BitImageProcessor*>{&gray, nullptr}}) {
        PixelImage image = original;
        EXPECT_FALSE(ApplyProcessorsToImage(image, 0xFFFFFF, list));
        EXPECT_EQ(image.size, original.size);
        EXPECT_EQ(image.pixels, original.pixels);
    }

    PixelImage broken = MakeImage(3, 3, {1, 2}); // fewer pixels than its size
    EXPECT_FALSE(ApplyProcessorsToImage(broken, 0, {&gray}));
    EXPECT_EQ(broken.pixels.size(), 2u);
}
