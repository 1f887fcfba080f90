#pragma once
// Shapes shared by the view's still images and its animations.
#include <QColor>
#include <QPainter>
#include <QPixmap>

// A black canvas and a painter on it that smooths edges.
QPixmap BlackCanvas(int width, int height);
void Smooth(QPainter& painter);

// A pressure gauge filling a 32 x 32 box: its dial open at the bottom, the
// needle at `reading` from 0 (empty) to 1 (full scale).
void DrawGauge(QPainter& painter, const QColor& dial, const QColor& needle, double reading);

// A slash from top left to bottom right across a 32 x 32 box (mirrored:
// from top right), edged in black so that it stands out from what it
// crosses.
void DrawSlash(QPainter& painter, const QColor& color, bool mirrored = false, double width = 3);
