// OLE dates: known day counts, refusals, and whole-day steps that follow the
// calendar whatever the clocks do.
#include <gtest/gtest.h>

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
        {{1800, 1, 1, 12, 0, 0}, -36522.5, "1800-01-01 12:00:00 Wed 001"},
        {{100, 1, 1, 0, 0, 0}, COleDate::kMinValue, "100-01-01 00:00:00 Fri 001"},
        {{9999, 12, 31, 23, 59, 59}, COleDate::kMaxValue, "9999-12-31 23:59:59 Fri 365"},
    };
    for (const Case& c : cases) {
        const OleDateFields& f = c.fields;
        const COleDate made = COleDate::FromDate(f.year, f.month, f.day, f.hour, f.minute, f.second);
        EXPECT_DOUBLE_EQ(made.Value(), c.value) << c.formatted;
        EXPECT_EQ(COleDate(c.value).Fields(), f);
        EXPECT_EQ(COleDate(c.value).Format("%Y-%m-%d %H:%M:%S %a %j"), c.formatted);
    }
}

TEST(OleDate, WhatIsNoDateStaysInvalid)
{
    const std::vector<COleDate> invalid{
        COleDate(),
        COleDate::FromDate(2023, 2, 29),
        COleDate::FromDate(2024, 4, 31),
        COleDate::FromDate(2024, 13, 1),
        COleDate::FromDate(99, 12, 31),
        COleDate::FromDate(10000, 1, 1),
        COleDate::FromDate(2024, 1, 1, 24, 0, 0),
        COleDate(std::numeric_limits<double>::quiet_NaN()),
        COleDate(COleDate::kMaxValue + 1.0 / 86400),
        COleDate::FromDate(100, 1, 1).AddDays(-1),
        COleDate(0.0).AddDays(std::numeric_limits<int64_t>::min()),
    };
    for (const COleDate& date : invalid) {
        EXPECT_FALSE(date.IsValid());
        EXPECT_FALSE(date.Fields());
        EXPECT_EQ(date.Format("%Y"), "");
        EXPECT_FALSE(date.AddDays(1).IsValid());
        EXPECT_FALSE(COleDate::SpanDays(date, COleDate(0.0)));
    }
}

TEST(OleDate, WholeDaysFollowTheCalendarAndKeepTheTime)
{
    const ScopedTimeZone zone(kMidnightDstZone);
    const std::vector<OleDateFields> starts{
        {2023, 1, 31, 0, 30, 0},  {2023, 4, 30, 23, 59, 59}, {2024, 2, 29, 12, 0, 0},  {2023, 3, 1, 0, 0, 0},
        {2023, 12, 31, 23, 30, 0}, {2024, 2, 18, 0, 30, 0},  {2023, 10, 15, 0, 30, 0}, {1899, 12, 30, 0, 30, 0},
        {1899, 12, 31, 18, 0, 0}, {1826, 6, 15, 6, 0, 0},
    };
    for (const OleDateFields& s : starts) {
        const COleDate start = COleDate::FromDate(s.year, s.month, s.day, s.hour, s.minute, s.second);
        for (const long step : {-1L, 1L, -30L, -365L, -1275L, 1275L, -73050L}) {
            SCOPED_TRACE(testing::PrintToString(s) + " + " + std::to_string(step));
            const COleDate moved = start.AddDays(step);
            EXPECT_EQ(moved.Fields(), CivilDaysLater(s, step));
            EXPECT_NEAR(COleDate::SpanDays(start, moved).value(), double(step), 1e-6);
        }
    }
}
