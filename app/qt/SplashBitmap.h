#pragma once
// Bitmap 500, the splash screen's picture, drawn at run time.
#include <QImage>

constexpr int kSplashBitmap = 500;

QImage SplashBitmap();
