// OLE dates: known day counts, refusals, whole-day steps that follow the
// calendar whatever the clocks do, and the local time of an instant.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "LocalTimeZone.h"
#include "platform/OleDate.h"

TEST(OleDate, KnownDayCountsAndTheirFields)
{
    struct Case {
        OleDateFields fields;
        double value;
        const char* formatted;  // "%Y-%m-%d %H:%M:%S %a %j"
    };
    const std::vector<Case> cases{
        {{1899, 12, 30, 0, 0, 0}, 0.0, "1899-12-30 00:00:00 Sat 364"},
        {{1900, 1, 1, 0, 0, 0}, 2.0, "1900-01-01 00:00:00 Mon 001"},
        {{2000, 1, 1, 13, 5, 9}, 36526.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0, "2000-01-01 13:05:09 Sat 001"},
        // Before the epoch the time still counts forward.
        {{1899, 12, 29, 6, 0, 0}, -1.25, "1899-12-29 06:00:00 Fri 363"},
        {{1899, 12, 30, 6, 0, 0}, 0.25, "1899-12-30 06:00:00 Sat 364"},
        {{1800, 1, 1, 12, 0, 0}, -36522.5, "1800-01-01 12:00:00 Wed 001"},
        {{100, 1, 1, 0, 0, 0}, COleDate::kMinValue, nullptr},
        {{9999, 12, 31, 23, 59, 59}, COleDate::kMaxValue, nullptr},
    };
    for (const Case& c : cases) {
        const OleDateFields& f = c.fields;
        SCOPED_TRACE(testing::Message() << f.year << "-" << f.month << "-" << f.day);
        const COleDate made = COleDate::FromDate(f.year, f.month, f.day, f.hour, f.minute, f.second);
        ASSERT_TRUE(made.IsValid());
        EXPECT_DOUBLE_EQ(made.Value(), c.value);
        const COleDate read(c.value);
        ASSERT_TRUE(read.IsValid());
        EXPECT_EQ(read.Fields(), f);
        if (c.formatted != nullptr) {
            EXPECT_EQ(read.Format("%Y-%m-%d %H:%M:%S %a %j"), c.formatted);
        }
    }
}

TEST(OleDate, WhatIsNoDateStaysInvalid)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<COleDate> invalid{
        COleDate(),
        COleDate::FromDate(2023, 2, 29),
        COleDate::FromDate(2024, 4, 31),
        COleDate::FromDate(2024, 13, 1),
        COleDate::FromDate(2024, 0, 1),
        COleDate::FromDate(99, 12, 31),
        COleDate::FromDate(10000, 1, 1),
        COleDate::FromDate(2024, 1, 1, 24, 0, 0),
        COleDate::FromDate(2024, 1, 1, 0, 60, 0),
        COleDate(nan),
        COleDate(infinity),
        COleDate(COleDate::kMaxValue + 1.0 / 86400),
        COleDate(COleDate::kMinValue - 1.0 / 86400),
        COleDate::FromDate(9999, 12, 31).AddDays(1),
        COleDate::FromDate(100, 1, 1).AddDays(-1),
        COleDate(0.0).AddDays(std::numeric_limits<int64_t>::min()),
    };
    for (std::size_t i = 0; i < invalid.size(); ++i) {
        SCOPED_TRACE(i);
        const COleDate& date = invalid[i];
        EXPECT_FALSE(date.IsValid());
        EXPECT_FALSE(date.Fields());
        EXPECT_EQ(date.Format("%Y"), "");
        EXPECT_FALSE(date.AddDays(1).IsValid());
        EXPECT_FALSE(COleDate::SpanDays(date, COleDate(0.0)));
        EXPECT_FALSE(COleDate::SpanDays(COleDate(0.0), date));
    }
}

class OleDateInZone : public testing::Test {
protected:
    ScopedTimeZone zone{kMidnightDstZone};
};

TEST_F(OleDateInZone, WholeDaysFollowTheCalendarAndKeepTheTime)
{
    const std::vector<OleDateFields> starts{
        {2023, 1, 31, 0, 30, 0},  {2023, 4, 30, 23, 59, 59}, {2024, 2, 29, 12, 0, 0},  {2023, 3, 1, 0, 0, 0},
        {2023, 12, 31, 23, 30, 0}, {2024, 1, 1, 0, 30, 0},   {2024, 2, 18, 0, 30, 0},  {2023, 10, 15, 0, 30, 0},
        {2023, 10, 14, 23, 30, 0}, {1899, 12, 30, 0, 30, 0}, {1899, 12, 31, 18, 0, 0}, {1826, 6, 15, 6, 0, 0},
    };
    const std::vector<long> steps{-1, 1, -30, 30, -365, -1275, 1275, -73050};
    for (const OleDateFields& s : starts) {
        const COleDate start = COleDate::FromDate(s.year, s.month, s.day, s.hour, s.minute, s.second);
        ASSERT_TRUE(start.IsValid());
        for (const long step : steps) {
            SCOPED_TRACE(testing::Message() << s.year << "-" << s.month << "-" << s.day << " " << s.hour << ":"
                                            << s.minute << " + " << step);
            const COleDate moved = start.AddDays(step);
            const std::tm expected = CivilDaysLater(s.year, s.month, s.day, step);
            const OleDateFields f = moved.Fields().value();
            EXPECT_EQ(f, (OleDateFields{expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday, s.hour,
                                        s.minute, s.second}));
            EXPECT_NEAR(COleDate::SpanDays(start, moved).value(), double(step), 1e-6);
            EXPECT_NEAR(COleDate::SpanDays(moved, start).value(), double(-step), 1e-6);
        }
    }
    // Half a day across the epoch, where the stored fraction changes sign.
    EXPECT_NEAR(COleDate::SpanDays(COleDate::FromDate(1899, 12, 29, 18), COleDate::FromDate(1899, 12, 30, 6)).value(),
                0.5, 1e-9);
}

TEST_F(OleDateInZone, AnInstantReadsAsTheLocalClockAcrossTheMidnightChanges)
{
    // Local clock readings around both changes; 23:30 on 17 February 2024
    // happens twice.
    const std::vector<OleDateFields> readings{
        {2023, 10, 14, 23, 59, 59}, {2023, 10, 15, 1, 0, 0},  {2023, 10, 15, 12, 0, 0},
        {2024, 2, 17, 22, 59, 59},  {2024, 2, 17, 23, 30, 0}, {2024, 2, 18, 0, 0, 0},
        {2024, 7, 1, 0, 30, 0},
    };
    for (const OleDateFields& r : readings) {
        SCOPED_TRACE(testing::Message() << r.year << "-" << r.month << "-" << r.day << " " << r.hour << ":" << r.minute);
        std::tm local{};
        local.tm_year = r.year - 1900;
        local.tm_mon = r.month - 1;
        local.tm_mday = r.day;
        local.tm_hour = r.hour;
        local.tm_min = r.minute;
        local.tm_sec = r.second;
        local.tm_isdst = -1;
        const auto instant = std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::milliseconds(400);
        EXPECT_EQ(COleDate::FromLocalTime(instant).Fields(), r);
    }
}
