#include "view/qt/ViewBitmaps.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "view/qt/ViewDrawing.h"

namespace {

constexpr int kSize = 32;
const QColor kRed(230, 25, 35);
const QColor kAmber(255, 165, 0);
const QColor kGreen(40, 200, 60);
const QColor kYellow(255, 215, 0);
const QColor kGrey(150, 150, 150);
const QColor kOutline(220, 220, 220);

QPixmap QrsHeart()
{
    QPixmap pixmap = BlackCanvas(kSize, kSize);
    QPainter painter(&pixmap);
    Smooth(painter);
    QPainterPath heart;
    heart.moveTo(16, 29);
    heart.cubicTo(9, 22.5, 2, 17.5, 2, 10.5);
    heart.cubicTo(2, 6, 5.5, 3, 9.5, 3);
    heart.cubicTo(12.5, 3, 15, 5, 16, 7.5);
    heart.cubicTo(17, 5, 19.5, 3, 22.5, 3);
    heart.cubicTo(26.5, 3, 30, 6, 30, 10.5);
    heart.cubicTo(30, 17.5, 23, 22.5, 16, 29);
    painter.fillPath(heart, kRed);
    // One beat: baseline, Q, the tall R, S, back to baseline, T.
    const QPolygonF beat({{0, 17}, {9, 17}, {10.5, 19}, {13.5, 6}, {16.5, 23}, {18.5, 17},
                          {21, 17}, {23, 14.5}, {25, 17}, {32, 17}});
    painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(beat);
    return pixmap;
}

QPixmap BpOff()
{
    QPixmap pixmap = BlackCanvas(kSize, kSize);
    QPainter painter(&pixmap);
    Smooth(painter);
    DrawGauge(painter, kGrey, kGrey, 0);
    DrawSlash(painter, kRed);
    return pixmap;
}

// A bell in a 32 x 32 box: knob, dome, flared lip and clapper.
void DrawBell(QPainter& painter, const QColor& color)
{
    QPainterPath bell;
    bell.moveTo(5.5, 23);
    bell.cubicTo(8.5, 20, 9, 16.5, 9, 13);
    bell.cubicTo(9, 8.5, 12, 5.5, 16, 5.5);
    bell.cubicTo(20, 5.5, 23, 8.5, 23, 13);
    bell.cubicTo(23, 16.5, 23.5, 20, 26.5, 23);
    bell.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(bell);
    painter.drawRoundedRect(QRectF(4.5, 22, 23, 3), 1.5, 1.5);
    painter.drawEllipse(QPointF(16, 4.5), 1.8, 1.8);
    painter.drawEllipse(QPointF(16, 27.5), 2.5, 2.5);
}

QPixmap BellWithTones()
{
    QPixmap pixmap = BlackCanvas(kSize, kSize);
    QPainter painter(&pixmap);
    Smooth(painter);
    // A smaller bell leaves room for the sound on either side.
    painter.save();
    painter.translate(16, 16);
    painter.scale(0.66, 0.66);
    painter.translate(-16, -16);
    DrawBell(painter, kYellow);
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kYellow, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (double radius : {10.5, 14.5}) {
        const QRectF circle(16 - radius, 15 - radius, 2 * radius, 2 * radius);
        painter.drawArc(circle, 150 * 16, 60 * 16); // left
        painter.drawArc(circle, -30 * 16, 60 * 16); // right
    }
    return pixmap;
}

QPixmap BellSlashed()
{
    QPixmap pixmap = BlackCanvas(kSize, kSize);
    QPainter painter(&pixmap);
    Smooth(painter);
    DrawBell(painter, kYellow);
    DrawSlash(painter, kRed);
    return pixmap;
}

QPixmap BellCrossed()
{
    QPixmap pixmap = BlackCanvas(kSize, kSize);
    QPainter painter(&pixmap);
    Smooth(painter);
    DrawBell(painter, kGrey);
    // Thinner than a single slash, or the cross would hide the bell.
    DrawSlash(painter, kRed, false, 2);
    DrawSlash(painter, kRed, true, 2);
    return pixmap;
}

QPixmap RemoteBattery(int level)
{
    QPixmap pixmap = BlackCanvas(kSize, kSize);
    QPainter painter(&pixmap);
    // Square edges on whole pixels: crisp without smoothing.
    const QColor fill = level == 0 ? kRed : level == 1 ? kAmber : kGreen;
    const QColor outline = level == 0 ? kRed : kOutline;
    painter.setPen(Qt::NoPen);
    painter.setBrush(outline);
    painter.drawRect(0, 8, 29, 2);  // top
    painter.drawRect(0, 22, 29, 2); // bottom
    painter.drawRect(0, 8, 2, 16);  // left
    painter.drawRect(27, 8, 2, 16); // right
    painter.drawRect(29, 12, 3, 8); // terminal
    painter.setBrush(fill);
    for (int bar = 0; bar < level; ++bar)
        painter.drawRect(3 + 5 * bar, 11, 3, 10);
    return pixmap;
}

} // namespace

QPixmap LoadBitmapResource(int id)
{
    switch (id) {
    case kBitmapQrsHeart:
        return QrsHeart();
    case kBitmapBpOff:
        return BpOff();
    case kBitmapAlarmTonesOff:
        return BellSlashed();
    case kBitmapAlarmsOff:
        return BellCrossed();
    case kBitmapAlarmsOn:
        return BellWithTones();
    default:
        return {};
    }
}

QPixmap LoadIconResource(int id)
{
    for (int level = 0; level < kRemoteBatteryLevels; ++level) {
        if (id == RemoteBatteryIconId(level))
            return RemoteBattery(level);
    }
    return {};
}
