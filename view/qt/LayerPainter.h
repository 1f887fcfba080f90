#pragma once
// Drawing into a strip layer under a strip's logical mapping. It keeps the
// bounds of what it drew, in the layer's pixels, so that the view repaints
// only that part of the screen.
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QRect>
#include <span>

#include "platform/ColorRef.h"
#include "view/StripMarks.h"

class CLayerPainter {
public:
    // `dirty` grows by what is drawn until this goes.
    CLayerPainter(QImage& layer, const QTransform& mapping, QRect& dirty);
    ~CLayerPainter();
    CLayerPainter(const CLayerPainter&) = delete;
    CLayerPainter& operator=(const CLayerPainter&) = delete;

    // The background over x from..to, y top down to bottom.
    void Erase(double from, double to, double top, double bottom, const QColor& background);
    // A line `width` units wide (under the x scale) through the points.
    void Polyline(std::span<const StripPoint> points, COLORREF color, double width,
                  Qt::PenCapStyle cap = Qt::RoundCap);
    // A shape filled in `color` and outlined `width` units wide.
    void Polygon(std::span<const StripPoint> points, COLORREF color, double width);
    // The area between the trace and y = floor. Its two upright edges lie
    // on pixel boundaries, so that areas drawn side by side meet without a
    // seam.
    void FillUnder(std::span<const StripPoint> trace, double floor, COLORREF color);

private:
    QPen PenOf(COLORREF color, double width, Qt::PenCapStyle cap) const;
    // `logical` with `penPixels` of pen around it, in the layer's pixels.
    void Touch(const QRectF& logical, double penPixels);
    double SnapX(double x) const;

    QPainter m_painter;
    QRect& m_dirty;
    QRectF m_drawn;
};
