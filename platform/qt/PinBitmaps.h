#pragma once
// The push pin's bitmaps, drawn at run time under the resource ids the
// button loads them by.
#include <QImage>

class QPalette;

constexpr int kPinnedBitmap = 550;
constexpr int kPinnedBitmapVertical = 560;
constexpr int kUnpinnedBitmap = 570;
constexpr int kUnpinnedBitmapVertical = 580;

// The pin bitmap of a resource id; a null image for another id. With a
// palette, the three classic grey shades (128, 192 and 223) become its
// dark, button and midlight colours.
QImage LoadPinBitmap(int id, const QPalette* mapGreysTo = nullptr);
