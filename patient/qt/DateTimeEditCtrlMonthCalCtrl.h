#pragma once
// The month calendar of the date field's pop-up, with the date picker's six
// calendar colours; an invalid colour leaves the style's own.
#include <QCalendarWidget>
#include <QColor>
#include <QPalette>
#include <array>

class CDateTimeEditCtrlMonthCalCtrl : public QCalendarWidget {
public:
    enum ColorIndex {
        kColorBackground = 0,      // around the month
        kColorText = 1,            // the days
        kColorTitleBackground = 2, // the title bar and the chosen day
        kColorTitleText = 3,
        kColorMonthBackground = 4,
        kColorTrailingText = 5,    // days of the months before and after
    };
    static constexpr int kColorCount = 6;

    explicit CDateTimeEditCtrlMonthCalCtrl(QWidget* parent = nullptr);

    // Out of range: an invalid colour, nothing stored.
    QColor GetColor(int index) const;
    QColor SetColor(int index, const QColor& color);

private:
    void ApplyColors();

    QPalette m_stylePalette;
    std::array<QColor, kColorCount> m_colors;
};
