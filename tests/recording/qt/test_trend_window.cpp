// The trend window over a fake view: its controls, what it draws, its
// timers (called directly, in place of the clock) and its scroll bar.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <vector>

#include "link/LiveData.h"
#include "platform/qt/PinBitmaps.h"
#include "platform/qt/PushPinButton.h"
#include "recording/qt/Trend.h"

namespace {

class FakeTrendView : public ITrendView {
public:
    std::vector<std::vector<int16_t>> rings = std::vector<std::vector<int16_t>>(
        kTrendChannelTypes, std::vector<int16_t>(kTrendSamples));
    std::vector<uint8_t> flags = std::vector<uint8_t>(kTrendSamples, 1);
    int32_t index = 0;
    int16_t wraps = 0;
    bool timerOn = true;
    bool open = true;
    int32_t scaled = 0;

    void Fill(int count, int16_t value)
    {
        for (int k = 0; k < count; ++k) {
            for (auto& ring : rings)
                ring[std::size_t(index)] = value;
            index = (index + 1) % kTrendSamples;
        }
    }
    TrendStoreRead TrendStore() const override
    {
        TrendStoreRead read;
        for (int i = 0; i < kTrendChannelTypes; ++i)
            read.rings[std::size_t(i)] = rings[std::size_t(i)];
        read.flags = flags;
        read.index = index;
        read.wraps = wraps;
        return read;
    }
    bool TrendTimerOn() const override { return timerOn; }
    bool TrendOpen() const override { return open; }
    int32_t TrendScaledIndex() const override { return scaled; }
    void SetTrendScaledIndex(int32_t value) override { scaled = value; }
    std::string WindowTitle() const override { return "Patient ID: Rex - Tarvik Plus"; }
    int64_t ElapsedSeconds() const override { return 1000; }
    TrendUnits Units() const override { return {}; }
};

class TrendWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLiveStore();
        g_liveData.deviceKind = kDeviceTarvikPlus;
        g_liveData.featureBits = kFeatureEcg | kFeatureNibp;
    }
    void TearDown() override { ResetLiveStore(); }

    template <class T>
    T* Find(CTrend& trend, const char* id)
    {
        return trend.findChild<T*>(QString::fromLatin1(id));
    }
    // Pixels of a channel's colour inside the plot area of the image.
    static int ColouredPixels(const CTrend& trend, int channelType)
    {
        const QImage& image = trend.Image();
        const COLORREF c = TrendChannelColor(channelType);
        const QRgb wanted = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        const int plotLeft = image.width() - 676;
        int found = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = plotLeft + 3; x < image.width(); ++x)
                found += image.pixel(x, y) == wanted ? 1 : 0;
        return found;
    }

    FakeTrendView m_view;
};

}  // namespace

TEST_F(TrendWindow, StartsLiveWithItsTextsAndTheTurnedPin)
{
    CTrend trend(m_view);
    EXPECT_EQ(trend.objectName(), "540");
    EXPECT_EQ(trend.windowTitle(), "Patient ID: Rex - Tarvik Plus - Trend information");
    EXPECT_EQ(Find<QLineEdit>(trend, "3630")->text(), "------");
    EXPECT_EQ(Find<QLabel>(trend, "3640")->text(), "Displayed trend plot ends at");
    EXPECT_EQ(Find<QLabel>(trend, "3660")->text(), "after connection of Wireless Remote.");
    EXPECT_EQ(Find<QLabel>(trend, "3620")->text(),
              "Displaying past trend information. Move bottom\nbar to the right to display real time trend.");
    EXPECT_EQ(Find<QLabel>(trend, "3670")->text(),
              "Displaying real time trend. Move bottom\nbar to the left to display past trend.");
    for (const char* id : {"3620", "3670", "3650"})
        EXPECT_FALSE(Find<QWidget>(trend, id)->isVisibleTo(&trend)) << id;
    for (const char* id : {"3630", "3640", "3660"})
        EXPECT_TRUE(Find<QWidget>(trend, id)->isVisibleTo(&trend)) << id;
    const QPalette colors = trend.Pin().palette();
    EXPECT_EQ(trend.Pin().PinnedBitmap(), LoadPinBitmap(kPinnedBitmapVertical, &colors));
    EXPECT_FALSE(trend.Pin().IsPinned());
    for (int id : {CTrend::kCloseTimer, CTrend::kRedrawTimer, CTrend::kRescaleTimer})
        EXPECT_TRUE(trend.TimerRunning(id)) << id;
}

TEST_F(TrendWindow, DrawsItsChannelsAndShowsTheBarFrom450Samples)
{
    for (const int samples : {449, 450}) {
        m_view = FakeTrendView();
        m_view.Fill(samples, 150);
        CTrend trend(m_view);
        trend.OnTimer(CTrend::kRedrawTimer);
        EXPECT_FALSE(trend.TimerRunning(CTrend::kRedrawTimer));
        EXPECT_EQ(Find<QScrollBar>(trend, "3650")->isVisibleTo(&trend), samples == 450) << samples;
        EXPECT_EQ(Find<QLabel>(trend, "3670")->isVisibleTo(&trend), samples == 450) << samples;
        EXPECT_EQ(Find<QLineEdit>(trend, "3630")->text(), "0:00:16:40");
        EXPECT_GT(ColouredPixels(trend, kTrendTypeHr), 400) << samples;
        EXPECT_GT(ColouredPixels(trend, kTrendTypeMap), 400) << samples;
        EXPECT_EQ(ColouredPixels(trend, kTrendTypeSpO2), 0) << "not measured";
    }
    g_liveData.deviceKind = kDeviceUnknown;
    CTrend unknown(m_view);
    unknown.OnTimer(CTrend::kRedrawTimer);
    EXPECT_EQ(ColouredPixels(unknown, kTrendTypeHr), 0) << "kind 0: the frame alone";
    EXPECT_EQ(Find<QLineEdit>(unknown, "3630")->text(), "------");
}

TEST_F(TrendWindow, RescalesOnlyWhileTheSamplingRuns)
{
    m_view.Fill(20, 170);
    CTrend trend(m_view);
    m_view.timerOn = false;
    trend.OnTimer(CTrend::kRescaleTimer);
    EXPECT_EQ(m_view.scaled, 0);
    m_view.timerOn = true;
    trend.OnTimer(CTrend::kRescaleTimer);
    EXPECT_EQ(m_view.scaled, 20);
    EXPECT_EQ(trend.Plot().Channels().channel[1].bottom, 130) << "MAP 170 under its cap";
}

TEST_F(TrendWindow, ClosesByItselfUnlessPinnedAndWhenTheViewAsks)
{
    for (const bool pinned : {false, true}) {
        CTrend trend(m_view);
        trend.show();
        QSignalSpy finished(&trend, &QDialog::finished);
        trend.Pin().SetPinned(pinned);
        for (int tick = 0; tick < 150; ++tick)
            trend.OnTimer(CTrend::kCloseTimer);
        EXPECT_EQ(finished.count(), pinned ? 0 : 1) << pinned;
        if (pinned) {
            m_view.open = false;
            trend.OnTimer(CTrend::kCloseTimer);
            ASSERT_EQ(finished.count(), 1);
            m_view.open = true;
        }
        EXPECT_EQ(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
        EXPECT_FALSE(trend.TimerRunning(CTrend::kCloseTimer)) << "its timers end with it";
    }
}

TEST_F(TrendWindow, ScrollingBackFreezesThePlotAndStopsTheRescale)
{
    m_view.Fill(2000, 120);
    CTrend trend(m_view);
    trend.OnTimer(CTrend::kRedrawTimer);
    auto* past = Find<QLabel>(trend, "3620");
    auto* live = Find<QLabel>(trend, "3670");
    trend.OnHScroll(CTrendPlot::kPageLeft, 0);
    EXPECT_EQ(Find<QScrollBar>(trend, "3650")->value(), 225);
    EXPECT_TRUE(past->isVisibleTo(&trend));
    EXPECT_FALSE(live->isVisibleTo(&trend));
    EXPECT_FALSE(trend.TimerRunning(CTrend::kRescaleTimer));
    // (1000 - 900) x 225 / 240 + 900
    EXPECT_EQ(Find<QLineEdit>(trend, "3630")->text(), "0:00:16:33");
    trend.OnHScroll(CTrendPlot::kThumbPosition, 240);
    EXPECT_FALSE(past->isVisibleTo(&trend));
    EXPECT_TRUE(live->isVisibleTo(&trend));
    EXPECT_TRUE(trend.TimerRunning(CTrend::kRescaleTimer));
    EXPECT_EQ(Find<QLineEdit>(trend, "3630")->text(), "0:00:16:40");
}
