#include "view/qt/ViewDrawing.h"

#include <QLineF>
#include <QPointF>
#include <cmath>
#include <numbers>

QPixmap BlackCanvas(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::black);
    return pixmap;
}

void Smooth(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
}

namespace {

// The gauge's scale runs clockwise from lower left to lower right.
constexpr double kStartDegrees = 225;
constexpr double kSpanDegrees = 270;

QPointF OnCircle(const QPointF& centre, double radius, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

} // namespace

void DrawGauge(QPainter& painter, const QColor& dial, const QColor& needle, double reading)
{
    const QPointF centre(16, 16);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(dial, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(3, 3, 26, 26), int((kStartDegrees - kSpanDegrees) * 16), int(kSpanDegrees * 16));
    painter.setPen(QPen(dial, 1.5, Qt::SolidLine, Qt::RoundCap));
    for (int tick = 0; tick <= 6; ++tick) {
        const double degrees = kStartDegrees - kSpanDegrees * tick / 6;
        painter.drawLine(OnCircle(centre, 9, degrees), OnCircle(centre, 11.5, degrees));
    }
    const double degrees = kStartDegrees - kSpanDegrees * reading;
    painter.setPen(QPen(needle, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, OnCircle(centre, 10, degrees));
    painter.setPen(Qt::NoPen);
    painter.setBrush(dial);
    painter.drawEllipse(centre, 2.2, 2.2);
}

void DrawSlash(QPainter& painter, const QColor& color, bool mirrored, double width)
{
    const QLineF line = mirrored ? QLineF(27, 5, 5, 27) : QLineF(5, 5, 27, 27);
    painter.setPen(QPen(Qt::black, width * 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(line);
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(line);
}
