#pragma once
// Our own bitmaps, drawn at run time and handed out under the resource ids
// the windows load them by. Magenta (255, 0, 255) marks transparent pixels.
#include <QColor>
#include <QImage>
#include <QPixmap>

class QPalette;

// Resource ids of the push-pin bitmaps.
constexpr int kPinnedBitmap = 550;
constexpr int kPinnedBitmapVertical = 560;
constexpr int kUnpinnedBitmap = 570;
constexpr int kUnpinnedBitmapVertical = 580;

inline const QColor kMaskColor(255, 0, 255);

// The bitmap of a resource id as a 32-bit image; a null image for an id we
// do not have. With a palette, the three classic grey shades (128, 192 and
// 223) become its dark, button and midlight colours.
QImage LoadBitmapResource(int id, const QPalette* mapGreysTo = nullptr);

// The image with its magenta pixels made transparent.
QPixmap MaskedPixmap(const QImage& image);
