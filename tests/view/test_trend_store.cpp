#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "link/LiveData.h"
#include "view/TrendStore.h"

TEST(TrendStore, EachRingKeepsItsParameterAndRingSevenStaysZero)
{
    struct Case {
        int ring;
        int parameter;
    };
    const Case cases[] = {
        {0, kParamHeartRate}, {1, kParamMean}, {2, kParamSpO2}, {3, kParamCO2Exp},
        {4, kParamRespRate}, {5, kParamTemperature}, {6, kParamO2Exp},
    };
    LiveData live;
    for (int p = 0; p < kParameterCount; ++p)
        live.numerics[p] = static_cast<int16_t>(-100 - p);
    auto store = std::make_unique<CTrendStore>();
    store->Sample(live, 0);
    for (int p = 0; p < kParameterCount; ++p)
        live.numerics[p] = static_cast<int16_t>(1000 + p);
    store->Sample(live, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ring);
        EXPECT_EQ(store->Ring(c.ring)[0], -100 - c.parameter);
        EXPECT_EQ(store->Ring(c.ring)[1], 1000 + c.parameter);
    }
    EXPECT_EQ(store->Ring(7)[0], 0);
    EXPECT_EQ(store->Ring(7)[1], 0);
    EXPECT_TRUE(store->Ring(8).empty());
    EXPECT_EQ(store->Index(), 2);
}

TEST(TrendStore, FlagByteMarksValidEcgOrCo2)
{
    struct Case {
        uint8_t frameFlags;
        uint16_t featureBits;
        uint8_t flag;
    };
    const Case cases[] = {
        {SampleFrame::kFlagEcgValid, 0, 1},
        {SampleFrame::kFlagEcgValid | SampleFrame::kFlagBeat, kFeatureCO2, 1},
        {0, kFeatureEcg | kFeatureSpO2, 0},
        {SampleFrame::kFlagBeat, 0, 0},
        {0, kFeatureCO2, 0x80},
        {SampleFrame::kFlagBeat, kFeatureCO2 | kFeatureO2, 0x80},
    };
    auto store = std::make_unique<CTrendStore>();
    LiveData live;
    int at = 0;
    for (const Case& c : cases) {
        live.featureBits = c.featureBits;
        store->Sample(live, c.frameFlags);
        EXPECT_EQ(store->Flags()[static_cast<std::size_t>(at++)], c.flag) << int(c.frameFlags) << " " << c.featureBits;
    }
}

TEST(TrendStore, IndexWrapsAfterFourHoursAndCountsTheWrap)
{
    struct Case {
        int samples;
        int32_t index;
        int16_t wraps;
    };
    const Case cases[] = {{kTrendLength - 1, kTrendLength - 1, 0}, {kTrendLength, 0, 1},
                          {kTrendLength + 1, 1, 1}, {3 * kTrendLength, 0, 3}};
    LiveData live;
    for (const Case& c : cases) {
        auto store = std::make_unique<CTrendStore>();
        for (int i = 0; i < c.samples; ++i) {
            live.numerics[kParamHeartRate] = static_cast<int16_t>(i % 30000);
            store->Sample(live, 0);
        }
        EXPECT_EQ(store->Index(), c.index) << c.samples;
        EXPECT_EQ(store->Wraps(), c.wraps) << c.samples;
        // The newest sample sits just before the index.
        const int newest = (c.index + kTrendLength - 1) % kTrendLength;
        EXPECT_EQ(store->Ring(0)[static_cast<std::size_t>(newest)], (c.samples - 1) % 30000) << c.samples;
    }
}
