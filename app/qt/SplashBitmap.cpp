#include "app/qt/SplashBitmap.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 300;

// A few beats of ECG across the band, in the view's trace green.
void DrawEcgBand(QPainter& p, const QRectF& band)
{
    QPainterPath path;
    const double beat = band.width() / 4.0;
    const double base = band.center().y();
    path.moveTo(band.left(), base);
    for (int i = 0; i < 4; ++i) {
        const double x = band.left() + i * beat;
        auto at = [&](double fx, double fy) { return QPointF(x + beat * fx, base - band.height() * fy); };
        path.lineTo(at(0.2, 0.0));
        path.quadTo(at(0.26, 0.12), at(0.32, 0.0));
        path.lineTo(at(0.42, 0.0));
        path.lineTo(at(0.46, -0.08));
        path.lineTo(at(0.52, 0.48));
        path.lineTo(at(0.58, -0.2));
        path.lineTo(at(0.63, 0.0));
        path.quadTo(at(0.75, 0.16), at(0.88, 0.0));
        path.lineTo(at(1.0, 0.0));
    }
    p.setPen(QPen(QColor(0x3C, 0xFF, 0x59), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

} // namespace

QImage SplashBitmap()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(12, 32, 64));
    sky.setColorAt(1.0, QColor(4, 10, 24));
    p.fillRect(image.rect(), sky);

    DrawEcgBand(p, QRectF(24, 150, kWidth - 48, 90));

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 36, kWidth, 56), Qt::AlignCenter, QStringLiteral("Norq Quorin"));

    QFont line(QStringLiteral("Arial"));
    line.setPixelSize(17);
    p.setFont(line);
    p.setPen(QColor(170, 200, 230));
    p.drawText(QRect(0, 96, kWidth, 26), Qt::AlignCenter, QStringLiteral("Wireless Veterinary Monitoring"));

    p.setPen(QColor(110, 130, 160));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}
