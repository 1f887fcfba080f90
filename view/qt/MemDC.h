#pragma once
// An off-screen copy of a target: drawing goes into an image of the
// rectangle, which is copied to the target in one piece when this goes.
// The image has the target's pixel density, so that what is drawn is as sharp as the target can show it.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <optional>

class CMemDC {
public:
    // The rectangle starts filled with `background`.
    CMemDC(QPainter& target, const QRect& rect, const QColor& background);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return *m_painter; }

    // `layer`'s pixels under `source` (in its device independent pixels)
    // OR-ed onto what is drawn at `at`, so that a black layer shows what
    // lies under it. Pixel by pixel: the painter would hand a tall area to
    // worker threads, which costs more than it saves on a narrow one.
    void PaintOr(const QPoint& at, const QImage& layer, const QRect& source);

private:
    QPainter& m_target;
    QRect m_rect;
    QImage m_image;
    std::optional<QPainter> m_painter;
};
