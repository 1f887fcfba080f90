#include "patient/qt/DateTimeEditCtrlEditCtrl.h"

#include <QKeyEvent>

#include "patient/qt/DateTimeEditCtrl.h"

namespace {

std::u16string ShortFormatOf(const QLocale& locale)
{
    return locale.dateFormat(QLocale::ShortFormat).toStdU16String();
}

} // namespace

CDateTimeEditCtrlEditCtrl::CDateTimeEditCtrlEditCtrl(CDateTimeEditCtrl& owner)
    : QLineEdit(&owner), m_owner(owner), m_fields(ShortFormatOf(owner.locale()))
{
    // The control draws the frame around the edit and the button.
    setFrame(false);
}

void CDateTimeEditCtrlEditCtrl::SetNoEditMode(bool noEdit)
{
    m_noEdit = noEdit;
}

void CDateTimeEditCtrlEditCtrl::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_owner.AcceptsDateKeys()) {
            m_owner.StepField(event->key() == Qt::Key_Up ? +1 : -1);
            return;
        }
        break;
    case Qt::Key_F4:
        if (m_owner.AcceptsDateKeys()) {
            m_owner.OnCommand(CDateTimeEditCtrl::kCommandDropButton);
            return;
        }
        break;
    case Qt::Key_Escape:
        // Without a calendar Escape belongs to the dialog.
        if (!m_owner.CloseCalendar(true))
            event->ignore();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_owner.CloseCalendar(false))
            event->setAccepted(m_owner.OnCommand(CDateTimeEditCtrl::kCommandOk));
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void CDateTimeEditCtrlEditCtrl::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    m_owner.update();  // its frame shows the focus
}

void CDateTimeEditCtrlEditCtrl::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    m_owner.update();
    m_owner.OnEditFocusOut(event->reason());
}

void CDateTimeEditCtrlEditCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        ReadLocale();
    QLineEdit::changeEvent(event);
}

void CDateTimeEditCtrlEditCtrl::ReadLocale()
{
    CDateFields fields(ShortFormatOf(locale()));
    if (fields.Format() == m_fields.Format())
        return;
    // A date on show keeps its day: read under the old format, written in
    // the new one. The date has not changed, so nobody is told.
    const ParsedDate shown = m_fields.Parse(text().toStdU16String(), m_owner.Today());
    m_fields = std::move(fields);
    if (shown.status == DateStatus::kValid)
        setText(QString::fromStdU16String(m_fields.FormatDate(shown.date)));
}
