#pragma once
// The fields of a date typed as text in the locale's numeric short format:
// reading the text to a date, writing a date, and the Up and Down keys that
// step the field under the caret. Texts are UTF-16, as the edit holds them,
// so that caret positions count alike on both sides; digits are ASCII.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a text holds; the values are the date picker's status codes.
enum class DateStatus : int { kError = -1, kValid = 0, kNone = 1 };

struct ParsedDate {
    DateStatus status = DateStatus::kNone;
    std::chrono::year_month_day date{};  // only with kValid
};

struct DateLimits {
    std::optional<std::chrono::year_month_day> minimum;
    std::optional<std::chrono::year_month_day> maximum;
};

struct FieldStep {
    std::u16string text;
    std::size_t caret = 0;
};

enum class DateFieldKind { kDay, kMonth, kYear };

class CDateFields {
public:
    // A format in the letters d, M and y ("M/d/yy", "dd.MM.yyyy"), normalised
    // by NormaliseShortFormat.
    explicit CDateFields(std::u16string_view shortFormat);

    // The fields of the format in their order and padding, joined by its
    // first separator. Years are always written with four digits: two read
    // back in the wrong century. Month and weekday names give way to numbers;
    // quoted texts and bidi marks are dropped. A format without all three
    // fields and a separator becomes "yyyy-MM-dd".
    static std::u16string NormaliseShortFormat(std::u16string_view format);

    const std::u16string& Format() const { return m_format; }
    char16_t Separator() const { return m_separator; }

    // Empty (or blank): kNone. Three fields of digits in the format's order,
    // one or two for day and month and four for the year, naming a real day
    // from the year 1 on: kValid. Anything else: kError.
    // Given today, a year of two digits is taken too, in this century, or
    // in the one before when that would make the date lie after today:
    // 19 is 2019, never 2119; a birth date is never in the future.
    ParsedDate Parse(std::u16string_view text,
                     const std::optional<std::chrono::year_month_day>& today = std::nullopt) const;
    // The date in the format; empty for a date that Parse would not give.
    std::u16string FormatDate(std::chrono::year_month_day date) const;

    // The field the caret is in (the count of separators before it), or
    // nothing when the text has more fields than the format.
    std::optional<std::size_t> FieldAt(std::u16string_view text, std::size_t caret) const;
    DateFieldKind KindOf(std::size_t field) const { return m_fields[field].kind; }

    // Up (+1) or Down (-1) on the field under the caret: wraps within day
    // 1..31, month 1..12, year 0..9999; a resulting date beyond a limit is
    // replaced by that limit. The caret stays in the field. Nothing when the
    // caret lies in no field. A two-digit year steps from the year that
    // Parse reads with `today`.
    std::optional<FieldStep> Step(std::u16string_view text, std::size_t caret, int delta, const DateLimits& limits,
                                  const std::optional<std::chrono::year_month_day>& today = std::nullopt) const;

private:
    struct Field {
        DateFieldKind kind;
        int letters;  // 1 or 2 (day, month), 4 (year)
    };

    std::u16string m_format;
    char16_t m_separator = u'-';
    std::vector<Field> m_fields;  // three
};
