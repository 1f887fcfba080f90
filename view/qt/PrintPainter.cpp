#include "view/qt/PrintPainter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygon>

#include "view/qt/ColorStatic.h"

namespace {

QFont PrintFontOf(PrintFont id)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kPrintFontHeights[id]);
    font.setWeight(id == kPrintFontText || id == kPrintFontEvent ? QFont::Normal : QFont::Bold);
    font.setItalic(id == kPrintFontSeconds);
    return font;
}

QPolygon PolygonOf(const std::vector<PrintPoint>& points)
{
    QPolygon polygon;
    polygon.reserve(int(points.size()));
    for (const PrintPoint& p : points)
        polygon.append(QPoint(p.x, p.y));
    return polygon;
}

QRectF RectOf(const PrintItem& item)
{
    return QRectF(QPointF(item.points[0].x, item.points[0].y), QPointF(item.points[1].x, item.points[1].y));
}

}  // namespace

PrintResources MakePrintResources(bool demoMode, const QString& folder)
{
    PrintResources r;
    for (int i = 0; i < kPrintFontCount; ++i)
        r.fonts[std::size_t(i)] = PrintFontOf(PrintFont(i));
    for (const char* name : {"customlogo.bmp", "logo.bmp"}) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        if (QFileInfo::exists(path) && r.logo.load(path))
            break;
    }
    if (demoMode)
        r.demoPicture = MakeDemoPicture();
    return r;
}

QImage MakeDemoPicture()
{
    QImage image(1000, 1300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(330);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0xE4, 0xE4, 0xE4));
    painter.translate(500, 650);
    painter.rotate(-52);
    painter.drawText(QRectF(-700, -250, 1400, 500), Qt::AlignCenter, QStringLiteral("DEMO"));
    return image;
}

PrintTextWidth PrintTextWidthOf(const PrintResources& resources)
{
    std::array<QFontMetricsF, kPrintFontCount> metrics = {
        QFontMetricsF(resources.fonts[0]), QFontMetricsF(resources.fonts[1]), QFontMetricsF(resources.fonts[2]),
        QFontMetricsF(resources.fonts[3]), QFontMetricsF(resources.fonts[4]),
    };
    return [metrics](PrintFont font, const std::string& text) {
        return int32_t(std::ceil(metrics[font].horizontalAdvance(QString::fromStdString(text))));
    };
}

void PaintPrintPage(QPainter& painter, const PrintPage& page, const PrintResources& resources, double dotsPerInch)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(dotsPerInch / 2540.0, dotsPerInch / 2540.0);
    painter.translate(page.origin.x, page.origin.y);
    painter.scale(page.scale, page.scale);
    for (const PrintItem& item : page.items) {
        const QColor color = ToQColor(item.color);
        switch (item.kind) {
        case PrintItemKind::kText: {
            const QFont& font = resources.fonts[item.font];
            painter.setFont(font);
            painter.setPen(color);
            const PrintPoint at = item.points.front();
            painter.drawText(QPointF(at.x, at.y + QFontMetricsF(font).ascent()), QString::fromStdString(item.text));
            break;
        }
        case PrintItemKind::kLine: {
            QPen pen(color);
            pen.setWidth(item.pen);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(PolygonOf(item.points));
            break;
        }
        case PrintItemKind::kPolygon:
            painter.setPen(QPen(color, 0));
            painter.setBrush(color);
            painter.drawPolygon(PolygonOf(item.points));
            break;
        case PrintItemKind::kLogo:
            if (!resources.logo.isNull())
                painter.drawImage(RectOf(item), resources.logo);
            break;
        case PrintItemKind::kDemoPicture:
            if (!resources.demoPicture.isNull())
                painter.drawImage(RectOf(item), resources.demoPicture);
            break;
        }
    }
    painter.restore();
}
