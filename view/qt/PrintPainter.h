#pragma once
// Paints a report page that the builder laid out, on a printer, a preview
// or an image, in hundredths of a millimetre scaled to the device.
#include <QFont>
#include <QImage>
#include <QString>
#include <array>

#include "view/PrintReport.h"

class QPainter;

// What a print job draws with: the fonts, the practice's logo and, in demo
// mode, the demo picture. Made when a job begins, dropped when it ends.
struct PrintResources {
    std::array<QFont, kPrintFontCount> fonts;
    QImage logo;
    QImage demoPicture;
};

// Fonts sized in the page's units; the logo from "customlogo.bmp", else
// "logo.bmp", in `folder` (none when neither loads).
PrintResources MakePrintResources(bool demoMode, const QString& folder = QStringLiteral("."));

// The "DEMO" picture laid over every page in demo mode, drawn in code.
QImage MakeDemoPicture();

// Text widths in the page's units for the builder.
PrintTextWidth PrintTextWidthOf(const PrintResources& resources);

// Paints the page, placed and scaled as it was laid out, with the painter's
// origin at the paper's corner and `dotsPerInch` device pixels per inch.
void PaintPrintPage(QPainter& painter, const PrintPage& page, const PrintResources& resources, double dotsPerInch);
