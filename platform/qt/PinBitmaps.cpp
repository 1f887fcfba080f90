#include "platform/qt/PinBitmaps.h"

#include <QPainter>
#include <QPalette>

namespace {

const QColor kShadowGrey(128, 128, 128);
const QColor kFaceGrey(192, 192, 192);
const QColor kLightGrey(223, 223, 223);

// A push pin drawn in the classic greys without antialiasing, so that the
// shades map exactly onto the palette. Pinned shows the head from above,
// unpinned the pin lying on its side; vertical turns both a quarter.
QImage PinImage(bool pinned, bool vertical)
{
    QImage image(22, 22, QImage::Format_RGB32);
    image.fill(kFaceGrey);
    QPainter p(&image);
    if (vertical) {
        p.translate(22, 0);
        p.rotate(90);
    }
    if (pinned) {
        p.setPen(Qt::black);
        p.setBrush(kShadowGrey);
        p.drawEllipse(QRect(4, 4, 13, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(6, 6, 7, 7));
        p.setBrush(kLightGrey);
        p.drawEllipse(QRect(8, 8, 5, 5));
        p.setPen(Qt::black);
        p.drawPoint(11, 11);
    } else {
        p.setPen(Qt::black);
        p.drawLine(1, 11, 7, 11); // needle
        p.setBrush(kLightGrey);
        p.drawRect(QRect(7, 8, 7, 6)); // body
        p.setBrush(kShadowGrey);
        p.drawRect(QRect(14, 4, 4, 14)); // head
        p.setPen(Qt::white);
        p.drawLine(8, 9, 13, 9);
        p.drawLine(15, 5, 15, 16);
    }
    p.end();
    return image;
}

void MapGreys(QImage& image, const QPalette& palette)
{
    const QRgb shadow = palette.color(QPalette::Dark).rgb();
    const QRgb face = palette.color(QPalette::Button).rgb();
    const QRgb light = palette.color(QPalette::Midlight).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == kShadowGrey.rgb())
                line[x] = shadow;
            else if (line[x] == kFaceGrey.rgb())
                line[x] = face;
            else if (line[x] == kLightGrey.rgb())
                line[x] = light;
        }
    }
}

} // namespace

QImage LoadPinBitmap(int id, const QPalette* mapGreysTo)
{
    QImage image;
    switch (id) {
    case kPinnedBitmap:
        image = PinImage(true, false);
        break;
    case kPinnedBitmapVertical:
        image = PinImage(true, true);
        break;
    case kUnpinnedBitmap:
        image = PinImage(false, false);
        break;
    case kUnpinnedBitmapVertical:
        image = PinImage(false, true);
        break;
    default:
        return {};
    }
    if (mapGreysTo)
        MapGreys(image, *mapGreysTo);
    return image;
}
