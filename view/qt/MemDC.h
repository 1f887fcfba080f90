#pragma once
// An off-screen copy of a target: drawing goes into an image of the
// rectangle, which is copied to the target in one piece when this goes. A
// printer target is drawn into directly.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <optional>

class CMemDC {
public:
    // The rectangle is filled with `background` either way.
    CMemDC(QPainter& target, const QRect& rect, const QColor& background, bool printing = false);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return m_memory ? *m_painter : m_target; }

private:
    QPainter& m_target;
    QRect m_rect;
    bool m_memory;
    QImage m_image;
    std::optional<QPainter> m_painter;
};
