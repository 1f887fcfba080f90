// The trend window's rules on plain arrays: channels, scales, rescaling,
// the close countdown, which samples are shown and where they are drawn.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "link/LiveData.h"
#include "recording/TrendDrawing.h"
#include "recording/TrendPlot.h"

namespace {

// A trend store of our own: seven rings and the flags.
struct Store {
    std::vector<std::vector<int16_t>> rings = std::vector<std::vector<int16_t>>(
        kTrendChannelTypes, std::vector<int16_t>(kTrendSamples));
    std::vector<uint8_t> flags = std::vector<uint8_t>(kTrendSamples);
    int32_t index = 0;
    int16_t wraps = 0;

    // Appends one sample of value v on every ring, as the view's sampling does.
    void Add(int16_t v, uint8_t flag = 1)
    {
        for (auto& ring : rings)
            ring[std::size_t(index)] = v;
        flags[std::size_t(index)] = flag;
        if (++index == kTrendSamples) {
            index = 0;
            ++wraps;
        }
    }
    TrendStoreRead Read() const
    {
        TrendStoreRead read;
        for (int i = 0; i < kTrendChannelTypes; ++i)
            read.rings[std::size_t(i)] = rings[std::size_t(i)];
        read.flags = flags;
        read.index = index;
        read.wraps = wraps;
        return read;
    }
};

std::vector<uint16_t> Steady(uint16_t value, int count = 10)
{
    return std::vector<uint16_t>(std::size_t(count), value);
}

}  // namespace

TEST(TrendScale, AutoScaleFollowsMeanOrNewestAndKeepsTopAboveBottom)
{
    const struct {
        const char* what;
        int type;
        std::vector<uint16_t> samples;
        uint16_t top, bottom;
    } cases[] = {
        {"HR mean 95 spread 10", kTrendTypeHr, {90, 95, 100, 95}, 120, 80},
        {"SpO2 about 97, capped", kTrendTypeSpO2, {96, 97, 99, 97}, 100, 80},
        {"steady 101.3 F", kTrendTypeTemp, Steady(1013), 1100, 900},
        {"HR jumps to 150, mean 105", kTrendTypeHr, {100, 100, 100, 100, 100, 100, 100, 100, 100, 150}, 190, 110},
        {"HR within T of the mean", kTrendTypeHr, {100, 100, 100, 109}, 120, 80},
        {"O2 within its threshold", kTrendTypeO2, {500, 500, 540}, 560, 460},
        // The cap meets bottom: bottom goes one half-height under top.
        {"MAP 170", kTrendTypeMap, Steady(170), 150, 130},
        {"HR 820", kTrendTypeHr, Steady(820), 800, 780},
        {"SpO2 120", kTrendTypeSpO2, Steady(120), 100, 80},
        {"CO2 100", kTrendTypeCo2, Steady(100), 80, 60},
        {"RESP 170", kTrendTypeResp, Steady(170), 150, 130},
        {"TEMP 120.0", kTrendTypeTemp, Steady(1200), 1100, 1000},
        {"O2 102.0", kTrendTypeO2, Steady(1020), 1000, 980},
        {"no value read unsigned", kTrendTypeHr, Steady(uint16_t(-1)), 800, 780},
        {"zeros", kTrendTypeCo2, Steady(0), 20, 0},
    };
    for (const auto& c : cases) {
        uint16_t top = 1;
        uint16_t bottom = 1;
        ASSERT_TRUE(AutoScale(c.samples, c.type, top, bottom)) << c.what;
        EXPECT_EQ(top, c.top) << c.what;
        EXPECT_EQ(bottom, c.bottom) << c.what;
        EXPECT_GT(top, bottom) << c.what;
    }
    uint16_t top = 7;
    uint16_t bottom = 3;
    EXPECT_FALSE(AutoScale({}, kTrendTypeHr, top, bottom));
    EXPECT_EQ(top, 7);
    EXPECT_EQ(bottom, 3);
}

TEST(TrendScale, ChannelsByModelAndFeatures)
{
    const uint16_t all = 0x7F;
    const struct {
        int32_t kind;
        uint16_t features;
        std::vector<TrendChannel> channels;
    } cases[] = {
        {kDeviceUnknown, all, {}},
        {kDeviceTarvik, 0, {{0, 200, 100}, {2, 100, 80}, {4, 40, 0}, {5, 1100, 800}}},
        {kDeviceMoval, all, {{0, 200, 100}, {5, 1100, 800}}},
        {kDeviceBrindle, 0, {{0, 200, 100}}},
        {kDeviceBrindle, kFeatureNibp, {{0, 200, 100}, {1, 150, 50}}},
        {kDeviceTarvikPlus, all,
         {{0, 200, 100}, {1, 150, 50}, {2, 100, 80}, {3, 100, 0}, {4, 45, 5}, {5, 1100, 800}, {6, 1000, 100}}},
        {kDeviceSelvo, kFeatureCO2 | kFeatureTemp, {{0, 200, 100}, {3, 100, 0}, {5, 1100, 800}}},
    };
    for (const auto& c : cases) {
        const TrendChannels got = ChooseTrendChannels(c.kind, c.features);
        ASSERT_EQ(got.count, int(c.channels.size())) << c.kind;
        for (std::size_t i = 0; i < c.channels.size(); ++i) {
            EXPECT_EQ(got.channel[i].type, c.channels[i].type) << c.kind << " " << i;
            EXPECT_EQ(got.channel[i].top, c.channels[i].top) << c.kind << " " << i;
            EXPECT_EQ(got.channel[i].bottom, c.channels[i].bottom) << c.kind << " " << i;
        }
    }
}

TEST(TrendPlot, RescalesFromSixNewSamplesOnAcrossTheWrap)
{
    for (const int fresh : {5, 6}) {
        Store store;
        for (int k = 0; k < kTrendSamples - 2; ++k)
            store.Add(100);
        int32_t scaled = store.index;
        for (int k = 0; k < fresh; ++k)
            store.Add(170);  // across the end of the ring
        CTrendPlot plot;
        plot.Init(kDeviceBrindle, kFeatureNibp);
        const bool rescaled = plot.Rescale(store.Read(), scaled);
        EXPECT_EQ(rescaled, fresh == 6);
        EXPECT_EQ(scaled, fresh == 6 ? store.index : kTrendSamples - 2);
        const TrendChannel& map = plot.Channels().channel[1];
        EXPECT_EQ(map.top, 150);
        EXPECT_EQ(map.bottom, fresh == 6 ? 130 : 50) << "only the new samples count";
    }
}

TEST(TrendPlot, ClosesAfterFifteenSecondsUnlessPinnedOrWhenTheViewAsks)
{
    const struct {
        const char* what;
        int pinnedFrom;    // tick from which the pin is pressed; -1 never
        int unpinnedFrom;  // tick from which it is released again; -1 never
        int clearedAt;     // tick at which the view clears its flag; -1 never
        int closesAt;      // -1: still open after 1000 ticks
    } cases[] = {
        {"unpinned", -1, -1, -1, 150},
        {"pinned", 10, -1, -1, -1},
        {"pinned, then released", 10, 400, -1, 400},
        {"pinned, the view asks", 10, -1, 300, 300},
        {"unpinned, the view asks", -1, -1, 20, 20},
    };
    for (const auto& c : cases) {
        CTrendPlot plot;
        plot.Init(kDeviceMoval, 0);
        int closedAt = -1;
        for (int tick = 1; tick <= 1000 && closedAt < 0; ++tick) {
            const bool pinned = c.pinnedFrom >= 0 && tick >= c.pinnedFrom && (c.unpinnedFrom < 0 || tick < c.unpinnedFrom);
            const bool open = c.clearedAt < 0 || tick < c.clearedAt;
            if (plot.OnCloseTick(pinned, open))
                closedAt = tick;
        }
        EXPECT_EQ(closedAt, c.closesAt) << c.what;
    }
}

TEST(TrendPlot, ShowsTheNewestOrAScrolledBackWindowWithItsTime)
{
    const struct {
        const char* what;
        int samples;
        int position;
        int64_t elapsed;
        int32_t first, count;
        int64_t seconds;
        bool full;
    } cases[] = {
        {"449 live", 449, 240, 898, 0, 449, 898, false},
        {"450 live", 450, 240, 900, 1, 449, 900, true},
        {"1000 live", 1000, 240, 2000, 551, 449, 2000, true},
        {"300 at 121: 151.25 rounds down", 300, 121, 600, 0, 151, 302, false},
        {"3 at 200: an exact half goes down", 3, 200, 6, 0, 2, 5, false},
        {"1000 at 0", 1000, 0, 2000, 1, 449, 900, true},
        {"1000 at 120", 1000, 120, 2000, 276, 449, 1450, true},
        {"1000 at 0 with a clock behind the store: never past the live end", 1000, 0, 600, 1, 449, 600, true},
        // Wrapped: the 7200 newest oldest first, p from p x 6749 / 240.
        {"9000 at 0", 9000, 0, 18000, 0, 449, 4498, false},
        {"9000 at 120: 3374.5 goes down", 9000, 120, 18000, 3374, 449, 11246, true},
    };
    for (const auto& c : cases) {
        Store store;
        for (int k = 0; k < c.samples; ++k)
            store.Add(int16_t(k % 1000));
        CTrendPlot plot;
        plot.Init(kDeviceMoval, 0);
        plot.Select(store.Read(), c.elapsed);  // the live snapshot
        plot.Scroll(CTrendPlot::kThumbPosition, c.position);
        const CTrendPlot::Shown shown = plot.Select(store.Read(), c.elapsed);
        EXPECT_EQ(shown.first, c.first) << c.what;
        EXPECT_EQ(shown.count, c.count) << c.what;
        EXPECT_EQ(shown.seconds, c.seconds) << c.what;
        EXPECT_EQ(shown.full, c.full) << c.what;
    }
}

TEST(TrendPlot, WrappedSnapshotIsOldestFirstAndPastPositionsFreezeIt)
{
    Store store;
    for (int k = 0; k < kTrendSamples + 100; ++k)
        store.Add(int16_t(k % 30000), uint8_t(k % 2));
    CTrendPlot plot;
    plot.Init(kDeviceMoval, 0);
    const CTrendPlot::Shown live = plot.Select(store.Read(), 0);
    const std::span<const int16_t> hr = plot.Snapshot(kTrendTypeHr);
    ASSERT_EQ(plot.SnapshotCount(), kTrendSamples);
    std::vector<int16_t> expected(kTrendSamples);
    std::iota(expected.begin(), expected.end(), int16_t(100));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), hr.begin()));
    EXPECT_EQ(plot.SnapshotFlags()[0], 0);  // sample 100
    EXPECT_EQ(live.first + live.count, kTrendSamples) << "live shows the newest";

    plot.Scroll(CTrendPlot::kLineLeft, 0);
    store.Add(-5);
    plot.Select(store.Read(), 0);
    EXPECT_EQ(plot.Snapshot(kTrendTypeHr)[kTrendSamples - 1], int16_t(kTrendSamples + 99)) << "frozen in the past";
}

TEST(TrendPlot, ScrollCodesStayWithinTheBar)
{
    const struct {
        int from;
        CTrendPlot::ScrollCode code;
        int thumb;
        int to;
    } cases[] = {
        {240, CTrendPlot::kLineRight, 0, 240}, {240, CTrendPlot::kLineLeft, 0, 239},
        {10, CTrendPlot::kPageLeft, 0, 0},     {230, CTrendPlot::kPageRight, 0, 240},
        {100, CTrendPlot::kPageRight, 0, 115}, {100, CTrendPlot::kThumbTrack, 37, 37},
        {100, CTrendPlot::kThumbPosition, 300, 240}, {100, CTrendPlot::kOtherCode, 5, 100},
    };
    for (const auto& c : cases) {
        CTrendPlot plot;
        plot.Scroll(CTrendPlot::kThumbPosition, c.from);
        plot.Scroll(c.code, c.thumb);
        EXPECT_EQ(plot.Position(), c.to) << c.from << " " << c.code;
    }
}

TEST(TrendDrawing, BandsMapValuesAndPickPens)
{
    const TrendGeometry g = MakeTrendGeometry(676, 424, 2);
    EXPECT_EQ(g.band, 210);
    EXPECT_EQ(g.col, 42);
    EXPECT_EQ(g.X(449), 15 * 42 - 1);
    const struct {
        int band;
        int32_t value;
        int32_t y;
    } points[] = {
        {0, 100, 211}, {0, 200, 3}, {0, 150, 107}, {0, 250, 3}, {0, 0, 211},
        {1, 100, 421}, {1, 200, 217},
    };
    for (const auto& p : points)
        EXPECT_EQ(TrendY(p.value, 200, 100, p.band, g), p.y) << p.band << " " << p.value;
    EXPECT_EQ(MakeTrendGeometry(676, 424, 0).band, 0) << "no channel, no division";

    const TrendChannel resp{kTrendTypeResp, 40, 0};
    const std::vector<int16_t> samples = {10, 10, 10, 10};
    const std::vector<uint8_t> flags = {1, 0x80, 0, 0x80};
    const std::vector<TrendPoint> curve = TrendCurve(0, resp, samples, flags, g);
    const TrendPen expected[] = {TrendPen::kChannel, TrendPen::kChannel, TrendPen::kMagenta, TrendPen::kMagenta};
    for (std::size_t k = 0; k < curve.size(); ++k)
        EXPECT_EQ(curve[k].pen, expected[k]) << k;
    EXPECT_EQ(TrendPenFor(kTrendTypeHr, 0x80, TrendPen::kChannel), TrendPen::kMagenta);
    EXPECT_EQ(TrendPenFor(kTrendTypeHr, 0x02, TrendPen::kMagenta), TrendPen::kChannel);
    EXPECT_EQ(TrendPenFor(kTrendTypeSpO2, 0, TrendPen::kMagenta), TrendPen::kChannel);
}

TEST(TrendDrawing, LabelsInTheChosenUnits)
{
    const TrendUnits stored{1, 1, 1};
    const TrendUnits converted{0, 0, 0};
    const struct {
        int type;
        uint16_t top, bottom;
        uint8_t source;
        TrendUnits units;
        const char *caption, *topText, *bottomText;
    } cases[] = {
        {kTrendTypeHr, 120, 80, 0, stored, "HR\r\n(BPM)", "120", "80"},
        {kTrendTypeHr, 120, 80, 1, stored, "PR\r\n(BPM)", "120", "80"},
        {kTrendTypeSpO2, 100, 80, 0, stored, "SPO2\r\n(%)", "100", "80"},
        {kTrendTypeTemp, 1100, 900, 0, stored, "TEMP\r\n(\u00B0F)", "110.0", "90.0"},
        {kTrendTypeTemp, 1100, 900, 0, converted, "TEMP\r\n(\u00B0C)", "43.3", "32.2"},
        {kTrendTypeCo2, 80, 0, 0, stored, "CO2[Exp]\r\n(%)", "8.0", "0.0"},
        {kTrendTypeCo2, 80, 40, 0, converted, "CO2[Exp]\r\n(mmHg)", "60.0", "30.0"},
        {kTrendTypeO2, 1000, 100, 0, converted, "O2[Exp]\r\n(mmHg)", "750.0", "75.0"},
    };
    for (const auto& c : cases) {
        const TrendLabel label = TrendLabels(c.type, c.top, c.bottom, c.source, c.units, 10.0f);
        EXPECT_EQ(label.caption, c.caption);
        EXPECT_EQ(label.top, c.topText) << c.caption;
        EXPECT_EQ(label.bottom, c.bottomText) << c.caption;
    }
}
