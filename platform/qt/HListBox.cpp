#include "platform/qt/HListBox.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>

CHListBox::CHListBox(QWidget* parent) : QListWidget(parent)
{
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void CHListBox::FitTextExtent(const QString& text)
{
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int extent = QFontMetrics(font()).horizontalAdvance(text) + 3 * border;
    if (extent <= m_nMaxTextExtent)
        return;
    m_nMaxTextExtent = extent;
    updateGeometries();
}

void CHListBox::updateGeometries()
{
    QListWidget::updateGeometries();
    // Never narrower than the widest text fitted so far.
    QScrollBar* bar = horizontalScrollBar();
    const int wanted = std::max(0, m_nMaxTextExtent - viewport()->width());
    if (bar->maximum() < wanted) {
        bar->setRange(0, wanted);
        bar->setPageStep(viewport()->width());
    }
}
