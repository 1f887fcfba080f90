#pragma once
// The drawing conventions of the view in Qt terms: a logical window mapped
// onto a viewport with independent axes, one-pixel pens, and the OR copy
// that lets a black layer show what lies under it.
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "platform/ColorRef.h"
#include "view/qt/ColorStatic.h"

// Maps the window extent onto the viewport extent with the given origin; a
// negative extent flips that axis (y up).
inline QTransform Anisotropic(double windowWidth, double windowHeight, double viewportWidth, double viewportHeight,
                              double originX, double originY)
{
    return QTransform(viewportWidth / windowWidth, 0, 0, viewportHeight / windowHeight, originX, originY);
}

// A pen of width 0: one device pixel, whatever the mapping.
inline QPen HairlinePen(COLORREF color)
{
    QPen pen(ToQColor(color));
    pen.setWidth(0);
    pen.setCosmetic(true);
    return pen;
}

// The part of `image` under `source`, given in the image's own (device
// independent) pixels: an image made for a screen of higher density holds
// more pixels than that.
inline QRectF ImagePixels(const QImage& image, const QRect& source)
{
    const double ratio = image.devicePixelRatio();
    return QRectF(source.x() * ratio, source.y() * ratio, source.width() * ratio, source.height() * ratio);
}

// Draws `layer` with its pixels OR-ed onto what is there.
inline void PaintOr(QPainter& painter, const QPoint& at, const QImage& layer, const QRect& source)
{
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(QPointF(at), layer, ImagePixels(layer, source));
    painter.setCompositionMode(mode);
}

// A pen `logicalWidth` units wide under `mapping` (the painter's device
// transform, so that the width is the same on a denser screen), as the
// platform's geometric pens are: the width follows the x scale, whatever
// the y scale.
inline QPen LogicalPen(COLORREF color, double logicalWidth, const QTransform& mapping,
                       Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPen pen(ToQColor(color));
    pen.setCosmetic(true);
    pen.setWidthF(std::max(1.0, logicalWidth * std::abs(mapping.m11())));
    pen.setCapStyle(cap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}
