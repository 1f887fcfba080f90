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
    ScopedTimeZone zone{kMidnightDstZone};
};

// Month ends, leap days, year ends and the days of both clock changes, in
// the small hours where a day counted in seconds slips.
const std::vector<OleDateFields> kNows{
    {2024, 1, 15, 0, 30, 0}, {2024, 3, 31, 0, 30, 0}, {2024, 2, 29, 0, 30, 0},   {2024, 3, 1, 0, 30, 0},
    {2024, 1, 1, 0, 30, 0},  {2024, 2, 18, 0, 30, 0}, {2023, 10, 15, 1, 30, 0},  {2023, 12, 31, 23, 30, 0},
};

// The local reading of that moment, as the view takes it from the clock.
COleDate Now(const OleDateFields& n)
{
    std::tm local{};
    local.tm_year = n.year - 1900;
    local.tm_mon = n.month - 1;
    local.tm_mday = n.day;
    local.tm_hour = n.hour;
    local.tm_min = n.minute;
    local.tm_isdst = -1;
    const COleDate now = COleDate::FromLocalTime(std::chrono::system_clock::from_time_t(std::mktime(&local)));
    EXPECT_EQ(now.Fields(), n);
    return now;
}

} // namespace

TEST_F(PatientDates, AnAgeGivesTheBirthDateThatManyCalendarDaysBack)
{
    struct Age {
        int years, months;
        long days;  // 365 a year, 30 a month
    };
    for (const OleDateFields& n : kNows) {
        const COleDate now = Now(n);
        for (const Age& age : std::vector<Age>{{3, 6, 1275}, {0, 1, 30}, {1, 0, 365}, {0, 0, 0}, {200, 18, 73540}})
            EXPECT_EQ(BirthDateFromAge(age.years, age.months, now).Fields(), CivilDaysLater(n, -age.days))
                << testing::PrintToString(n) << " less " << age.years << "y " << age.months << "m";
    }
    EXPECT_FALSE(BirthDateFromAge(3, 6, COleDate()).IsValid());
}

TEST_F(PatientDates, TheAgeCountsYearsOf365DaysAndRoundsByHalfASecond)
{
    constexpr double kSecond = 1.0 / 86400;
    struct Case {
        long daysBack;
        double seconds;  // added to the birth date
        PatientAge age;
    };
    const std::vector<Case> cases{
        {0, 0, {0, 0}},     {1275, 0, {3, 5}},  // 180 days are 5.9 months
        {365, 0, {1, 0}},   {364, 0, {0, 11}},  {396, 0, {1, 1}},
        {365, 0.4 * kSecond, {1, 0}},  {365, 0.6 * kSecond, {0, 11}},  // half a second either side
        {-400, 0, {-1, -1}},  // born after now
    };
    for (const OleDateFields& n : kNows) {
        const COleDate now = Now(n);
        for (const Case& c : cases)
            EXPECT_EQ(AgeFromBirthDate(COleDate(now.AddDays(-c.daysBack).Value() + c.seconds), now), c.age)
                << testing::PrintToString(n) << " less " << c.daysBack << " days";
        EXPECT_FALSE(AgeFromBirthDate(COleDate(), now));
        EXPECT_FALSE(AgeFromBirthDate(now, COleDate()));
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
        {COleDate::FromDate(2023, 12, 31, 23, 59), 2022}, {COleDate::FromDate(1900, 3, 1), 1899},
        {COleDate(), 0},                          {COleDate::FromDate(100, 6, 1), 0},
    };
    for (const Case& c : cases) {
        const COleDate born = NewPatientBirthDate(c.old);
        EXPECT_EQ(born, c.year == 0 ? COleDate() : COleDate::FromDate(c.year, 1, 1)) << c.old.Value();
    }
}

TEST_F(PatientDates, BirthDateTextIsMonthDayYearWhateverTheLocale)
{
    // Every day of three years, leap day included, reads back as written.
    const COleDate first = COleDate::FromDate(2023, 1, 1);
    for (int i = 0; i < 3 * 366; ++i)
        ASSERT_EQ(ParseBirthDateText(FormatBirthDateText(first.AddDays(i))), first.AddDays(i)) << i;
    struct Case {
        const char* text;
        COleDate date;
    };
    const std::vector<Case> cases{
        {"02/09/2024", COleDate::FromDate(2024, 2, 9)}, {"2/9/2024", COleDate::FromDate(2024, 2, 9)},
        {"12/31/1899", COleDate::FromDate(1899, 12, 31)}, {"02/29/2023", {}}, {"31/12/2023", {}},
        {"", {}}, {"02-09-2024", {}}, {"02/09/2024x", {}}, {" 02/09/2024", {}}, {"002/09/2024", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseBirthDateText(c.text), c.date) << c.text;
    EXPECT_EQ(FormatBirthDateText(COleDate()), "");
    EXPECT_EQ(DateStamp(COleDate::FromDate(2024, 2, 9, 23, 59)), "20240209");
}
