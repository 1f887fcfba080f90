#include "platform/qt/PushPinButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/PinBitmaps.h"

CPushPinButton::CPushPinButton(QWidget* parent) : QAbstractButton(parent)
{
    PreSubclassWindow();
}

void CPushPinButton::PreSubclassWindow()
{
    setFocusPolicy(Qt::NoFocus);
    // Moves with the button up tell us when a release went elsewhere.
    setMouseTracking(true);
    LoadPinBitmaps();
    FitToBitmap();
}

void CPushPinButton::SetPinned(bool pinned)
{
    if (m_bPinned == pinned)
        return;
    m_bPinned = pinned;
    update();
}

void CPushPinButton::LoadPinBitmaps()
{
    const QPalette colors = palette();
    m_pinnedBitmap = LoadPinBitmap(m_bOrientation ? kPinnedBitmapVertical : kPinnedBitmap, &colors);
    m_unpinnedBitmap = LoadPinBitmap(m_bOrientation ? kUnpinnedBitmapVertical : kUnpinnedBitmap, &colors);
}

void CPushPinButton::SetPinState()
{
    m_pinnedBitmap = QImage();
    m_unpinnedBitmap = QImage();
    LoadPinBitmaps();
    const QRect old = geometry();
    FitToBitmap();
    if (parentWidget())
        parentWidget()->update(old);
    update();
}

void CPushPinButton::FitToBitmap()
{
    m_rect = geometry();
    if (m_pinnedBitmap.isNull())
        return;
    // Same place, the pinned bitmap's size; no repaint is asked for here.
    resize(m_pinnedBitmap.size());
    updateGeometry();
}

QSize CPushPinButton::sizeHint() const
{
    return m_pinnedBitmap.isNull() ? QSize(16, 16) : m_pinnedBitmap.size();
}

void CPushPinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawItem(painter);
}

void CPushPinButton::DrawItem(QPainter& painter) const
{
    const bool showPinned = m_bPinned || (m_bTracking && m_bPointerInside);
    painter.drawImage(QPoint(0, 0), showPinned ? m_pinnedBitmap : m_unpinnedBitmap);
}

void CPushPinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown();
    QAbstractButton::mousePressEvent(event);
}

void CPushPinButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bTracking && !(event->buttons() & Qt::LeftButton))
        OnCaptureChanged(); // the release went to someone else
    else
        OnMouseMove(event->position().toPoint());
    QAbstractButton::mouseMoveEvent(event);
}

void CPushPinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (!m_bTracking) {
            // The grab was lost on the way: no click for the owner either.
            event->ignore();
            return;
        }
        OnLButtonUp(event->position().toPoint());
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void CPushPinButton::OnLButtonDown()
{
    // Qt keeps sending the mouse to the pressed widget until the release.
    m_bTracking = true;
}

void CPushPinButton::OnMouseMove(const QPoint& point)
{
    if (!m_bTracking)
        return;
    const bool inside = rect().contains(point);
    if (inside != m_bPointerInside) {
        m_bPointerInside = inside;
        update();
    }
}

void CPushPinButton::OnLButtonUp(const QPoint& point)
{
    // Only a press that began on the pin can flip it.
    if (!m_bTracking)
        return;
    m_bTracking = false;
    if (rect().contains(point))
        m_bPinned = !m_bPinned;
    update();
}

void CPushPinButton::OnCaptureChanged()
{
    if (!m_bTracking)
        return;
    m_bTracking = false;
    setDown(false);
    update();
}

void CPushPinButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        OnCaptureChanged();
    QAbstractButton::changeEvent(event);
}

void CPushPinButton::hideEvent(QHideEvent* event)
{
    OnCaptureChanged();
    QAbstractButton::hideEvent(event);
}
