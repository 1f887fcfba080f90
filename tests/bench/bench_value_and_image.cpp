// Cost of the rounding helpers the numeric boxes call on every value, and of
// building the tool bar's two processed image lists at start-up.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/ImageProcessors.h"
#include "app/ValueHelpers.h"

namespace {

void BM_RoundToTenths(benchmark::State& state)
{
    float value = 36.55f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RoundToTenths(value));
        value += 0.01f;
        if (value > 45.0f)
            value = 36.55f;
    }
}
BENCHMARK(BM_RoundToTenths);

void BM_FormatOneDecimal(benchmark::State& state)
{
    std::string text;
    float value = 36.55f;
    for (auto _ : state) {
        FormatOneDecimal(text, value);
        benchmark::DoNotOptimize(text.data());
        value += 0.01f;
        if (value > 45.0f)
            value = 36.55f;
    }
}
BENCHMARK(BM_FormatOneDecimal);

PixelImage Strip()
{
    PixelImage image;
    image.size = {26 * 32, 32};
    image.pixels.resize(26 * 32 * 32);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = (i % 7 == 0) ? MakePixel(255, 0, 255)
                                       : MakePixel(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 3),
                                                   static_cast<std::uint8_t>(i >> 6));
    return image;
}

void BM_DisabledToolBarList(benchmark::State& state)
{
    const PixelImage strip = Strip();
    for (auto _ : state) {
        PixelImage image = strip;
        CImageGrayer gray(0.08f);
        CImageHigh high1(0.08f), high2(0.08f), high3(0.08f);
        benchmark::DoNotOptimize(ApplyProcessorsToImage(image, 0xFFFFFF, {&gray, &high1, &high2, &high3}));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(strip.pixels.size()));
}
BENCHMARK(BM_DisabledToolBarList)->Unit(benchmark::kMicrosecond);

void BM_NormalToolBarList(benchmark::State& state)
{
    const PixelImage strip = Strip();
    for (auto _ : state) {
        PixelImage image = strip;
        CImageHigh high1(0.04f), high2(0.04f);
        benchmark::DoNotOptimize(ApplyProcessorsToImage(image, 0xFFFFFF, {&high1, &high2}));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(strip.pixels.size()));
}
BENCHMARK(BM_NormalToolBarList)->Unit(benchmark::kMicrosecond);

} // namespace
