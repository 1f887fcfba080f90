#include "patient/PatientDates.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kDaysPerAgeYear = 365;
constexpr int kDaysPerAgeMonth = 30;
constexpr double kHalfSecond = 0.5 / 86400.0;

// Digits only, `minDigits` to `maxDigits` of them, up to `separator` (or the
// end when it is 0); advances `text` past the separator.
std::optional<int> TakeNumber(std::string_view& text, std::size_t minDigits, std::size_t maxDigits, char separator)
{
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits < minDigits || digits > maxDigits)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    text.remove_prefix(digits);
    if (separator != '\0') {
        if (text.empty() || text.front() != separator)
            return std::nullopt;
        text.remove_prefix(1);
    }
    return value;
}

} // namespace

std::optional<PatientAge> AgeFromBirthDate(const COleDate& birthDate, const COleDate& now)
{
    const std::optional<double> span = COleDate::SpanDays(birthDate, now);
    if (!span)
        return std::nullopt;
    const double rounded = *span + (*span < 0 ? -kHalfSecond : kHalfSecond);
    const auto days = static_cast<int64_t>(std::trunc(rounded));
    // Whole numbers throughout: the same cut as the fraction of days / 365
    // times 12, without a fraction that rounding could push below a month.
    PatientAge age;
    age.years = static_cast<int>(days / kDaysPerAgeYear);
    age.months = static_cast<int>(days % kDaysPerAgeYear * 12 / kDaysPerAgeYear);
    return age;
}

COleDate BirthDateFromAge(int years, int months, const COleDate& now)
{
    return now.AddDays(-(static_cast<int64_t>(years) * kDaysPerAgeYear + static_cast<int64_t>(months) * kDaysPerAgeMonth));
}

COleDate NewPatientBirthDate(const COleDate& oldBirthDate)
{
    const std::optional<OleDateFields> fields = oldBirthDate.Fields();
    if (!fields)
        return {};
    return COleDate::FromDate(fields->year - 1, 1, 1);
}

std::string FormatBirthDateText(const COleDate& birthDate)
{
    return birthDate.Format("%m/%d/%Y");
}

COleDate ParseBirthDateText(std::string_view text)
{
    const std::optional<int> month = TakeNumber(text, 1, 2, '/');
    const std::optional<int> day = month ? TakeNumber(text, 1, 2, '/') : std::nullopt;
    const std::optional<int> year = day ? TakeNumber(text, 1, 4, '\0') : std::nullopt;
    if (!year || !text.empty())
        return {};
    return COleDate::FromDate(*year, *month, *day);
}

std::string DateStamp(const COleDate& now)
{
    return now.Format("%Y%m%d");
}
