#pragma once
// The drawing conventions of the view in Qt terms: a logical window mapped
// onto a viewport with independent axes, one-pixel pens, and the OR copy
// that lets a black layer show what lies under it.
#include <QPainter>
#include <QPen>
#include <QTransform>

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

// Draws `layer` with its pixels OR-ed onto what is there.
inline void PaintOr(QPainter& painter, const QPoint& at, const QImage& layer, const QRect& source)
{
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(at, layer, source);
    painter.setCompositionMode(mode);
}
