// What the screen shows while the strips sweep: after new frames only the
// changed parts are repainted, and the screen then shows what a full
// repaint shows.
#include <gtest/gtest.h>

#include <QScreen>

#include "app/MenuCommands.h"
#include "StripStream.h"
#include "recording/RecordingTestFiles.h"
#include "ViewFixture.h"
#include "view/SweepEngine.h"
#include "view/qt/ColorStatic.h"

namespace {

using ViewDrawing = QuorinViewTest;

}  // namespace

TEST_F(ViewDrawing, AfterEachBatchOnlyTheChangedPartsArePaintedAndTheScreenShowsAFullRepaint)
{
    // The recording line's time runs with the batches.
    COleDate now = COleDate::FromDate(2026, 12, 9, 10, 0, 0);
    ViewServices services;
    services.recordFiles = std::make_shared<WatchedFiles>();
    services.now = [&now] { return now; };
    CQuorinView& view = ShowFourStrips(Open(1280, 720, std::move(services)), m_app.m_config, true);
    view.m_rec.startupPending = false;
    PaintRecorder paints;
    view.installEventFilter(&paints);

    // Past the end of the ECG row and of the CO2 strip, with the probe's
    // message, a banner, the recording line and the pulse bar changing on
    // the way.
    int sample = 0;
    for (int batch = 0; batch < 230; ++batch) {
        now = COleDate(now.Value() + 0.08 / 86400);
        if (batch == 20) {
            view.RunCommand(menu::kRecord);
            ASSERT_TRUE(view.IsRecording());
        } else if (batch == 100) {
            g_gasStatus[9] = 2;
            g_gasStatus[8] = 5;
        } else if (batch == 140) {
            g_gasStatus[9] = 0;
        } else if (batch == 190) {
            view.ShowBanner(" Mark / Event ");
        }
        WriteFrames(sample, 32);
        view.OnDefaultComMsg(kStreamNewData, 0);
        Settle();
    }
    view.removeEventFilter(&paints);
    EXPECT_GT(paints.small, 200) << "most batches repaint a small part";
    EXPECT_TRUE(view.IsRecording());

    const QImage screen = view.screen()->grabWindow(view.winId()).toImage();
    int compared = 0;
    EXPECT_EQ(DifferingPixels(screen, view.grab().toImage(), view, compared), 0);
    EXPECT_GT(compared, view.width() * view.height() / 2);
    // The strips were drawn at all: the CO2 fill is on the screen.
    const StripLayout strips = PlanStrips(view.width(), view.height(), view.Metrics(), view.Layout().bandHeight,
                                          view.Roles().stripCount);
    const LayoutRect& co2 = strips.strips[view.Roles().respStrip];
    int filled = 0;
    for (int x = co2.left; x < co2.right; ++x)
        filled += (screen.pixel(x, co2.bottom - 3) & 0xFFFFFF) == (ToQColor(kCO2FillColor).rgb() & 0xFFFFFF);
    EXPECT_GT(filled, co2.Width() / 10);
}

TEST_F(ViewDrawing, TheFilledCo2TraceHasNoSeamsBetweenItsSegments)
{
    CQuorinView& view = ShowFourStrips(Open(1280, 720), m_app.m_config, false);
    const QRgb fill = ToQColor(kCO2FillColor).rgb();

    // A steady breath level drawn a few points at a time: one even area.
    int sample = 0;
    for (int batch = 0; batch < 60; ++batch) {
        WriteFrames(sample, 12 + batch % 7, 1800);
        view.OnDefaultComMsg(kStreamNewData, 0);
        Settle();
    }
    const QImage screen = view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const StripLayout strips = PlanStrips(view.width(), view.height(), view.Metrics(), view.Layout().bandHeight,
                                          view.Roles().stripCount);
    const LayoutRect& co2 = strips.strips[view.Roles().respStrip];
    // Under the trace and above the scale's marks, from the strip's left
    // edge until the sweep.
    const int y = co2.top + co2.Height() / 2 - 2;
    int x = co2.left + 2;
    ASSERT_EQ(screen.pixel(x, y), fill);
    int seams = 0;
    for (; x < co2.right && screen.pixel(x, y) != ToQColor(0).rgb(); ++x)
        seams += screen.pixel(x, y) != fill ? 1 : 0;
    EXPECT_GT(x - co2.left, co2.Width() / 20) << "the fill reaches along the strip";
    EXPECT_EQ(seams, 0);
}
