#include <gtest/gtest.h>

#include <QImage>

#include "tests/view/qt/EventLoopWait.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/ViewBitmaps.h"

TEST(AnimateCtrl, PlaysTheOpenedFramesAndStopsOnTheFirst)
{
    CAnimateCtrl control;
    EXPECT_FALSE(control.Play()) << "nothing open";
    EXPECT_FALSE(control.Open(99999));
    EXPECT_TRUE(control.pixmap().isNull());

    const std::vector<QPixmap> frames = LoadAnimationFrames(kAnimationBpMeasuring);
    ASSERT_GE(frames.size(), 2u);
    const QImage first = frames.front().toImage();
    const QImage last = frames.back().toImage();
    auto shown = [&control] { return control.pixmap().toImage(); };

    ASSERT_TRUE(control.Open(kAnimationBpMeasuring));
    EXPECT_FALSE(control.IsPlaying());
    EXPECT_EQ(shown(), first);

    ASSERT_TRUE(control.Play());
    EXPECT_TRUE(control.IsPlaying());
    EXPECT_TRUE(ProcessEventsUntil([&] { return shown() != first; }));
    const QImage playing = shown();
    EXPECT_TRUE(control.Play()) << "again while playing";
    EXPECT_EQ(shown(), playing) << "Play again must not rewind";
    // Endless: round again to the first frame.
    EXPECT_TRUE(ProcessEventsUntil([&] { return shown() == first; }));
    control.Stop();
    EXPECT_FALSE(control.IsPlaying());
    EXPECT_EQ(shown(), first);

    // Once through: it ends by itself on the last frame.
    ASSERT_TRUE(control.Play(false));
    EXPECT_TRUE(ProcessEventsUntil([&] { return !control.IsPlaying(); }));
    EXPECT_EQ(shown(), last);
}
