#pragma once
// The text box over the date field. It keeps the field logic of its
// locale's short date format (read again when the locale changes) and
// turns the date keys into the control's operations: Up and Down step the
// field under the caret, F4 opens or closes the calendar, Escape and Enter
// close an open one.
#include <QLineEdit>

#include "patient/DateFields.h"

class CDateTimeEditCtrl;

class CDateTimeEditCtrlEditCtrl : public QLineEdit {
public:
    explicit CDateTimeEditCtrlEditCtrl(CDateTimeEditCtrl& owner);

    const CDateFields& Fields() const { return m_fields; }
    // The text can be changed only through the calendar and the arrows.
    void SetNoEditMode(bool noEdit);
    bool IsNoEditMode() const { return m_noEdit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ReadLocale();

    CDateTimeEditCtrl& m_owner;
    CDateFields m_fields;
    bool m_noEdit = false;
};
