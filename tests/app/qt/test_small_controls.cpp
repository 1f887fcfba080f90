#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

#include "app/qt/EnBitmap.h"
#include "app/qt/FontSubstitution.h"
#include "platform/qt/HListBox.h"
#include "platform/qt/Monitors.h"
#include "view/qt/ColorStatic.h"

namespace {

class GrowByTwo : public C32BitImageProcessor {
public:
    ImageSize ComputeDestinationSize(ImageSize source) const override { return {source.cx + 2, source.cy + 2}; }
};

class Refusing : public C32BitImageProcessor {
public:
    bool TransformPixels(const Pixel32*, ImageSize, Pixel32*, ImageSize) override { return false; }
};

QImage TwoPixels()
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(10, 20, 30));
    image.setPixel(1, 0, qRgb(255, 0, 255));
    return image;
}

} // namespace

TEST(Monitors, ListsTheScreensInOrderAndNothingBeyond)
{
    const CMonitors monitors;
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(monitors.GetCount(), screens.size());
    ASSERT_GT(monitors.GetCount(), 0);
    for (int i = 0; i < monitors.GetCount(); ++i) {
        const CMonitor* monitor = monitors.GetMonitor(i);
        ASSERT_NE(monitor, nullptr);
        EXPECT_EQ(monitor->GetHandle(), screens[i]);
        EXPECT_EQ(monitor->GetMonitorRect(), screens[i]->geometry());
    }
    EXPECT_EQ(monitors.GetMonitor(monitors.GetCount()), nullptr);
    EXPECT_EQ(monitors.GetMonitor(-1), nullptr);
    EXPECT_EQ(CMonitor().GetMonitorRect(), QRect()) << "a monitor that has gone has no rectangle";
}

TEST(HListBox, ExtentGrowsWithWiderTextAndNeverShrinks)
{
    CHListBox list;
    list.resize(120, 80);
    list.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(list.GetHorizontalExtent(), 0);

    const QString wide = QStringLiteral("20240101_101010.qre  Rex  Canine  a long patient line");
    list.FitTextExtent(wide);
    list.addItem(wide);
    const int extent = list.GetHorizontalExtent();
    EXPECT_GT(extent, QFontMetrics(list.font()).horizontalAdvance(wide));
    QCoreApplication::processEvents();
    EXPECT_GE(list.horizontalScrollBar()->maximum(), extent - list.viewport()->width());

    list.FitTextExtent(QStringLiteral("short"));
    list.addItem(QStringLiteral("short"));
    EXPECT_EQ(list.GetHorizontalExtent(), extent);
    list.clear();
    QCoreApplication::processEvents();
    EXPECT_GE(list.horizontalScrollBar()->maximum(), extent - list.viewport()->width())
        << "the range follows the stored extent, not the items";
}

TEST(Fonts, ArialAndCourierNewResolveToTheirTwins)
{
    InstallFontSubstitutes();
    EXPECT_EQ(QFont::substitute(QStringLiteral("Arial")).compare(QStringLiteral("Liberation Sans"), Qt::CaseInsensitive), 0);
    EXPECT_EQ(QFont::substitute(QStringLiteral("Courier New")).compare(QStringLiteral("Liberation Mono"), Qt::CaseInsensitive), 0);
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Courier New"))).family(), QStringLiteral("Liberation Mono"));
}

TEST(EnBitmap, EmptyListLeavesTheBitmap)
{
    CEnBitmap bitmap(TwoPixels(), 0xFFFFFF);
    EXPECT_TRUE(bitmap.ApplyProcessors({}));
    EXPECT_EQ(bitmap.Image(), TwoPixels());
}

TEST(EnBitmap, GrowingProcessorFillsWithTheBackground)
{
    CEnBitmap bitmap(TwoPixels(), RGB(0x11, 0x22, 0x33));
    GrowByTwo grow;
    ASSERT_TRUE(bitmap.ApplyProcessors({&grow}));
    const QImage& image = bitmap.Image();
    ASSERT_EQ(image.size(), QSize(4, 3));
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(3, 0), qRgb(0x11, 0x22, 0x33));
    EXPECT_EQ(image.pixel(0, 2), qRgb(0x11, 0x22, 0x33));

    CEnBitmap white(TwoPixels(), 0xFFFFFF);
    ASSERT_TRUE(white.ApplyProcessors({&grow}));
    EXPECT_EQ(white.Image().pixel(3, 2), qRgb(255, 255, 255));
}

TEST(EnBitmap, FailureKeepsTheBitmap)
{
    CEnBitmap bitmap(TwoPixels(), 0xFFFFFF);
    CImageGrayer gray;
    Refusing refusing;
    EXPECT_FALSE(bitmap.ApplyProcessors({&gray, &refusing}));
    EXPECT_EQ(bitmap.Image(), TwoPixels());
    CEnBitmap empty;
    EXPECT_FALSE(empty.ApplyProcessors({&gray}));
}

TEST(ColorStatic, PaintsItsBackgroundAndTextColours)
{
    CColorStatic box;
    box.resize(60, 20);
    box.SetBkColor(RGB(0, 0, 200));
    EXPECT_EQ(box.GetBkColor(), RGB(0, 0, 200));
    const QImage plain = box.grab().toImage();
    EXPECT_EQ(plain.pixelColor(2, 2), QColor(0, 0, 200));

    box.setText(QStringLiteral("WWWW"));
    box.setAlignment(Qt::AlignCenter);
    box.m_textColor = RGB(255, 255, 0);
    const QImage text = box.grab().toImage();
    bool yellow = false;
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x)
            yellow = yellow || text.pixelColor(x, y) == QColor(255, 255, 0);
    EXPECT_TRUE(yellow);
}
