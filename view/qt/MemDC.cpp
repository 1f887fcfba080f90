#include "view/qt/MemDC.h"

#include <cmath>

#include "view/qt/ViewMapping.h"

CMemDC::CMemDC(QPainter& target, const QRect& rect, const QColor& background) : m_target(target), m_rect(rect)
{
    const double ratio = m_target.device() != nullptr ? m_target.device()->devicePixelRatio() : 1.0;
    m_image = QImage(int(std::ceil(m_rect.width() * ratio)), int(std::ceil(m_rect.height() * ratio)),
                     QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(background);
    m_painter.emplace(&m_image);
    // The rectangle's corner is the image's origin.
    m_painter->translate(-m_rect.topLeft());
}

CMemDC::~CMemDC()
{
    m_painter.reset();
    m_target.drawImage(m_rect.topLeft(), m_image);
}

void CMemDC::PaintOr(const QPoint& at, const QImage& layer, const QRect& source)
{
    QPainter& painter = Painter();
    const double ratio = m_image.devicePixelRatio();
    const bool direct = layer.format() == m_image.format() && layer.devicePixelRatio() == ratio &&
                        painter.transform().type() <= QTransform::TxTranslate && !painter.hasClipping() &&
                        painter.compositionMode() == QPainter::CompositionMode_SourceOver;
    if (!direct) {
        ::PaintOr(painter, at, layer, source);
        return;
    }
    // Everything in the image's own pixels.
    const QPointF origin = painter.transform().map(QPointF(at)) * ratio;
    const QRectF pixels = ImagePixels(layer, source);
    QRect target(QPoint(int(std::lround(origin.x())), int(std::lround(origin.y()))), pixels.size().toSize());
    QPoint from = pixels.topLeft().toPoint();
    const QRect clipped = target & m_image.rect() & QRect(target.topLeft() - from, layer.size());
    if (clipped.isEmpty())
        return;
    from += clipped.topLeft() - target.topLeft();
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = 0; y < clipped.height(); ++y) {
        quint32* __restrict to = reinterpret_cast<quint32*>(bits + (clipped.top() + y) * stride) + clipped.left();
        const quint32* __restrict in = reinterpret_cast<const quint32*>(layer.constScanLine(from.y() + y)) + from.x();
        for (int x = 0; x < clipped.width(); ++x)
            to[x] |= in[x];
    }
}
