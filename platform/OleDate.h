#pragma once
// OLE automation dates: days since 30 December 1899 as a double, in local
// wall-clock time, with a validity flag. Before that day the whole part
// counts down while the fraction still counts the time forward (-1.25 is
// 29 December 1899, 06:00), so arithmetic splits day and time and never
// adds to the double directly. Whole-day steps go through the civil
// calendar and keep the time of day: a DST night cannot move a date.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

struct OleDateFields {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const OleDateFields&, const OleDateFields&) = default;
};

class COleDate {
public:
    enum class Status { valid, invalid };

    // 1 January 100 to 31 December 9999, 23:59:59.
    static constexpr double kMinValue = -657434.0;
    static constexpr double kMaxValue = 2958465.0 + 86399.0 / 86400.0;

    // Invalid: no date known.
    COleDate() = default;
    // Invalid when not finite or outside the range.
    explicit COleDate(double value);

    // Invalid for a day that does not exist, a time outside 00:00:00 to
    // 23:59:59 or a year outside 100 to 9999.
    static COleDate FromDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    // The local wall-clock time of an instant (the caller's "now").
    static COleDate FromLocalTime(std::chrono::system_clock::time_point when);

    bool IsValid() const { return m_status == Status::valid; }
    Status GetStatus() const { return m_status; }
    // The day count; 0 when invalid.
    double Value() const { return m_value; }

    // Rounded to the second; none when invalid.
    std::optional<OleDateFields> Fields() const;

    // Whole calendar days later (earlier when negative), same time of day.
    // Invalid stays invalid; a result outside the range is invalid.
    COleDate AddDays(int64_t days) const;

    // Wall-clock days from `from` to `to` (negative when `to` is earlier);
    // none when either is invalid.
    static std::optional<double> SpanDays(const COleDate& from, const COleDate& to);

    // strftime of the fields; empty when invalid.
    std::string Format(const char* pattern) const;

    friend bool operator==(const COleDate&, const COleDate&) = default;

private:
    double m_value = 0.0;
    Status m_status = Status::invalid;
};
