#pragma once
// A bitmap that can be run through pixel processors.
#include <vector>

#include <QImage>

#include "app/ImageProcessors.h"

class CEnBitmap {
public:
    explicit CEnBitmap(const QImage& image = QImage(), COLORREF background = 0xFFFFFF);

    // Runs the processors over the bitmap (see ApplyProcessorsToImage); the
    // result replaces the bitmap only when every step succeeded.
    bool ApplyProcessors(const std::vector<C32BitImageProcessor*>& processors);

    const QImage& Image() const { return m_image; }
    void SetImage(const QImage& image) { m_image = image; }
    COLORREF BackgroundColor() const { return m_background; }
    void SetBackgroundColor(COLORREF color) { m_background = color; }

private:
    QImage m_image;
    COLORREF m_background;
};
