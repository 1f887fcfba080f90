#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include "platform/qt/PushPinButton.h"

namespace {

// What the button shows right now, as the screen would get it.
QImage Shown(CPushPinButton& button)
{
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage AsShown(const QImage& bitmap)
{
    return bitmap.convertToFormat(QImage::Format_RGB32);
}

class PushPin : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent.resize(200, 100);
        m_button = new CPushPinButton(&m_parent);
        m_button->move(30, 20);
        m_parent.show();
        QCoreApplication::processEvents();
        ASSERT_NE(AsShown(m_button->PinnedBitmap()), AsShown(m_button->UnpinnedBitmap()));
    }

    QPoint Inside() const { return m_button->rect().center(); }
    QPoint Outside() const { return m_button->rect().bottomRight() + QPoint(15, 15); }

    QWidget m_parent;
    CPushPinButton* m_button = nullptr;
};

} // namespace

TEST_F(PushPin, PressAndReleaseInsideFlipsThePin)
{
    EXPECT_FALSE(m_button->IsPinned());
    EXPECT_EQ(Shown(*m_button), AsShown(m_button->UnpinnedBitmap()));
    int clicks = 0;
    QObject::connect(m_button, &QAbstractButton::clicked, [&] { ++clicks; });

    QTest::mouseClick(m_button, Qt::LeftButton, {}, Inside());
    EXPECT_TRUE(m_button->IsPinned());
    EXPECT_FALSE(m_button->IsTracking());
    EXPECT_EQ(Shown(*m_button), AsShown(m_button->PinnedBitmap()));
    EXPECT_EQ(clicks, 1) << "the owner hears of the click";

    QTest::mouseClick(m_button, Qt::LeftButton, {}, Inside());
    EXPECT_FALSE(m_button->IsPinned());
    EXPECT_EQ(Shown(*m_button), AsShown(m_button->UnpinnedBitmap()));
}

TEST_F(PushPin, LeavingWhileHeldShowsUnpinnedUntilThePointerReturns)
{
    QTest::mousePress(m_button, Qt::LeftButton, {}, Inside());
    EXPECT_TRUE(m_button->IsTracking());
    QTest::mouseMove(m_button, Inside());
    EXPECT_TRUE(m_button->IsPointerInside());
    EXPECT_EQ(Shown(*m_button), AsShown(m_button->PinnedBitmap())) << "held inside shows the pin it would make";

    QTest::mouseMove(m_button, Outside());
    EXPECT_FALSE(m_button->IsPointerInside());
    EXPECT_EQ(Shown(*m_button), AsShown(m_button->UnpinnedBitmap()));

    QTest::mouseMove(m_button, Inside());
    EXPECT_EQ(Shown(*m_button), AsShown(m_button->PinnedBitmap()));

    QTest::mouseRelease(m_button, Qt::LeftButton, {}, Inside());
    EXPECT_TRUE(m_button->IsPinned());
}

TEST_F(PushPin, ReleaseOutsideKeepsTheState)
{
    for (bool pinned : {false, true}) {
        m_button->SetPinned(pinned);
        QTest::mousePress(m_button, Qt::LeftButton, {}, Inside());
        QTest::mouseMove(m_button, Outside());
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, Outside());
        EXPECT_EQ(m_button->IsPinned(), pinned);
        EXPECT_FALSE(m_button->IsTracking());
        EXPECT_EQ(Shown(*m_button), AsShown(pinned ? m_button->PinnedBitmap() : m_button->UnpinnedBitmap()));
    }
}

TEST_F(PushPin, LosingTheGrabEndsTrackingWithoutAFlip)
{
    int clicks = 0;
    QObject::connect(m_button, &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::mousePress(m_button, Qt::LeftButton, {}, Inside());
    ASSERT_TRUE(m_button->IsTracking());
    m_parent.hide(); // a deactivation or popup takes the mouse the same way
    EXPECT_FALSE(m_button->IsTracking());
    EXPECT_FALSE(m_button->IsPinned());
    m_parent.show();
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, Inside());
    EXPECT_FALSE(m_button->IsPinned()) << "a release after the grab was lost is not a click";

    // A move with the button already up means the release went elsewhere.
    QTest::mousePress(m_button, Qt::LeftButton, {}, Inside());
    QMouseEvent lateMove(QEvent::MouseMove, QPointF(Inside()), QPointF(m_button->mapToGlobal(Inside())),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_button, &lateMove);
    EXPECT_FALSE(m_button->IsTracking());
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, Inside());
    EXPECT_FALSE(m_button->IsPinned());
    EXPECT_EQ(clicks, 0);
}

TEST_F(PushPin, FitsThePinnedBitmapWhereItStands)
{
    EXPECT_EQ(m_button->size(), m_button->PinnedBitmap().size());
    m_button->move(40, 50);
    const QImage horizontal = m_button->PinnedBitmap();
    m_button->SetOrientation(true);
    m_button->SetPinState();
    EXPECT_EQ(m_button->pos(), QPoint(40, 50));
    EXPECT_EQ(m_button->size(), m_button->PinnedBitmap().size());
    EXPECT_NE(m_button->PinnedBitmap(), horizontal) << "the other orientation has its own bitmaps";
}

TEST(PushPinColors, GreyShadesFollowThePalette)
{
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Button, QColor(10, 120, 30));
    palette.setColor(QPalette::Dark, QColor(1, 2, 3));
    parent.setPalette(palette);
    CPushPinButton button(&parent);
    button.LoadPinBitmaps();
    const QImage pinned = AsShown(button.PinnedBitmap());
    EXPECT_EQ(pinned.pixel(0, 0), QColor(10, 120, 30).rgb()) << "the face grey is the button colour";
    bool darkFound = false;
    for (int y = 0; y < pinned.height() && !darkFound; ++y)
        for (int x = 0; x < pinned.width(); ++x)
            darkFound = darkFound || pinned.pixel(x, y) == QColor(1, 2, 3).rgb();
    EXPECT_TRUE(darkFound) << "the shadow grey is the dark colour";
}
