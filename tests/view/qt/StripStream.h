#pragma once
// A view sweeping four strips on the screen, fed a batch of frames at a
// time, and the comparison of what it shows with a full repaint.
#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <vector>

#include "app/QuorinAppCore.h"
#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "view/qt/QuorinView.h"

inline constexpr std::uintptr_t kStreamNewData = DefaultComWParam(kComNewData, kNewDataMessages);

// A Tarvik Plus with ECG, SpO2, CO2 and O2 on four strips, shown.
inline CQuorinView& ShowFourStrips(CQuorinView& view, RemoteConfiguration& config, bool grid)
{
    config.showSpO2 = 1;
    config.showResp = 1;
    config.showResp2 = 1;
    config.showO2 = 1;
    config.maxEcgWaveforms = 1;
    config.grid = grid ? 1 : 0;
    config.rMarker = 1;
    g_liveData.deviceKind = kDeviceTarvikPlus;
    g_liveData.featureBits = kFeatureEcg | kFeatureSpO2 | kFeatureCO2 | kFeatureO2 | kFeatureTemp;
    g_liveData.sampleRate = 400;
    g_liveData.lastBeatOffset = 1;
    view.ResetWaveformStrips();
    view.LayoutNumerics();
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    return view;
}

// `count` frames of a beating ECG with markers, a pleth wave, breaths (or
// a steady `co2`) and O2.
inline void WriteFrames(int& sample, int count, int16_t co2 = -1)
{
    for (int i = 0; i < count; ++i, ++sample) {
        SampleFrame& frame = BeginRingWrite();
        const double t = sample / 400.0;
        frame.ecg = int16_t(1400 * std::exp(-std::pow(std::fmod(t, 0.5) - 0.1, 2) / 0.0002));
        frame.pleth = uint8_t(128 + 100 * std::sin(2 * M_PI * t * 2));
        frame.co2 = co2 >= 0 ? co2 : int16_t(std::fmod(t, 3.0) < 1.5 ? 900 : 80);
        frame.o2 = int16_t(1000 + 400 * std::sin(2 * M_PI * t / 3.0));
        frame.flags = SampleFrame::kFlagEcgValid | (sample % 200 == 40 ? SampleFrame::kFlagBeat : 0);
        if (sample % 1000 == 500)
            frame.event.code = CEcgEvent::kMarker;
        CommitRingWrite();
    }
}

// Posted work (queued repaints, the paints themselves) done.
inline void Settle()
{
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
}

// The view's paints as they come: their regions, and how many composed
// less than a tenth of it.
class PaintRecorder : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_paused) {
            const auto* widget = static_cast<QWidget*>(object);
            const QRegion& region = static_cast<QPaintEvent*>(event)->region();
            int64_t pixels = 0;
            for (const QRect& r : region)
                pixels += int64_t(r.width()) * r.height();
            if (pixels * 10 < int64_t(widget->width()) * widget->height())
                ++small;
            regions.push_back(region);
        }
        return false;
    }
    void Pause(bool paused) { m_paused = paused; }
    std::vector<QRegion> regions;
    int small = 0;

private:
    bool m_paused = false;
};

// Pixels of `view`'s own drawing (not its boxes, which are windows of
// their own, painted when their text changes) that differ between two
// pictures of it; `compared` counts the pixels looked at.
inline int DifferingPixels(const QImage& a, const QImage& b, const QWidget& view, int& compared)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    if (left.size() != right.size())
        return -1;
    const double ratio = a.devicePixelRatio();
    QImage boxes(left.size(), QImage::Format_Mono);
    boxes.fill(0);
    for (const QWidget* child : view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible())
            continue;
        const QRect r = QRect(QPoint(int(child->x() * ratio), int(child->y() * ratio)), child->size() * ratio) &
                        boxes.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                boxes.setPixel(x, y, 1);
    }
    int differing = 0;
    compared = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x)
            if (boxes.pixelIndex(x, y) == 0) {
                ++compared;
                differing += left.pixel(x, y) != right.pixel(x, y) ? 1 : 0;
            }
    return differing;
}
