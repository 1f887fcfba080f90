#include "patient/qt/DateTimeEditCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionFrame>
#include <algorithm>
#include <utility>

#include "patient/qt/DateTimeEditCtrlButton.h"
#include "patient/qt/DateTimeEditCtrlCalendarWnd.h"
#include "patient/qt/DateTimeEditCtrlEditCtrl.h"
#include "patient/qt/DateTimeEditCtrlMonthCalCtrl.h"
#include "patient/qt/QtDates.h"

namespace {

// The calendar offers what the field can write.
const QDate kEarliest(1, 1, 1);
const QDate kLatest(9999, 12, 31);

} // namespace

CDateTimeEditCtrl::CDateTimeEditCtrl(QWidget* parent, const QLocale& locale, unsigned style)
    : QWidget(parent), m_readOnly((style & kStyleReadOnly) != 0), m_rightAlign((style & kStyleRightAlign) != 0)
{
    setLocale(locale);
    m_edit = new CDateTimeEditCtrlEditCtrl(*this);
    if (m_rightAlign)
        m_edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_button = new CDateTimeEditCtrlButton(this);
    setFocusProxy(m_edit);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    const QPalette colors = palette();
    m_calendarColors = {QColor(), colors.color(QPalette::ButtonText), colors.color(QPalette::Highlight),
                        QColor(), QColor(), colors.color(QPalette::Dark)};

    connect(m_edit, &QLineEdit::textEdited, this, [this] { NotifyChange(); });
    connect(m_button, &QAbstractButton::clicked, this, [this] { OnCommand(kCommandDropButton); });
    ApplyEditState();
}

CDateTimeEditCtrl::~CDateTimeEditCtrl()
{
    // Quietly: the owner is going too.
    delete std::exchange(m_calendar, nullptr);
}

const CDateFields& CDateTimeEditCtrl::Fields() const
{
    return m_edit->Fields();
}

std::chrono::year_month_day CDateTimeEditCtrl::Today() const
{
    return ToYearMonthDay(m_today ? m_today() : QDate::currentDate());
}

ParsedDate CDateTimeEditCtrl::ParseText(const QString& text) const
{
    return Fields().Parse(text.toStdU16String(), Today());
}

DateLimits CDateTimeEditCtrl::Limits() const
{
    DateLimits limits;
    if (m_minimum)
        limits.minimum = ToYearMonthDay(*m_minimum);
    if (m_maximum)
        limits.maximum = ToYearMonthDay(*m_maximum);
    return limits;
}

QString CDateTimeEditCtrl::FormatDate(const QDate& date) const
{
    return QString::fromStdU16String(Fields().FormatDate(ToYearMonthDay(date)));
}

DateStatus CDateTimeEditCtrl::GetTime(QDate& date) const
{
    const ParsedDate parsed = ParseText(m_edit->text());
    date = parsed.status == DateStatus::kValid ? ToQDate(parsed.date) : QDate();
    return parsed.status;
}

bool CDateTimeEditCtrl::SetTime(DateStatus status, const QDate& date)
{
    if (status == DateStatus::kNone) {
        m_edit->setText(QString());
        return true;
    }
    const QString text = status == DateStatus::kValid ? FormatDate(date) : QString();
    if (text.isEmpty())
        return false;
    m_edit->setText(text);
    return true;
}

unsigned CDateTimeEditCtrl::GetRange(QDate* minimum, QDate* maximum) const
{
    if (minimum)
        *minimum = m_minimum.value_or(QDate());
    if (maximum)
        *maximum = m_maximum.value_or(QDate());
    return (m_minimum ? kRangeMinimum : 0u) | (m_maximum ? kRangeMaximum : 0u);
}

bool CDateTimeEditCtrl::SetRange(unsigned flags, const QDate& minimum, const QDate& maximum)
{
    const bool hasMinimum = (flags & kRangeMinimum) != 0;
    const bool hasMaximum = (flags & kRangeMaximum) != 0;
    if ((hasMinimum && FormatDate(minimum).isEmpty()) || (hasMaximum && FormatDate(maximum).isEmpty()))
        return false;
    if (hasMinimum && hasMaximum && minimum > maximum)
        return false;
    m_minimum = hasMinimum ? std::optional<QDate>(minimum) : std::nullopt;
    m_maximum = hasMaximum ? std::optional<QDate>(maximum) : std::nullopt;
    if (CDateTimeEditCtrlMonthCalCtrl* calendar = GetMonthCalCtrl())
        ApplyRange(*calendar);
    return true;
}

void CDateTimeEditCtrl::ApplyRange(CDateTimeEditCtrlMonthCalCtrl& calendar) const
{
    const QSignalBlocker quiet(&calendar);
    calendar.setDateRange(m_minimum.value_or(kEarliest), m_maximum.value_or(kLatest));
}

QColor CDateTimeEditCtrl::GetMonthCalColor(int index) const
{
    if (index < 0 || index >= CDateTimeEditCtrlMonthCalCtrl::kColorCount)
        return QColor();
    if (const CDateTimeEditCtrlMonthCalCtrl* calendar = GetMonthCalCtrl())
        return calendar->GetColor(index);
    return m_calendarColors[static_cast<std::size_t>(index)];
}

QColor CDateTimeEditCtrl::SetMonthCalColor(int index, const QColor& color)
{
    if (index < 0 || index >= CDateTimeEditCtrlMonthCalCtrl::kColorCount)
        return QColor();
    const QColor old = std::exchange(m_calendarColors[static_cast<std::size_t>(index)], color);
    if (CDateTimeEditCtrlMonthCalCtrl* calendar = GetMonthCalCtrl())
        calendar->SetColor(index, color);
    return old;
}

CDateTimeEditCtrlMonthCalCtrl* CDateTimeEditCtrl::GetMonthCalCtrl() const
{
    return m_calendar ? m_calendar->MonthCal() : nullptr;
}

void CDateTimeEditCtrl::SetMonthCalFont(const QFont& font)
{
    m_calendarFont = font;
    if (CDateTimeEditCtrlMonthCalCtrl* calendar = GetMonthCalCtrl())
        calendar->setFont(font);
}

bool CDateTimeEditCtrl::SetFormat(const QString&)
{
    return false;
}

void CDateTimeEditCtrl::SetWindowText(const QString& text)
{
    m_edit->setText(text);
}

QString CDateTimeEditCtrl::GetWindowText() const
{
    return m_edit->text();
}

int CDateTimeEditCtrl::GetWindowTextLength() const
{
    return static_cast<int>(m_edit->text().size());
}

void CDateTimeEditCtrl::SetFont(const QFont& font)
{
    m_edit->setFont(font);
    LayOut();
    updateGeometry();
}

bool CDateTimeEditCtrl::OnCommand(int id)
{
    if (id == kCommandDropButton) {
        if (!CloseCalendar(false))
            OpenCalendar();
        return true;
    }
    if (id == kCommandOk) {
        QWidget* owner = parentWidget();
        if (!owner)
            return false;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(owner, &enter);
        return enter.isAccepted();
    }
    return false;
}

void CDateTimeEditCtrl::SetEditReadOnly(bool noEdit)
{
    if (m_readOnly || !isEnabled())
        return;
    m_noEdit = noEdit;
    m_edit->SetNoEditMode(noEdit);
    ApplyEditState();
}

void CDateTimeEditCtrl::SetReadOnlyMode(bool readOnly)
{
    m_readOnly = readOnly;
    if (!isEnabled())
        return;
    if (readOnly)
        CloseCalendar(true);
    ApplyEditState();
}

void CDateTimeEditCtrl::ApplyEditState()
{
    m_edit->setReadOnly(m_readOnly || m_noEdit);
    m_button->setEnabled(!m_readOnly);
    update();
}

bool CDateTimeEditCtrl::AcceptsDateKeys() const
{
    return isEnabled() && !m_readOnly;
}

void CDateTimeEditCtrl::SetButtonImage(int bitmapId, int disabledBitmapId)
{
    m_button->SetImages(DropButtonBitmap(bitmapId), DropButtonBitmap(disabledBitmapId));
}

void CDateTimeEditCtrl::UseSystemButtonImage(const IOsVersion& os)
{
    OsVersionInfo info;
    const bool older = (os.Query(info, true) || os.Query(info, false)) && info.majorVersion < 6;
    if (older)
        SetButtonImage(kButtonBitmap, kButtonBitmapDisabled);
    else
        SetButtonImage(0);
}

bool CDateTimeEditCtrl::IsValidText(const QString& text) const
{
    const QString& checked = text.isEmpty() ? m_edit->text() : text;
    return ParseText(checked).status == DateStatus::kValid;
}

void CDateTimeEditCtrl::StepField(int delta)
{
    const std::optional<FieldStep> step =
        Fields().Step(m_edit->text().toStdU16String(), static_cast<std::size_t>(m_edit->cursorPosition()), delta, Limits(),
                      Today());
    if (step)
        SetUserText(QString::fromStdU16String(step->text), static_cast<int>(step->caret));
}

void CDateTimeEditCtrl::SetUserText(const QString& text, std::optional<int> caret)
{
    const bool changed = text != m_edit->text();
    if (changed)
        m_edit->setText(text);
    if (caret)
        m_edit->setCursorPosition(*caret);
    if (changed)
        NotifyChange();
}

void CDateTimeEditCtrl::NotifyChange()
{
    QDate date;
    const DateStatus status = GetTime(date);
    emit DateTimeChange(status, date);
}

void CDateTimeEditCtrl::OnEditFocusOut(Qt::FocusReason reason)
{
    // Our own pop-up takes the keys for a while; that is no leaving.
    if (reason == Qt::PopupFocusReason)
        return;
    const QWidget* next = QApplication::focusWidget();
    if (next && (isAncestorOf(next) || (m_calendar && (next == m_calendar || m_calendar->isAncestorOf(next)))))
        return;
    emit KillFocus();
}

void CDateTimeEditCtrl::OpenCalendar()
{
    if (m_calendar || !AcceptsDateKeys())
        return;
    m_textAtOpening = m_edit->text();
    auto* window = new CDateTimeEditCtrlCalendarWnd(*this);
    CDateTimeEditCtrlMonthCalCtrl& calendar = *window->MonthCal();
    ApplyRange(calendar);
    QDate shown;
    if (GetTime(shown) != DateStatus::kValid)
        shown = ToQDate(Today());
    calendar.setSelectedDate(std::clamp(shown, calendar.minimumDate(), calendar.maximumDate()));
    if (m_calendarFont)
        calendar.setFont(*m_calendarFont);
    for (int i = 0; i < CDateTimeEditCtrlMonthCalCtrl::kColorCount; ++i)
        calendar.SetColor(i, m_calendarColors[static_cast<std::size_t>(i)]);
    window->adjustSize();

    const QScreen* where = screen();
    const QRect workArea = where ? where->availableGeometry() : QRect(QPoint(0, 0), window->size());
    window->move(CalendarPosition(QRect(mapToGlobal(QPoint(0, 0)), size()),
                                  QRect(m_edit->mapToGlobal(QPoint(0, 0)), m_edit->size()), window->size(), workArea,
                                  m_rightAlign));

    connect(&calendar, &QCalendarWidget::selectionChanged, this, [this] { OnCalendarSelChange(); });
    connect(&calendar, &QCalendarWidget::clicked, this, [this](QDate date) { OnCalendarSelect(date); });
    connect(&calendar, &QCalendarWidget::activated, this, [this](QDate date) { OnCalendarSelect(date); });
    m_calendar = window;
    window->show();
    emit DropDown();
}

bool CDateTimeEditCtrl::CloseCalendar(bool restore)
{
    CDateTimeEditCtrlCalendarWnd* window = std::exchange(m_calendar, nullptr);
    if (!window)
        return false;
    window->MonthCal()->disconnect(this);
    if (window->isVisible())
        window->hide();
    // Often called from the calendar's own handlers.
    window->deleteLater();
    m_edit->setFocus(Qt::PopupFocusReason);
    if (restore)
        SetUserText(m_textAtOpening);
    emit CloseUp();
    return true;
}

void CDateTimeEditCtrl::OnCalendarSelChange()
{
    if (const CDateTimeEditCtrlMonthCalCtrl* calendar = GetMonthCalCtrl())
        SetUserText(FormatDate(calendar->selectedDate()));
}

void CDateTimeEditCtrl::OnCalendarSelect(const QDate& date)
{
    SetUserText(FormatDate(date));
    CloseCalendar(false);
}

int CDateTimeEditCtrl::FrameWidth() const
{
    return style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
}

void CDateTimeEditCtrl::LayOut()
{
    const int frame = FrameWidth();
    const QRect client = rect().adjusted(frame, frame, -frame, -frame);
    m_button->setGeometry(client.right() + 1 - kButtonWidth, client.top(), kButtonWidth, client.height());
    // Centred on the height of the digits the field shows.
    const int digits = m_edit->fontMetrics().boundingRect(QStringLiteral("0123456789:/")).height();
    const int height = std::min(client.height(), std::max(digits, m_edit->minimumSizeHint().height()));
    m_edit->setGeometry(client.left(), client.top() + (client.height() - height) / 2,
                        std::max(0, client.width() - kButtonWidth), height);
}

QSize CDateTimeEditCtrl::sizeHint() const
{
    const int frame = FrameWidth();
    const QString sample = FormatDate(QDate(2000, 12, 28));
    const int text = m_edit->fontMetrics().horizontalAdvance(sample + QStringLiteral("  "));
    return QSize(text + kButtonWidth + 2 * frame + 4, m_edit->sizeHint().height() + 2 * frame + 2);
}

QSize CDateTimeEditCtrl::minimumSizeHint() const
{
    const int frame = FrameWidth();
    return QSize(kButtonWidth * 2 + 2 * frame, m_edit->minimumSizeHint().height() + 2 * frame);
}

void CDateTimeEditCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CDateTimeEditCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame panel;
    panel.initFrom(this);
    panel.lineWidth = FrameWidth();
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken;
    if (m_edit->hasFocus())
        panel.state |= QStyle::State_HasFocus;
    if (m_readOnly)
        panel.state |= QStyle::State_ReadOnly;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
}

void CDateTimeEditCtrl::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled())
            CloseCalendar(true);
        ApplyEditState();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
        LayOut();
        updateGeometry();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}
