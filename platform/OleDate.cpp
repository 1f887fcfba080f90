#include "platform/OleDate.h"

#include <cmath>
#include <ctime>

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch{year{1899} / December / 30};
constexpr int64_t kSecondsPerDay = 86400;

// The day number and the time of day as a fraction in [0, 1).
struct Parts {
    int64_t day;
    double fraction;
};

Parts Split(double value)
{
    const double whole = std::trunc(value);
    return {static_cast<int64_t>(whole), std::fabs(value - whole)};
}

double Join(int64_t day, double fraction)
{
    return day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
}

// The day and the second of that day, rounded to the nearest second.
struct Civil {
    sys_days day;
    int64_t second;
};

Civil ToCivil(double value)
{
    Parts parts = Split(value);
    int64_t second = std::llround(parts.fraction * kSecondsPerDay);
    if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        ++parts.day;
    }
    return {kEpoch + days{parts.day}, second};
}

} // namespace

COleDate::COleDate(double value)
{
    if (std::isfinite(value) && value >= kMinValue && value <= kMaxValue) {
        m_value = value;
        m_status = Status::valid;
    }
}

COleDate COleDate::FromDate(int yearNumber, int monthNumber, int dayNumber, int hour, int minute, int second)
{
    if (yearNumber < 100 || yearNumber > 9999 || monthNumber < 1 || monthNumber > 12 || dayNumber < 1
        || dayNumber > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return {};
    const year_month_day date{year{yearNumber}, month{static_cast<unsigned>(monthNumber)},
                              day{static_cast<unsigned>(dayNumber)}};
    if (!date.ok())
        return {};
    const int64_t dayCount = (sys_days{date} - kEpoch).count();
    const double fraction = static_cast<double>(hour * 3600 + minute * 60 + second) / kSecondsPerDay;
    return COleDate(Join(dayCount, fraction));
}

COleDate COleDate::FromLocalTime(system_clock::time_point when)
{
    const std::time_t seconds = system_clock::to_time_t(floor<std::chrono::seconds>(when));
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return {};
    // A leap second still belongs to its minute.
    return FromDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                    local.tm_sec > 59 ? 59 : local.tm_sec);
}

std::optional<OleDateFields> COleDate::Fields() const
{
    if (!IsValid())
        return std::nullopt;
    const Civil civil = ToCivil(m_value);
    const year_month_day date{civil.day};
    OleDateFields fields;
    fields.year = static_cast<int>(date.year());
    fields.month = static_cast<int>(static_cast<unsigned>(date.month()));
    fields.day = static_cast<int>(static_cast<unsigned>(date.day()));
    fields.hour = static_cast<int>(civil.second / 3600);
    fields.minute = static_cast<int>(civil.second / 60 % 60);
    fields.second = static_cast<int>(civil.second % 60);
    return fields;
}

COleDate COleDate::AddDays(int64_t dayCount) const
{
    if (!IsValid())
        return {};
    const Parts parts = Split(m_value);
    // Far outside the range: no overflow on the way to the refusal.
    if (dayCount > 10'000'000 || dayCount < -10'000'000)
        return {};
    return COleDate(Join(parts.day + dayCount, parts.fraction));
}

std::optional<double> COleDate::SpanDays(const COleDate& from, const COleDate& to)
{
    if (!from.IsValid() || !to.IsValid())
        return std::nullopt;
    const Parts a = Split(from.m_value);
    const Parts b = Split(to.m_value);
    return static_cast<double>(b.day - a.day) + (b.fraction - a.fraction);
}

std::string COleDate::Format(const char* pattern) const
{
    if (!IsValid() || pattern == nullptr || *pattern == '\0')
        return {};
    const Civil civil = ToCivil(m_value);
    const year_month_day date{civil.day};
    std::tm tm{};
    tm.tm_year = static_cast<int>(date.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    tm.tm_hour = static_cast<int>(civil.second / 3600);
    tm.tm_min = static_cast<int>(civil.second / 60 % 60);
    tm.tm_sec = static_cast<int>(civil.second % 60);
    tm.tm_wday = static_cast<int>(weekday{civil.day}.c_encoding());
    tm.tm_yday = static_cast<int>((civil.day - sys_days{date.year() / January / 1}).count());
    tm.tm_isdst = -1;
    char text[256];
    const std::size_t length = std::strftime(text, sizeof text, pattern, &tm);
    return std::string(text, length);
}
