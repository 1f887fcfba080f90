#include "app/qt/BitmapResources.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "app/FrameButtons.h"
#include "app/qt/SplashBitmap.h"

namespace {

// Glyphs are drawn antialiased on a transparent tile and flattened onto the
// usual light bar colour, so edges carry no magenta fringe once masked.
const QColor kBarColor(240, 240, 240);

QPolygonF EcgComplex(const QRectF& r)
{
    const double base = r.top() + r.height() * 0.65;
    auto at = [&](double fx, double fy) { return QPointF(r.left() + r.width() * fx, base - r.height() * fy); };
    return QPolygonF({at(0.0, 0.0), at(0.2, 0.0), at(0.28, 0.08), at(0.34, 0.0), at(0.42, 0.0), at(0.46, -0.1),
                      at(0.52, 0.62), at(0.58, -0.25), at(0.63, 0.0), at(0.75, 0.0), at(0.84, 0.12),
                      at(0.92, 0.0), at(1.0, 0.0)});
}

void DrawTrace(QPainter& p, const QRectF& r, const QColor& color)
{
    p.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(EcgComplex(r));
}

void DrawSlash(QPainter& p)
{
    p.setPen(QPen(QColor(200, 0, 0), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 27), QPointF(27, 5));
}

void DrawBell(QPainter& p, const QColor& fill)
{
    QPainterPath bell;
    bell.moveTo(8, 23);
    bell.cubicTo(10, 20, 9, 8, 16, 7);
    bell.cubicTo(23, 8, 22, 20, 24, 23);
    bell.closeSubpath();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(fill);
    p.drawPath(bell);
    p.drawEllipse(QPointF(16, 25), 2.2, 2.2);
    p.drawEllipse(QPointF(16, 5.5), 1.5, 1.5);
}

void DrawSpeaker(QPainter& p, bool waves)
{
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(90, 90, 90));
    p.drawPolygon(QPolygonF({QPointF(5, 12), QPointF(10, 12), QPointF(16, 6), QPointF(16, 26), QPointF(10, 20),
                             QPointF(5, 20)}));
    if (!waves)
        return;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 120, 0), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(14, 10, 8, 12), -60 * 16, 120 * 16);
    p.drawArc(QRectF(14, 6, 14, 20), -60 * 16, 120 * 16);
}

void DrawWarning(QPainter& p, const QColor& fill)
{
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(QPolygonF({QPointF(16, 4), QPointF(29, 27), QPointF(3, 27)}));
    p.setPen(QPen(Qt::black, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 12), QPointF(16, 19));
    p.drawPoint(QPointF(16, 23.5));
}

void DrawLabel(QPainter& p, const QRectF& r, const QString& text, const QColor& color, int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void DrawArrow(QPainter& p, QPointF from, QPointF to)
{
    p.setPen(QPen(QColor(0, 0, 160), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
    for (QPointF tip : {to, from}) {
        const QPointF dir = (tip == to) ? d : -d;
        const QPointF nn(-dir.y(), dir.x());
        p.drawLine(tip, tip - dir * 4 + nn * 3);
        p.drawLine(tip, tip - dir * 4 - nn * 3);
    }
}

// One 32 x 32 tile of the tool-bar strip.
void DrawToolBarImage(QPainter& p, int index)
{
    const QRectF trace(3, 6, 26, 20);
    const QColor green(0, 140, 0);
    switch (index) {
    case 3: // R-wave marker shown
        DrawTrace(p, trace, green);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 0, 0));
        p.drawPolygon(QPolygonF({QPointF(16.5, 5), QPointF(12.5, 0.5), QPointF(20.5, 0.5)}));
        break;
    case 20: // R-wave marker hidden
        DrawTrace(p, trace, green);
        DrawSlash(p);
        break;
    case 4: // QRS tone on
        DrawSpeaker(p, true);
        break;
    case 19: // QRS tone off
        DrawSpeaker(p, false);
        DrawSlash(p);
        break;
    case 5: // sweep rate
        DrawTrace(p, QRectF(3, 2, 26, 18), green);
        DrawArrow(p, QPointF(4, 26), QPointF(28, 26));
        break;
    case 6: // gain
        DrawTrace(p, QRectF(1, 4, 22, 24), green);
        DrawArrow(p, QPointF(27, 4), QPointF(27, 28));
        break;
    case 7: // alarm tones sounding
        DrawBell(p, QColor(250, 200, 0));
        break;
    case 21: // alarm tones silenced
        DrawBell(p, QColor(250, 200, 0));
        DrawSlash(p);
        break;
    case 8: // alarms on
        DrawWarning(p, QColor(250, 200, 0));
        break;
    case 24: // alarms off
        DrawWarning(p, QColor(200, 200, 200));
        DrawSlash(p);
        break;
    case 9: // ECG bandwidth
        DrawTrace(p, QRectF(3, 1, 26, 14), green);
        DrawLabel(p, QRectF(0, 15, 32, 16), QStringLiteral("Hz"), Qt::black, 13);
        break;
    case 10: // recording off
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(210, 0, 0));
        p.drawEllipse(QPointF(16, 16), 9, 9);
        break;
    case 23: // recording
        p.setPen(QPen(QColor(210, 0, 0), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 0, 0));
        p.drawEllipse(QPointF(16, 16), 8, 8);
        break;
    case 11: // gas selection
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(60, 150, 220));
        p.drawRoundedRect(QRectF(10, 8, 12, 21), 4, 4);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(14, 3, 4, 5));
        DrawLabel(p, QRectF(10, 12, 12, 14), QStringLiteral("A"), Qt::white, 11);
        break;
    case 14: // tracings running: halt them
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(9, 7, 5, 18));
        p.drawRect(QRectF(18, 7, 5, 18));
        break;
    case 25: // tracings halted: play them
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        p.drawPolygon(QPolygonF({QPointF(10, 6), QPointF(25, 16), QPointF(10, 26)}));
        break;
    case 15: // start blood pressure
        DrawLabel(p, QRectF(0, 0, 32, 32), QStringLiteral("BP"), green, 15);
        break;
    case 22: // blood pressure running: stop it
        DrawLabel(p, QRectF(0, -3, 32, 24), QStringLiteral("BP"), QColor(210, 0, 0), 14);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 0, 0));
        p.drawRect(QRectF(12, 22, 8, 8));
        break;
    default: // images no button uses: a plain tile
        p.setPen(QPen(QColor(150, 150, 150), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(6, 6, 20, 20), 3, 3);
        break;
    }
}

QImage FlattenOnMask(const QImage& drawn)
{
    QImage out(drawn.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            if (alpha == 0) {
                line[x] = kMaskColor.rgb();
                continue;
            }
            auto mix = [alpha](int c, int bar) { return (c * alpha + bar * (255 - alpha)) / 255; };
            const QRgb c = in[x];
            line[x] = qRgb(mix(qRed(c), kBarColor.red()), mix(qGreen(c), kBarColor.green()),
                           mix(qBlue(c), kBarColor.blue()));
            // A blend that lands on the mask colour would vanish.
            if (line[x] == kMaskColor.rgb())
                line[x] = qRgb(254, 0, 255);
        }
    }
    return out;
}

QImage ToolBarStrip()
{
    const int size = kToolBarImageSize;
    QImage drawn(size * kToolBarImageCount, size, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kToolBarImageCount; ++i) {
        p.save();
        p.translate(i * size, 0);
        p.setClipRect(QRect(0, 0, size, size));
        DrawToolBarImage(p, i);
        p.restore();
    }
    p.end();
    return FlattenOnMask(drawn);
}

} // namespace

QImage LoadFrameBitmap(int id)
{
    switch (id) {
    case kToolBarBitmap: return ToolBarStrip();
    case kSplashBitmap: return SplashBitmap();
    default: return {};
    }
}

QPixmap MaskedPixmap(const QImage& image)
{
    if (image.isNull())
        return {};
    QImage withAlpha = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < withAlpha.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(withAlpha.scanLine(y));
        for (int x = 0; x < withAlpha.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == (kMaskColor.rgb() & 0x00FFFFFFu))
                line[x] = 0;
    }
    return QPixmap::fromImage(withAlpha);
}
