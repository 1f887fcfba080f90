#include "view/qt/MemDC.h"

CMemDC::CMemDC(QPainter& target, const QRect& rect, const QColor& background, bool printing)
    : m_target(target), m_rect(rect), m_memory(!printing)
{
    if (!m_memory) {
        m_target.fillRect(m_rect, background);
        return;
    }
    m_image = QImage(m_rect.size(), QImage::Format_RGB32);
    m_image.fill(background);
    m_painter.emplace(&m_image);
    // The rectangle's corner is the image's origin.
    m_painter->translate(-m_rect.topLeft());
}

CMemDC::~CMemDC()
{
    if (!m_memory)
        return;
    m_painter.reset();
    m_target.drawImage(m_rect.topLeft(), m_image);
}
