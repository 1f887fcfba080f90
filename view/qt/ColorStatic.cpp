#include "view/qt/ColorStatic.h"

#include <QPainter>

#include "app/QuorinAppCore.h"

QColor ToQColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

COLORREF ToColorRef(const QColor& color)
{
    return RGB(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
               static_cast<std::uint8_t>(color.blue()));
}

CColorStatic::CColorStatic(QWidget* parent)
    : QLabel(parent), m_bkColor(ToColorRef(palette().color(QPalette::Button)))
{
    // The text starts in the first colour of the scheme in force.
    if (const CQuorinAppCore* app = CQuorinAppCore::Instance())
        m_textColor = app->m_config.backgroundColor;
}

void CColorStatic::SetBkColor(COLORREF color)
{
    m_bkColor = color;
    repaint();
}

void CColorStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_bkColor));
    painter.setPen(ToQColor(m_textColor));
    painter.setFont(font());
    int flags = static_cast<int>(alignment());
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    painter.drawText(contentsRect(), flags, text());
}
