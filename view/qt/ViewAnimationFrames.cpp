#include "view/qt/ViewBitmaps.h"

#include <QPainter>
#include <QPointF>
#include <cmath>
#include <numbers>

#include "view/qt/ViewDrawing.h"

namespace {

const QColor kDial(225, 225, 225);
const QColor kNeedle(255, 60, 50);
const QColor kHand(0, 200, 255);
const QColor kLit(30, 150, 255);
const QColor kUnlit(55, 55, 65);

// The cuff inflating and measuring: the needle climbs the scale.
std::vector<QPixmap> BpMeasuring()
{
    constexpr int kFrames = 8;
    std::vector<QPixmap> frames;
    for (int frame = 0; frame < kFrames; ++frame) {
        QPixmap pixmap = BlackCanvas(32, 32);
        QPainter painter(&pixmap);
        Smooth(painter);
        DrawGauge(painter, kDial, kNeedle, (frame + 0.5) / kFrames);
        frames.push_back(pixmap);
    }
    return frames;
}

// Waiting for the next measurement: a clock whose hand goes round.
std::vector<QPixmap> BpPause()
{
    constexpr int kFrames = 8;
    const QPointF centre(16, 16);
    std::vector<QPixmap> frames;
    for (int frame = 0; frame < kFrames; ++frame) {
        QPixmap pixmap = BlackCanvas(32, 32);
        QPainter painter(&pixmap);
        Smooth(painter);
        painter.setPen(QPen(kDial, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, 13, 13);
        painter.setPen(QPen(kDial, 1.5, Qt::SolidLine, Qt::RoundCap));
        for (int hour = 0; hour < 12; hour += 3) {
            const double radians = hour * std::numbers::pi / 6;
            const QPointF along(std::sin(radians), -std::cos(radians));
            painter.drawLine(centre + along * 9, centre + along * 11);
        }
        const double radians = frame * 2 * std::numbers::pi / kFrames;
        const QPointF hand(std::sin(radians), -std::cos(radians));
        painter.setPen(QPen(kHand, 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre, centre + hand * 10);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kDial);
        painter.drawEllipse(centre, 2, 2);
        frames.push_back(pixmap);
    }
    return frames;
}

// Looking for the remote: waves run out from an aerial on both sides.
std::vector<QPixmap> Connecting()
{
    // Which of the three arcs each frame lights, inner to outer.
    constexpr bool kLitArcs[][3] = {
        {false, false, false}, {true, false, false}, {true, true, false},
        {true, true, true},    {false, true, true},  {false, false, true},
    };
    const QPointF centre(24, 12);
    std::vector<QPixmap> frames;
    for (const auto& lit : kLitArcs) {
        QPixmap pixmap = BlackCanvas(48, 24);
        QPainter painter(&pixmap);
        Smooth(painter);
        painter.setBrush(Qt::NoBrush);
        for (int arc = 0; arc < 3; ++arc) {
            const double radius = 6 + 5 * arc;
            const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
            painter.setPen(QPen(lit[arc] ? kLit : kUnlit, 2.4, Qt::SolidLine, Qt::RoundCap));
            painter.drawArc(circle, 140 * 16, 80 * 16); // left
            painter.drawArc(circle, -40 * 16, 80 * 16); // right
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(centre, 2.5, 2.5);
        frames.push_back(pixmap);
    }
    return frames;
}

} // namespace

std::vector<QPixmap> LoadAnimationFrames(int id)
{
    switch (id) {
    case kAnimationBpMeasuring:
        return BpMeasuring();
    case kAnimationBpPause:
        return BpPause();
    case kAnimationConnecting:
        return Connecting();
    default:
        return {};
    }
}
