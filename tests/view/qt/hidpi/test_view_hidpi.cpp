// The view on a screen of twice the density: strips as sharp as the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "../StripStream.h"
#include "../ViewFixture.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/MemDC.h"

namespace {

// Every window of this program is on such a screen (read when the
// application object is made, after this).
const bool kTwiceTheDensity = [] { return setenv("QT_SCALE_FACTOR", "2", 1) == 0; }();

using ViewHighDensity = QuorinViewTest;

}  // namespace

TEST_F(ViewHighDensity, TheLayersAndTheOffScreenImageHaveTheWindowsPixels)
{
    ASSERT_TRUE(kTwiceTheDensity);
    CQuorinView& view = ShowFourStrips(Open(1200, 700), m_app.m_config, true);
    ASSERT_EQ(view.devicePixelRatio(), 2.0);
    Settle();
    const StripLayout strips = PlanStrips(view.width(), view.height(), view.Metrics(), view.Layout().bandHeight,
                                          view.Roles().stripCount);
    EXPECT_EQ(view.StripLayerRatio(), view.devicePixelRatio());
    EXPECT_GE(view.StripLayerSize().width(), strips.strips[0].Width());
    EXPECT_GE(view.StripLayerSize().height(), strips.strips[0].Height());

    QImage target(QSize(40, 30) * 2, QImage::Format_RGB32);
    target.setDevicePixelRatio(2);
    target.fill(Qt::black);
    {
        QPainter painter(&target);
        CMemDC memory(painter, QRect(5, 5, 20, 10), Qt::white);
        memory.Painter().fillRect(QRectF(10, 10, 0.5, 0.5), Qt::red);
    }
    EXPECT_EQ(target.pixelColor(20, 20), QColor(Qt::red)) << "half a window pixel is one of the image's";
    EXPECT_EQ(target.pixelColor(21, 21), QColor(Qt::white));
}

TEST_F(ViewHighDensity, GridLinesAreOneScreenPixelWideNotDoubled)
{
    CQuorinView& view = ShowFourStrips(Open(1200, 700), m_app.m_config, true);
    Settle();
    const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.width(), 2400);
    const StripLayout strips = PlanStrips(view.width(), view.height(), view.Metrics(), view.Layout().bandHeight,
                                          view.Roles().stripCount);
    // Along a row of the ECG strip between two lines of the grid and right
    // of the scale's texts: the runs of grid colour.
    const LayoutRect& ecg = strips.strips[0];
    const QRgb grid = ToQColor(m_app.m_config.gridColor).rgb();
    const int y = 2 * (ecg.top + ecg.Height() / 4);
    std::vector<int> runs;
    for (int x = 2 * (ecg.left + ecg.Width() / 5), run = 0; x < 2 * ecg.right - 4; ++x) {
        if (image.pixel(x, y) == grid) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    ASSERT_GE(runs.size(), 25u) << "the grid's 40 columns";
    EXPECT_EQ(std::count(runs.begin(), runs.end(), 1), std::ssize(runs)) << "every line one pixel wide";
}

TEST_F(ViewHighDensity, TheRepaintedPartsAddUpToAFullRepaint)
{
    CQuorinView& view = ShowFourStrips(Open(1200, 700), m_app.m_config, true);
    Settle();
    // What the screen holds, built as the window system builds it: each
    // paint's region drawn over the last.
    QImage screen = view.grab().toImage();
    PaintRecorder paints;
    view.installEventFilter(&paints);
    int sample = 0;
    for (int batch = 0; batch < 120; ++batch) {
        WriteFrames(sample, 32);
        view.OnDefaultComMsg(kStreamNewData, 0);
        Settle();
        paints.Pause(true);
        for (const QRegion& region : paints.regions)
            view.render(&screen, region.boundingRect().topLeft(), region);
        paints.regions.clear();
        paints.Pause(false);
    }
    view.removeEventFilter(&paints);
    EXPECT_GT(paints.small, 100);
    int compared = 0;
    EXPECT_EQ(DifferingPixels(screen, view.grab().toImage(), view, compared), 0);
    EXPECT_GT(compared, 0);
}
