#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <set>
#include <vector>

#include "view/qt/ViewBitmaps.h"

namespace {

using Loader = std::function<std::vector<QPixmap>(int id)>;

std::vector<QPixmap> AsFrames(const QPixmap& pixmap)
{
    return pixmap.isNull() ? std::vector<QPixmap>{} : std::vector<QPixmap>{pixmap};
}

const Loader kBitmap = [](int id) { return AsFrames(LoadBitmapResource(id)); };
const Loader kIcon = [](int id) { return AsFrames(LoadIconResource(id)); };
const Loader kAnimation = [](int id) { return LoadAnimationFrames(id); };

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
    struct Case {
        const char* what;
        const Loader& load;
        int id;
        std::size_t frames;
        QSize size;
    };
    const QSize square(32, 32);
    std::vector<Case> cases = {
        {"QRS heart", kBitmap, kBitmapQrsHeart, 1, square},
        {"BP off", kBitmap, kBitmapBpOff, 1, square},
        {"alarm tones off", kBitmap, kBitmapAlarmTonesOff, 1, square},
        {"alarms off", kBitmap, kBitmapAlarmsOff, 1, square},
        {"alarms on", kBitmap, kBitmapAlarmsOn, 1, square},
        {"BP measuring", kAnimation, kAnimationBpMeasuring, 8, square},
        {"BP pause", kAnimation, kAnimationBpPause, 8, square},
        {"connecting", kAnimation, kAnimationConnecting, 6, QSize(48, 24)},
    };
    for (int level = 0; level < kRemoteBatteryLevels; ++level)
        cases.push_back({"remote battery", kIcon, RemoteBatteryIconId(level), 1, square});

    std::vector<QImage> stills;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << " " << c.id);
        const std::vector<QPixmap> frames = c.load(c.id);
        ASSERT_EQ(frames.size(), c.frames);
        std::vector<QImage> images;
        for (const QPixmap& frame : frames) {
            EXPECT_EQ(frame.size(), c.size);
            images.push_back(frame.toImage().convertToFormat(QImage::Format_RGB32));
            EXPECT_TRUE(HasAFigure(images.back()));
        }
        ExpectAllDifferent(images);
        if (c.frames == 1)
            stills.push_back(images.front());
    }
    // No two states share a picture (the battery levels among them).
    ExpectAllDifferent(stills);

    for (int unknown : {0, -1, 165, 271, 375, 99999}) {
        EXPECT_TRUE(LoadBitmapResource(unknown).isNull()) << unknown;
        EXPECT_TRUE(LoadIconResource(unknown).isNull()) << unknown;
        EXPECT_TRUE(LoadAnimationFrames(unknown).empty()) << unknown;
    }
    // Each id belongs to one kind of image only.
    EXPECT_TRUE(LoadIconResource(kBitmapQrsHeart).isNull());
    EXPECT_TRUE(LoadBitmapResource(RemoteBatteryIconId(0)).isNull());
    EXPECT_TRUE(LoadAnimationFrames(kBitmapBpOff).empty());
}
