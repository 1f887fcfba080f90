#include "patient/qt/DateTimeEditCtrlMonthCalCtrl.h"

#include <utility>

CDateTimeEditCtrlMonthCalCtrl::CDateTimeEditCtrlMonthCalCtrl(QWidget* parent) : QCalendarWidget(parent)
{
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Typing goes to the date field, not to an editor inside the calendar.
    setDateEditEnabled(false);
    m_stylePalette = palette();
}

QColor CDateTimeEditCtrlMonthCalCtrl::GetColor(int index) const
{
    if (index < 0 || index >= kColorCount)
        return QColor();
    return m_colors[static_cast<std::size_t>(index)];
}

QColor CDateTimeEditCtrlMonthCalCtrl::SetColor(int index, const QColor& color)
{
    if (index < 0 || index >= kColorCount)
        return QColor();
    const QColor old = std::exchange(m_colors[static_cast<std::size_t>(index)], color);
    ApplyColors();
    return old;
}

void CDateTimeEditCtrlMonthCalCtrl::ApplyColors()
{
    QPalette colors = m_stylePalette;
    const auto set = [&](int index, QPalette::ColorRole role) {
        const QColor& color = m_colors[static_cast<std::size_t>(index)];
        if (!color.isValid())
            return;
        colors.setColor(QPalette::Active, role, color);
        colors.setColor(QPalette::Inactive, role, color);
    };
    set(kColorBackground, QPalette::Window);
    set(kColorText, QPalette::Text);
    set(kColorTitleBackground, QPalette::Highlight);
    set(kColorTitleText, QPalette::HighlightedText);
    set(kColorMonthBackground, QPalette::Base);
    // Qt draws the days outside the shown month in the disabled text colour.
    if (const QColor& trailing = m_colors[kColorTrailingText]; trailing.isValid())
        colors.setColor(QPalette::Disabled, QPalette::Text, trailing);
    setPalette(colors);
}
