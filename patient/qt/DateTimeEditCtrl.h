#pragma once
// The birth-date field: a date typed as free text in the locale's numeric
// short format (years written with four digits, typed with two or four),
// an own drop button and a pop-up month calendar. It answers what a date
// picker answers, so that its owner can treat it as one. There is no visual-style library on this
// platform, so the field is never themed: the button is always our own.
//
// DateTimeChange follows what the user does (typing, the arrows, a choice
// in the calendar, a restore by Escape) and never a set from code, so that
// an owner's handler that sets the date does not hear itself.
#include <QColor>
#include <QDate>
#include <QFont>
#include <QLocale>
#include <QString>
#include <QWidget>
#include <array>
#include <chrono>
#include <functional>
#include <optional>

#include "patient/DateFields.h"
#include "platform/OsVersion.h"

class CDateTimeEditCtrlButton;
class CDateTimeEditCtrlCalendarWnd;
class CDateTimeEditCtrlEditCtrl;
class CDateTimeEditCtrlMonthCalCtrl;

class CDateTimeEditCtrl : public QWidget {
    Q_OBJECT
public:
    // Style bits taken at creation.
    static constexpr unsigned kStyleRightAlign = 0x20;
    static constexpr unsigned kStyleReadOnly = 0x800;
    // GetRange's and SetRange's flags.
    static constexpr unsigned kRangeMinimum = 1;
    static constexpr unsigned kRangeMaximum = 2;
    // Commands of the children.
    static constexpr int kCommandOk = 1;
    static constexpr int kCommandDropButton = 2;
    // The button's bitmaps for systems before 6.0.
    static constexpr int kButtonBitmap = 188;
    static constexpr int kButtonBitmapDisabled = 189;
    static constexpr int kButtonWidth = 16;

    explicit CDateTimeEditCtrl(QWidget* parent = nullptr, const QLocale& locale = QLocale::system(),
                               unsigned style = 0);
    ~CDateTimeEditCtrl() override;

    // kNone for an empty text, kValid with the date, kError (and a null
    // date) for a text that is no date.
    DateStatus GetTime(QDate& date) const;
    // kNone empties the text; kValid writes the date. Refused (false): an
    // invalid date, a year beyond 1..9999, kError.
    bool SetTime(DateStatus status, const QDate& date = QDate());
    // The flags of the limits set; a limit not set reads as a null date.
    unsigned GetRange(QDate* minimum, QDate* maximum) const;
    // Both limits are replaced: those flagged by the dates, the others
    // removed. Refused: a flagged date that is not valid, a minimum after
    // the maximum.
    bool SetRange(unsigned flags, const QDate& minimum, const QDate& maximum);
    // Index 0..5 (see CDateTimeEditCtrlMonthCalCtrl); an invalid colour is
    // "not set". Setting answers the colour it replaces.
    QColor GetMonthCalColor(int index) const;
    QColor SetMonthCalColor(int index, const QColor& color);
    // The open calendar, or none.
    CDateTimeEditCtrlMonthCalCtrl* GetMonthCalCtrl() const;
    std::optional<QFont> GetMonthCalFont() const { return m_calendarFont; }
    void SetMonthCalFont(const QFont& font);
    // The display format follows the locale; another is refused.
    bool SetFormat(const QString& format);
    // The edit's text, set from code: no DateTimeChange.
    void SetWindowText(const QString& text);
    QString GetWindowText() const;
    int GetWindowTextLength() const;
    void SetFont(const QFont& font);
    // The drop button's command opens or closes the calendar; OK goes on to
    // the owner as its Enter key. Answers whether it was taken.
    bool OnCommand(int id);

    // No-edit mode: the text changes only through the calendar and the
    // arrows. Ignored while read-only or disabled.
    void SetEditReadOnly(bool noEdit);
    // Read-only: nothing changes the date. While disabled the mode is only
    // recorded, and takes effect when enabled.
    void SetReadOnlyMode(bool readOnly);
    bool IsReadOnlyMode() const { return m_readOnly; }
    // The button's bitmaps by id; 0 gives the drawn arrow again.
    void SetButtonImage(int bitmapId, int disabledBitmapId = 0);
    // Bitmaps 188 and 189 on a system before 6.0, else the drawn arrow.
    void UseSystemButtonImage(const IOsVersion& os = SystemOsVersion());
    // Whether the text (empty: the field's own) reads as a date.
    bool IsValidText(const QString& text = QString()) const;
    // Today's date, against which a two-digit year is read; unset: the
    // system's date.
    void SetToday(std::function<QDate()> today) { m_today = std::move(today); }

    // The calendar: opened below the field with the date of the text (or
    // today); closing it answers whether one was open, and with restore
    // puts back the text the field had when it opened.
    void OpenCalendar();
    bool CloseCalendar(bool restore);
    CDateTimeEditCtrlCalendarWnd* GetCalendarWnd() const { return m_calendar; }

    CDateTimeEditCtrlEditCtrl* EditCtrl() const { return m_edit; }
    CDateTimeEditCtrlButton* Button() const { return m_button; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void DateTimeChange(DateStatus status, const QDate& date);
    void DropDown();
    void CloseUp();
    // The focus left the edit for a window outside the field and its calendar.
    void KillFocus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class CDateTimeEditCtrlEditCtrl;

    // For the edit: the date keys work unless the field is read-only.
    bool AcceptsDateKeys() const;
    void StepField(int delta);
    void OnEditFocusOut(Qt::FocusReason reason);

    const CDateFields& Fields() const;
    std::chrono::year_month_day Today() const;
    ParsedDate ParseText(const QString& text) const;
    DateLimits Limits() const;
    QString FormatDate(const QDate& date) const;
    // A change by the user: written and told only when the text differs.
    void SetUserText(const QString& text, std::optional<int> caret = std::nullopt);
    void NotifyChange();
    void OnCalendarSelChange();
    void OnCalendarSelect(const QDate& date);
    void ApplyEditState();
    void ApplyRange(CDateTimeEditCtrlMonthCalCtrl& calendar) const;
    void LayOut();
    int FrameWidth() const;

    CDateTimeEditCtrlEditCtrl* m_edit = nullptr;
    CDateTimeEditCtrlButton* m_button = nullptr;
    bool m_noEdit = false;
    bool m_readOnly = false;
    bool m_rightAlign = false;
    CDateTimeEditCtrlCalendarWnd* m_calendar = nullptr;
    QString m_textAtOpening;
    std::optional<QDate> m_minimum;
    std::optional<QDate> m_maximum;
    std::optional<QFont> m_calendarFont;
    std::array<QColor, 6> m_calendarColors;
    std::function<QDate()> m_today;
};
