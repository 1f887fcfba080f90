#include "patient/qt/DateTimeEditCtrlCalendarWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "patient/qt/DateTimeEditCtrl.h"
#include "patient/qt/DateTimeEditCtrlMonthCalCtrl.h"

CDateTimeEditCtrlCalendarWnd::CDateTimeEditCtrlCalendarWnd(CDateTimeEditCtrl& owner)
    : QFrame(&owner, Qt::Popup), m_owner(owner), m_monthCal(new CDateTimeEditCtrlMonthCalCtrl(this))
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_monthCal);
    m_monthCal->setLocale(owner.locale());
    // The calendar's keys: arrows move the day, Enter chooses it.
    m_monthCal->setFocus();
}

void CDateTimeEditCtrlCalendarWnd::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        m_owner.CloseCalendar(true);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_owner.CloseCalendar(false);
        return;
    case Qt::Key_F4:
        m_owner.OnCommand(CDateTimeEditCtrl::kCommandDropButton);
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void CDateTimeEditCtrlCalendarWnd::mousePressEvent(QMouseEvent* event)
{
    if (!rect().contains(event->position().toPoint())) {
        m_owner.CloseCalendar(false);
        return;
    }
    QFrame::mousePressEvent(event);
}

void CDateTimeEditCtrlCalendarWnd::hideEvent(QHideEvent* event)
{
    // Hidden by someone else (the window lost the screen or the program
    // its activation): nothing was chosen.
    if (m_owner.GetCalendarWnd() == this)
        m_owner.CloseCalendar(true);
    QFrame::hideEvent(event);
}

QPoint CalendarPosition(const QRect& control, const QRect& edit, const QSize& popup, const QRect& workArea,
                        bool rightAlign)
{
    QPoint at(rightAlign ? edit.right() + 1 - popup.width() : edit.left(), control.bottom() + 1);
    if (at.y() + popup.height() > workArea.bottom() + 1)
        at.setY(control.top() - popup.height());
    if (at.x() + popup.width() > workArea.right() + 1)
        at.setX(workArea.right() + 1 - popup.width());
    if (at.x() < workArea.left())
        at.setX(workArea.left());
    return at;
}
