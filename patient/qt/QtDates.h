#pragma once
// Qt's dates and the calendar dates of the field logic, both ways. An
// invalid QDate becomes a date that the field logic refuses.
#include <QDate>
#include <chrono>

inline std::chrono::year_month_day ToYearMonthDay(const QDate& date)
{
    if (!date.isValid())
        return std::chrono::year_month_day{};
    return std::chrono::year_month_day{std::chrono::year(date.year()), std::chrono::month(static_cast<unsigned>(date.month())),
                                       std::chrono::day(static_cast<unsigned>(date.day()))};
}

inline QDate ToQDate(std::chrono::year_month_day date)
{
    if (!date.ok())
        return QDate();
    return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                 static_cast<int>(static_cast<unsigned>(date.day())));
}

#include "platform/OleDate.h"

// The calendar day of an OLE date; a null date when it is invalid.
inline QDate ToQDate(const COleDate& date)
{
    const auto fields = date.Fields();
    return fields ? QDate(fields->year, fields->month, fields->day) : QDate();
}

// Midnight of a calendar day; invalid for a null date.
inline COleDate ToOleDate(const QDate& date)
{
    return date.isValid() ? COleDate::FromDate(date.year(), date.month(), date.day()) : COleDate();
}
