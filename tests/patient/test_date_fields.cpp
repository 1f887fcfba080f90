#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "patient/DateFields.h"

namespace {

using namespace std::chrono;

std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

} // namespace

TEST(DateFields, ShortFormatsBecomeNumericWithFourDigitYears)
{
    const struct {
        std::u16string_view locale;
        std::u16string_view normalised;
        char16_t separator;
    } cases[] = {
        {u"MM/dd/yy", u"MM/dd/yyyy", u'/'},
        {u"M/d/yy", u"M/d/yyyy", u'/'},
        {u"MM/dd/yyyy", u"MM/dd/yyyy", u'/'},
        {u"dd.MM.yy", u"dd.MM.yyyy", u'.'},
        {u"yyyy. MM. dd.", u"yyyy.MM.dd", u'.'},
        {u"d.MM.yy '\u0433'.", u"d.MM.yyyy", u'.'},
        {u"d\u200F/M\u200F/yyyy", u"d/M/yyyy", u'/'},
        {u"d MMM yyyy", u"d MM yyyy", u' '},
        {u"dddd, d MMMM yyyy", u"d MM yyyy", u' '},
        {u"HH:mm", u"yyyy-MM-dd", u'-'},
        {u"yyyyMMdd", u"yyyy-MM-dd", u'-'},
    };
    for (const auto& c : cases) {
        const CDateFields fields(c.locale);
        EXPECT_EQ(Narrow(fields.Format()), Narrow(c.normalised)) << Narrow(c.locale);
        EXPECT_EQ(fields.Separator(), c.separator) << Narrow(c.locale);
    }
}

TEST(DateFields, ParsesOnlyWholeDatesWithFourDigitYears)
{
    const struct {
        std::u16string_view format;
        std::u16string_view text;
        DateStatus status;
        year_month_day date;
    } cases[] = {
        {u"MM/dd/yyyy", u"", DateStatus::kNone, {}},
        {u"MM/dd/yyyy", u"   ", DateStatus::kNone, {}},
        {u"MM/dd/yyyy", u"12/05/2001", DateStatus::kValid, 2001y / December / 5},
        {u"MM/dd/yyyy", u" 1/5/2001 ", DateStatus::kValid, 2001y / January / 5},
        {u"M/d/yyyy", u"02/29/2000", DateStatus::kValid, 2000y / February / 29},
        {u"dd.MM.yy", u"05.12.2001", DateStatus::kValid, 2001y / December / 5},
        {u"yyyy. MM. dd.", u"2001. 12. 05", DateStatus::kValid, 2001y / December / 5},
        {u"MM/dd/yy", u"3/4/20", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"12/05/01", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"13/05/2001", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"02/29/2001", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"12/05/0000", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"12-05-2001", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"12/05/2001/", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"12/05/2001x", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"1 2/05/2001", DateStatus::kError, {}},
        {u"MM/dd/yyyy", u"ab", DateStatus::kError, {}},
    };
    for (const auto& c : cases) {
        const ParsedDate parsed = CDateFields(c.format).Parse(c.text);
        EXPECT_EQ(parsed.status, c.status) << Narrow(c.text);
        if (c.status == DateStatus::kValid) {
            EXPECT_EQ(parsed.date, c.date) << Narrow(c.text);
        }
    }
}

TEST(DateFields, WrittenDatesReadBackAsTheSameDay)
{
    const year_month_day dates[] = {2001y / December / 5, 1926y / January / 31, 2000y / February / 29, 20y / March / 4};
    for (std::u16string_view format : {u"MM/dd/yy", u"M/d/yy", u"dd.MM.yy", u"yyyy. MM. dd.", u"d MMM yyyy"}) {
        const CDateFields fields(format);
        for (const year_month_day& date : dates) {
            const ParsedDate back = fields.Parse(fields.FormatDate(date));
            EXPECT_EQ(back.status, DateStatus::kValid) << Narrow(format);
            EXPECT_EQ(back.date, date) << Narrow(fields.FormatDate(date));
        }
    }
    EXPECT_TRUE(CDateFields(u"MM/dd/yyyy").FormatDate(year_month_day{2001y / February / 30}).empty());
}

TEST(DateFields, ArrowsStepTheFieldUnderTheCaretAndWrap)
{
    const struct {
        std::u16string_view format;
        std::u16string_view text;
        std::size_t caret;
        int delta;
        std::u16string_view expected;
        std::size_t expectedCaret;
    } cases[] = {
        {u"MM/dd/yyyy", u"12/05/2001", 1, +1, u"01/05/2001", 1},   // month wraps up
        {u"MM/dd/yyyy", u"12/01/2001", 4, -1, u"12/31/2001", 4},   // day wraps down
        {u"MM/dd/yyyy", u"12/05/2001", 3, +1, u"12/06/2001", 3},   // caret just after a separator
        {u"MM/dd/yyyy", u"12/05/2001", 2, -1, u"11/05/2001", 2},   // caret just before one
        {u"M/d/yyyy", u"12/5/2001", 1, +1, u"1/5/2001", 1},        // no leading zero, caret kept in
        {u"M/d/yyyy", u"1/5/2001", 0, -1, u"12/5/2001", 0},
        {u"M/d/yyyy", u"9/30/2001", 4, +1, u"9/31/2001", 4},       // no calendar check while stepping
        {u"MM/dd/yy", u"12/05/2001", 10, +1, u"12/05/2002", 10},
        {u"MM/dd/yy", u"12/05/01", 8, +1, u"12/05/0002", 8},      // a typed short year is written long
        {u"MM/dd/yy", u"12/05/9999", 6, +1, u"12/05/0000", 6},
        {u"MM/dd/yy", u"12/05/0000", 6, -1, u"12/05/9999", 6},
        {u"MM/dd/yyyy", u"12//2001", 3, +1, u"12/01/2001", 3},     // an empty field counts as 0
        {u"MM/dd/yyyy", u"", 0, -1, u"12", 0},
        {u"yyyy. MM. dd.", u"2001. 12. 05", 7, +1, u"2001. 01. 05", 7},
    };
    for (const auto& c : cases) {
        const auto step = CDateFields(c.format).Step(c.text, c.caret, c.delta, {});
        ASSERT_TRUE(step) << Narrow(c.text);
        EXPECT_EQ(Narrow(step->text), Narrow(c.expected)) << Narrow(c.format) << " " << Narrow(c.text);
        EXPECT_EQ(step->caret, c.expectedCaret) << Narrow(c.text);
    }
    EXPECT_FALSE(CDateFields(u"MM/dd/yyyy").Step(u"12/05/2001/7", 12, +1, {})) << "the caret lies in no field";
}

TEST(DateFields, ArrowsPastALimitGiveTheLimit)
{
    const CDateFields fields(u"MM/dd/yyyy");
    const DateLimits limits{1926y / June / 15, 2026y / June / 15};
    const struct {
        std::u16string_view text;
        std::size_t caret;
        int delta;
        std::u16string_view expected;
    } cases[] = {
        {u"06/15/2026", 4, +1, u"06/15/2026"},   // the day beyond the maximum
        {u"06/15/2025", 8, +1, u"06/15/2026"},   // reaching it exactly stays
        {u"12/15/2025", 9, +1, u"06/15/2026"},   // the year beyond it
        {u"06/15/1926", 1, -1, u"06/15/1926"},   // the month before the minimum
        {u"06/15/1926", 6, -1, u"06/15/1926"},
        {u"02/29/2024", 1, +1, u"03/29/2024"},
        {u"02/28/2027", 4, +1, u"02/29/2027"},   // no date, so no limit to apply
    };
    for (const auto& c : cases) {
        const auto step = fields.Step(c.text, c.caret, c.delta, limits);
        ASSERT_TRUE(step) << Narrow(c.text);
        EXPECT_EQ(Narrow(step->text), Narrow(c.expected)) << Narrow(c.text);
        EXPECT_EQ(fields.FieldAt(step->text, step->caret), fields.FieldAt(c.text, c.caret)) << Narrow(c.text);
    }
    const auto unlimited = fields.Step(u"06/15/2026", 4, +1, {});
    ASSERT_TRUE(unlimited);
    EXPECT_EQ(Narrow(unlimited->text), "06/16/2026") << "no limits set, nothing replaced";
}

TEST(DateFields, TwoDigitYearsAreReadAgainstTodayAndNeverLieAhead)
{
    const year_month_day today = 2026y / December / 9;
    const int century = static_cast<int>(today.year()) / 100 * 100;
    const struct {
        std::u16string_view text;
        int typedYear;      // the two digits; -1: no date
        bool lastCentury;   // this century's date would lie after today
    } cases[] = {
        {u"3/5/19", 19, false},
        {u"12/9/26", 26, false},    // today itself
        {u"12/10/26", 26, true},    // tomorrow
        {u"1/1/27", 27, true},
        {u"1/1/00", 0, false},
        {u"3/5/99", 99, true},
        {u"2/29/28", 28, true},     // 1928 was a leap year
        {u"2/29/27", -1, false},
        {u"3/5/1", -1, false},
        {u"3/5/019", -1, false},
    };
    const CDateFields fields(u"M/d/yy");
    for (const auto& c : cases) {
        const ParsedDate parsed = fields.Parse(c.text, today);
        if (c.typedYear < 0) {
            EXPECT_EQ(parsed.status, DateStatus::kError) << Narrow(c.text);
            continue;
        }
        ASSERT_EQ(parsed.status, DateStatus::kValid) << Narrow(c.text);
        EXPECT_EQ(static_cast<int>(parsed.date.year()), century + c.typedYear - (c.lastCentury ? 100 : 0))
            << Narrow(c.text);
        EXPECT_LE(parsed.date, today) << Narrow(c.text);
    }
    // Four digits are taken as typed; the arrows step the year that was read.
    EXPECT_EQ(fields.Parse(u"3/5/2119", today).date, 2119y / March / 5);
    const auto step = fields.Step(u"3/5/19", 5, +1, {}, today);
    ASSERT_TRUE(step);
    EXPECT_EQ(Narrow(step->text), "3/5/" + std::to_string(century + 20));
}
