#include "demo/qt/DemoIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(QPen(QColor(160, 160, 160), s / 32));
    painter.setBrush(QColor(16, 32, 48));
    painter.drawRoundedRect(QRectF(s / 32, s / 32, s - s / 16, s - s / 16), s / 8, s / 8);
    // One beat: baseline, a small P, the QRS spike, a T wave.
    QPainterPath trace;
    trace.moveTo(s * 0.08, s * 0.6);
    trace.lineTo(s * 0.28, s * 0.6);
    trace.quadTo(s * 0.33, s * 0.5, s * 0.38, s * 0.6);
    trace.lineTo(s * 0.44, s * 0.6);
    trace.lineTo(s * 0.5, s * 0.16);
    trace.lineTo(s * 0.56, s * 0.8);
    trace.lineTo(s * 0.61, s * 0.6);
    trace.quadTo(s * 0.72, s * 0.42, s * 0.8, s * 0.6);
    trace.lineTo(s * 0.92, s * 0.6);
    painter.setPen(QPen(QColor(64, 232, 96), s / 14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trace);
    return pixmap;
}

} // namespace

QIcon DemoIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
