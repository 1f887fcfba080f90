#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <set>
#include <vector>

#include "view/qt/ViewBitmaps.h"

namespace {

// A blank image is as useless on the table as a missing one.
bool HasAFigure(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours.size() > 1;
}

void ExpectAllDifferent(const std::vector<QImage>& images)
{
    for (std::size_t a = 0; a < images.size(); ++a) {
        for (std::size_t b = a + 1; b < images.size(); ++b)
            EXPECT_NE(images[a], images[b]) << "images " << a << " and " << b;
    }
}

} // namespace

TEST(ViewBitmaps, EveryIdGivesItsImagesAtTheirSizeAndNoOtherIdDoes)
{
    using Loader = std::function<std::vector<QPixmap>(int id)>;
    const Loader bitmap = [](int id) { return std::vector<QPixmap>{LoadBitmapResource(id)}; };
    const Loader icon = [](int id) { return std::vector<QPixmap>{LoadIconResource(id)}; };
    const Loader animation = [](int id) { return LoadAnimationFrames(id); };
    struct Case {
        const Loader& load;
        int id;
        std::size_t frames;
        QSize size;
    };
    const QSize square(32, 32);
    std::vector<Case> cases = {
        {bitmap, kBitmapQrsHeart, 1, square},      {bitmap, kBitmapBpOff, 1, square},
        {bitmap, kBitmapAlarmTonesOff, 1, square}, {bitmap, kBitmapAlarmsOff, 1, square},
        {bitmap, kBitmapAlarmsOn, 1, square},      {animation, kAnimationBpMeasuring, 8, square},
        {animation, kAnimationBpPause, 8, square}, {animation, kAnimationConnecting, 6, QSize(48, 24)},
    };
    for (int level = 0; level < kRemoteBatteryLevels; ++level)
        cases.push_back({icon, RemoteBatteryIconId(level), 1, square});

    std::vector<QImage> stills;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::vector<QImage> images;
        for (const QPixmap& frame : c.load(c.id)) {
            EXPECT_FALSE(frame.isNull());
            EXPECT_EQ(frame.size(), c.size);
            images.push_back(frame.toImage().convertToFormat(QImage::Format_RGB32));
            EXPECT_TRUE(HasAFigure(images.back()));
        }
        EXPECT_EQ(images.size(), c.frames);
        ExpectAllDifferent(images);
        if (c.frames == 1 && !images.empty())
            stills.push_back(images.front());
    }
    ExpectAllDifferent(stills); // no two states, battery levels among them, look alike

    for (int unknown : {0, -1, 165, 271, 375, 99999}) {
        EXPECT_TRUE(LoadBitmapResource(unknown).isNull()) << unknown;
        EXPECT_TRUE(LoadIconResource(unknown).isNull()) << unknown;
        EXPECT_TRUE(LoadAnimationFrames(unknown).empty()) << unknown;
    }
    EXPECT_TRUE(LoadIconResource(kBitmapQrsHeart).isNull()) << "an id of another kind";
    EXPECT_TRUE(LoadAnimationFrames(kBitmapBpOff).empty()) << "an id of another kind";
}
