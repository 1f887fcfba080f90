#include "view/qt/LayerPainter.h"

#include <cmath>

#include "view/qt/ColorStatic.h"
#include "view/qt/ViewMapping.h"

namespace {

QPolygonF ToPolygon(std::span<const StripPoint> points)
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const StripPoint& p : points)
        polygon.append(QPointF(p.x, p.y));
    return polygon;
}

}  // namespace

CLayerPainter::CLayerPainter(QImage& layer, const QTransform& mapping, QRect& dirty)
    : m_painter(&layer), m_dirty(dirty)
{
    m_painter.setTransform(mapping);
    m_painter.setRenderHint(QPainter::Antialiasing);
}

CLayerPainter::~CLayerPainter()
{
    // A partly covered pixel on each side of what was drawn.
    if (!m_drawn.isEmpty())
        m_dirty |= m_drawn.adjusted(-1, -1, 1, 1).toAlignedRect();
}

QPen CLayerPainter::PenOf(COLORREF color, double width, Qt::PenCapStyle cap) const
{
    return LogicalPen(color, width, m_painter.deviceTransform(), cap);
}

void CLayerPainter::Touch(const QRectF& logical, double penPixels)
{
    const double ratio = m_painter.device()->devicePixelRatio();
    const double half = penPixels / ratio / 2;
    m_drawn |= m_painter.transform().mapRect(logical).normalized().adjusted(-half, -half, half, half);
}

double CLayerPainter::SnapX(double x) const
{
    const QTransform& device = m_painter.deviceTransform();
    return (std::round(device.m11() * x + device.dx()) - device.dx()) / device.m11();
}

void CLayerPainter::Erase(double from, double to, double top, double bottom, const QColor& background)
{
    const QRectF area(QPointF(from, top), QPointF(to, bottom));
    m_painter.fillRect(area, background);
    Touch(area, 0);
}

void CLayerPainter::Polyline(std::span<const StripPoint> points, COLORREF color, double width, Qt::PenCapStyle cap)
{
    const QPolygonF line = ToPolygon(points);
    const QPen pen = PenOf(color, width, cap);
    m_painter.setPen(pen);
    m_painter.drawPolyline(line);
    Touch(line.boundingRect(), pen.widthF());
}

void CLayerPainter::Polygon(std::span<const StripPoint> points, COLORREF color, double width)
{
    const QPolygonF shape = ToPolygon(points);
    const QPen pen = PenOf(color, width, Qt::RoundCap);
    m_painter.setPen(pen);
    m_painter.setBrush(ToQColor(color));
    m_painter.drawPolygon(shape);
    m_painter.setBrush(Qt::NoBrush);
    Touch(shape.boundingRect(), pen.widthF());
}

void CLayerPainter::FillUnder(std::span<const StripPoint> trace, double floor, COLORREF color)
{
    QPolygonF area = ToPolygon(trace);
    if (area.isEmpty())
        return;
    // The edges shared with the areas before and after: a partly covered
    // pixel there would be blended twice and show as a dark seam.
    area.front().setX(SnapX(area.front().x()));
    area.back().setX(SnapX(area.back().x()));
    area.append(QPointF(area.back().x(), floor));
    area.append(QPointF(area.front().x(), floor));
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ToQColor(color));
    m_painter.drawPolygon(area);
    m_painter.setBrush(Qt::NoBrush);
    Touch(area.boundingRect(), 0);
}
