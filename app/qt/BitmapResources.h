#pragma once
// Our own bitmaps, drawn at run time and handed out under the resource ids
// the windows load them by. Magenta (255, 0, 255) marks transparent pixels.
#include <QColor>
#include <QImage>
#include <QPixmap>

inline const QColor kMaskColor(255, 0, 255);

// The bitmap of a resource id as a 32-bit image; a null image for an id we
// do not have.
QImage LoadFrameBitmap(int id);

// The image with its magenta pixels made transparent.
QPixmap MaskedPixmap(const QImage& image);
