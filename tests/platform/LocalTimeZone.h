#pragma once
// Date tests run where clocks jump at midnight (as Brazil's did): a day
// counted in seconds moves dates there. mktime's normalisation of a date at
// noon is the independent answer.
#include <cstdlib>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>

#include "platform/OleDate.h"

// Summer time from the third Sunday of October to the third Sunday of
// February, both changes at 00:00.
inline constexpr const char* kMidnightDstZone = "<-03>3<-02>,M10.3.0/0,M2.3.0/0";

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        m_old ? ::setenv("TZ", m_old->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};

// The calendar date `days` after year-month-day, by the C library.
inline OleDateFields CivilDaysLater(const OleDateFields& from, long days)
{
    std::tm tm{};
    tm.tm_year = from.year - 1900;
    tm.tm_mon = from.month - 1;
    tm.tm_mday = static_cast<int>(from.day + days);
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    std::mktime(&tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, from.hour, from.minute, from.second};
}

inline void PrintTo(const OleDateFields& f, std::ostream* os)
{
    *os << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":" << f.minute << ":" << f.second;
}
