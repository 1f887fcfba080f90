// Birth dates and ages against a "now" read from the clock of a zone whose
// clocks jump at midnight.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "../platform/LocalTimeZone.h"
#include "patient/PatientDates.h"

namespace {

class PatientDates : public testing::Test {
protected:
    // The local reading of an instant at year-month-day hour:minute, as the
    // view would take it from the clock.
    static COleDate Now(int year, int month, int day, int hour, int minute)
    {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_isdst = -1;
        return COleDate::FromLocalTime(std::chrono::system_clock::from_time_t(std::mktime(&local)));
    }

    ScopedTimeZone zone{kMidnightDstZone};
};

struct Moment {
    int year, month, day, hour, minute;
};

// Month ends, leap days, year ends and the days of both clock changes; the
// small hours are where a day counted in seconds slips.
const std::vector<Moment> kNows{
    {2024, 1, 15, 0, 30}, {2024, 3, 31, 0, 30}, {2024, 2, 29, 0, 30}, {2024, 3, 1, 0, 30},  {2023, 12, 31, 23, 30},
    {2024, 1, 1, 0, 30},  {2024, 2, 18, 0, 30}, {2023, 10, 15, 1, 30}, {2023, 4, 30, 12, 0}, {2024, 12, 1, 0, 30},
};

} // namespace

TEST_F(PatientDates, AnAgeGivesTheBirthDateThatManyCalendarDaysBack)
{
    struct Age {
        int years, months;
        long days;  // 365 a year, 30 a month
    };
    const std::vector<Age> ages{{3, 6, 1275}, {0, 1, 30}, {1, 0, 365}, {0, 0, 0}, {4, 0, 1460}, {200, 18, 73540}};
    for (const Moment& n : kNows) {
        const COleDate now = Now(n.year, n.month, n.day, n.hour, n.minute);
        ASSERT_EQ(now.Fields()->hour, n.hour);
        for (const Age& age : ages) {
            SCOPED_TRACE(testing::Message() << n.year << "-" << n.month << "-" << n.day << " age " << age.years << "y"
                                            << age.months << "m");
            const COleDate born = BirthDateFromAge(age.years, age.months, now);
            const std::tm expected = CivilDaysLater(n.year, n.month, n.day, -age.days);
            EXPECT_EQ(born.Fields(), (OleDateFields{expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday,
                                                    n.hour, n.minute, 0}));
        }
    }
    EXPECT_FALSE(BirthDateFromAge(3, 6, COleDate()).IsValid());
}

TEST_F(PatientDates, TheAgeCountsYearsOf365DaysAndRoundsByHalfASecond)
{
    constexpr double kSecond = 1.0 / 86400;
    struct Case {
        long daysBack;
        double seconds;  // added to the birth date
        std::optional<PatientAge> age;
    };
    const std::vector<Case> cases{
        {0, 0, PatientAge{0, 0}},
        {1275, 0, PatientAge{3, 5}},   // 180 days are 5.9 months
        {365, 0, PatientAge{1, 0}},
        {364, 0, PatientAge{0, 11}},
        {396, 0, PatientAge{1, 1}},
        {730, 0, PatientAge{2, 0}},
        {365, 0.4 * kSecond, PatientAge{1, 0}},  // within half a second of a year
        {365, 0.6 * kSecond, PatientAge{0, 11}},
        {-400, 0, PatientAge{-1, -1}},  // born after now
    };
    for (const Moment& n : kNows) {
        const COleDate now = Now(n.year, n.month, n.day, n.hour, n.minute);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << n.year << "-" << n.month << "-" << n.day << " " << c.daysBack << " days");
            const COleDate born(now.AddDays(-c.daysBack).Value() + c.seconds);
            EXPECT_EQ(AgeFromBirthDate(born, now), c.age);
        }
        EXPECT_EQ(AgeFromBirthDate(COleDate(), now), std::nullopt);
        EXPECT_EQ(AgeFromBirthDate(now, COleDate()), std::nullopt);
    }
}

TEST_F(PatientDates, ANewPatientIsBornOnNewYearsDayOfTheYearBeforeTheOldBirthYear)
{
    struct Case {
        COleDate old;
        int year;  // 0: invalid
    };
    const std::vector<Case> cases{
        {COleDate::FromDate(2024, 2, 29), 2023},  {COleDate::FromDate(2000, 2, 29, 13, 0), 1999},
        {COleDate::FromDate(2023, 12, 31, 23, 59), 2022}, {COleDate::FromDate(2024, 1, 1), 2023},
        {COleDate::FromDate(1900, 3, 1), 1899},   {COleDate(), 0},
        {COleDate::FromDate(100, 6, 1), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.old.Format("%Y-%m-%d"));
        const COleDate born = NewPatientBirthDate(c.old);
        if (c.year == 0) {
            EXPECT_FALSE(born.IsValid());
        } else {
            EXPECT_EQ(born.Fields(), (OleDateFields{c.year, 1, 1, 0, 0, 0}));
        }
    }
}

TEST_F(PatientDates, BirthDateTextIsMonthDayYearWhateverTheLocale)
{
    // Every day of three years, leap day included, reads back as written.
    const COleDate first = COleDate::FromDate(2023, 1, 1);
    for (int i = 0; i < 3 * 366; ++i) {
        const COleDate day = first.AddDays(i);
        const std::string text = FormatBirthDateText(day);
        ASSERT_EQ(ParseBirthDateText(text), day) << text;
    }
    struct Case {
        const char* text;
        std::optional<OleDateFields> date;
    };
    const std::vector<Case> cases{
        {"02/09/2024", OleDateFields{2024, 2, 9}}, {"2/9/2024", OleDateFields{2024, 2, 9}},
        {"12/31/1899", OleDateFields{1899, 12, 31}}, {"02/29/2024", OleDateFields{2024, 2, 29}},
        {"02/29/2023", std::nullopt}, {"31/12/2023", std::nullopt}, {"13/01/2024", std::nullopt},
        {"", std::nullopt}, {"02-09-2024", std::nullopt}, {"02/09/2024x", std::nullopt},
        {" 02/09/2024", std::nullopt}, {"02/09/12024", std::nullopt}, {"002/09/2024", std::nullopt},
        {"Invalid DateTime", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseBirthDateText(c.text).Fields(), c.date) << c.text;
    EXPECT_EQ(FormatBirthDateText(COleDate()), "");
    EXPECT_EQ(DateStamp(Now(2024, 2, 9, 0, 30)), "20240209");
}
