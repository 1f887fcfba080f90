#pragma once
// The date field's pop-up: a framed window holding the month calendar. As a
// Qt pop-up it takes the mouse and the keys while open; a click outside it
// or a choice in it closes it and keeps the date, Escape and a loss of the
// window put back the text the field had when it opened.
#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QSize>

class CDateTimeEditCtrl;
class CDateTimeEditCtrlMonthCalCtrl;

class CDateTimeEditCtrlCalendarWnd : public QFrame {
public:
    explicit CDateTimeEditCtrlCalendarWnd(CDateTimeEditCtrl& owner);

    CDateTimeEditCtrlMonthCalCtrl* MonthCal() const { return m_monthCal; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    CDateTimeEditCtrl& m_owner;
    CDateTimeEditCtrlMonthCalCtrl* m_monthCal;
};

// Where the pop-up goes, in screen coordinates: below the control, at the
// edit's left edge (right edge when right-aligned); above the control when
// there is no room below; kept inside the work area sideways, its left edge
// first.
QPoint CalendarPosition(const QRect& control, const QRect& edit, const QSize& popup, const QRect& workArea,
                        bool rightAlign);
