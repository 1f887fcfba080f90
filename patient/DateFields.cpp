#include "patient/DateFields.h"

#include <algorithm>
#include <utility>

namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;
using std::chrono::year_month_day;

constexpr std::u16string_view kFallbackFormat = u"yyyy-MM-dd";
// Enough for any field; longer runs of digits are no field of ours anyway.
constexpr std::size_t kMaxDigitsRead = 9;

bool IsBidiMark(char16_t c)
{
    return c == u'\u200E' || c == u'\u200F' || c == u'\u061C';
}

// Locales pad their separators with spaces (hu "yyyy. MM. dd.") and Arabic
// ones mark the direction beside them.
bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || IsBidiMark(c);
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The field's characters without the blanks around them.
Span Trimmed(std::u16string_view text, Span span)
{
    while (span.begin < span.end && IsBlank(text[span.begin]))
        ++span.begin;
    while (span.end > span.begin && IsBlank(text[span.end - 1]))
        --span.end;
    return span;
}

// The index-th run between separators, or nothing beyond the last.
std::optional<Span> FieldSpan(std::u16string_view text, char16_t separator, std::size_t index)
{
    std::size_t begin = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t next = text.find(separator, begin);
        if (next == std::u16string_view::npos)
            return std::nullopt;
        begin = next + 1;
    }
    const std::size_t end = std::min(text.find(separator, begin), text.size());
    return Trimmed(text, {begin, end});
}

std::u16string Padded(long value, int width)
{
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), u'0');
    return digits;
}

struct Limits {
    long low;
    long high;
};

Limits LimitsOf(DateFieldKind kind)
{
    switch (kind) {
    case DateFieldKind::kDay:
        return {1, 31};
    case DateFieldKind::kMonth:
        return {1, 12};
    case DateFieldKind::kYear:
        break;
    }
    return {0, 9999};
}

} // namespace

std::u16string CDateFields::NormaliseShortFormat(std::u16string_view format)
{
    struct Token {
        DateFieldKind kind;
        int letters;
    };
    std::vector<Token> fields;
    std::u16string firstGap;  // what lies between the first two fields
    std::size_t i = 0;
    while (i < format.size()) {
        const char16_t c = format[i];
        if (c == u'\'') {
            const std::size_t close = format.find(u'\'', i + 1);
            i = close == std::u16string_view::npos ? format.size() : close + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        std::optional<Token> token;
        if (c == u'd' && run <= 2)
            token = Token{DateFieldKind::kDay, static_cast<int>(run)};
        else if (c == u'M')
            token = Token{DateFieldKind::kMonth, run <= 2 ? static_cast<int>(run) : 2};
        else if (c == u'y')
            token = Token{DateFieldKind::kYear, 4};
        if (token) {
            const bool seen = std::any_of(fields.begin(), fields.end(),
                                          [&](const Token& t) { return t.kind == token->kind; });
            if (!seen)
                fields.push_back(*token);
        } else if (!IsAsciiLetter(c) && fields.size() == 1) {
            firstGap.append(run, c);
        }
        i += run;
    }

    const auto separator = std::find_if(firstGap.begin(), firstGap.end(), [](char16_t c) { return !IsBlank(c); });
    char16_t chosen = 0;
    if (separator != firstGap.end())
        chosen = *separator;
    else if (!firstGap.empty() && firstGap.front() == u' ')
        chosen = u' ';
    if (fields.size() != 3 || chosen == 0 || IsDigit(chosen))
        return std::u16string(kFallbackFormat);

    std::u16string normalised;
    for (const Token& field : fields) {
        if (!normalised.empty())
            normalised += chosen;
        const char16_t letter = field.kind == DateFieldKind::kDay ? u'd' : field.kind == DateFieldKind::kMonth ? u'M' : u'y';
        normalised.append(static_cast<std::size_t>(field.letters), letter);
    }
    return normalised;
}

CDateFields::CDateFields(std::u16string_view shortFormat) : m_format(NormaliseShortFormat(shortFormat))
{
    // The normalised format is three runs of letters joined by one separator.
    std::size_t i = 0;
    while (i < m_format.size()) {
        const char16_t c = m_format[i];
        std::size_t run = 1;
        while (i + run < m_format.size() && m_format[i + run] == c)
            ++run;
        if (c == u'd')
            m_fields.push_back({DateFieldKind::kDay, static_cast<int>(run)});
        else if (c == u'M')
            m_fields.push_back({DateFieldKind::kMonth, static_cast<int>(run)});
        else if (c == u'y')
            m_fields.push_back({DateFieldKind::kYear, static_cast<int>(run)});
        else
            m_separator = c;
        i += run;
    }
}

ParsedDate CDateFields::Parse(std::u16string_view text, const std::optional<year_month_day>& today) const
{
    if (Trimmed(text, {0, text.size()}).begin == text.size())
        return {};
    const ParsedDate error{DateStatus::kError, {}};
    if (static_cast<std::size_t>(std::count(text.begin(), text.end(), m_separator)) + 1 != m_fields.size())
        return error;

    long values[3] = {};  // day, month, year
    bool shortYear = false;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const Span span = *FieldSpan(text, m_separator, i);
        const std::size_t length = span.end - span.begin;
        if (m_fields[i].kind == DateFieldKind::kYear) {
            shortYear = length == 2 && today.has_value();
            if (length != 4 && !shortYear)
                return error;
        } else if (length < 1 || length > 2) {
            return error;
        }
        long value = 0;
        for (std::size_t k = span.begin; k < span.end; ++k) {
            if (!IsDigit(text[k]))
                return error;
            value = value * 10 + (text[k] - u'0');
        }
        values[static_cast<int>(m_fields[i].kind)] = value;
    }
    year_month_day date{year(static_cast<int>(values[2])), month(static_cast<unsigned>(values[1])),
                        day(static_cast<unsigned>(values[0]))};
    if (shortYear) {
        const int century = static_cast<int>(today->year()) / 100 * 100;
        date = year(century + static_cast<int>(values[2])) / date.month() / date.day();
        if (date > *today)
            date = (date.year() - std::chrono::years(100)) / date.month() / date.day();
    }
    if (!date.ok() || date.year() < year(1))
        return error;
    return {DateStatus::kValid, date};
}

std::u16string CDateFields::FormatDate(year_month_day date) const
{
    if (!date.ok() || date.year() < year(1) || date.year() > year(9999))
        return {};
    std::u16string text;
    for (const Field& field : m_fields) {
        if (!text.empty())
            text += m_separator;
        switch (field.kind) {
        case DateFieldKind::kDay:
            text += Padded(static_cast<long>(static_cast<unsigned>(date.day())), field.letters);
            break;
        case DateFieldKind::kMonth:
            text += Padded(static_cast<long>(static_cast<unsigned>(date.month())), field.letters);
            break;
        case DateFieldKind::kYear:
            text += Padded(static_cast<int>(date.year()), 4);
            break;
        }
    }
    return text;
}

std::optional<std::size_t> CDateFields::FieldAt(std::u16string_view text, std::size_t caret) const
{
    const std::u16string_view before = text.substr(0, std::min(caret, text.size()));
    const auto field = static_cast<std::size_t>(std::count(before.begin(), before.end(), m_separator));
    if (field >= m_fields.size())
        return std::nullopt;
    return field;
}

std::optional<FieldStep> CDateFields::Step(std::u16string_view text, std::size_t caret, int delta,
                                           const DateLimits& limits, const std::optional<year_month_day>& today) const
{
    caret = std::min(caret, text.size());
    const std::optional<std::size_t> index = FieldAt(text, caret);
    if (!index)
        return std::nullopt;
    const Field& field = m_fields[*index];
    const Span span = *FieldSpan(text, m_separator, *index);

    // Like atoi: the leading digits, none reading as 0.
    long value = 0;
    for (std::size_t k = span.begin; k < span.end && k - span.begin < kMaxDigitsRead && IsDigit(text[k]); ++k)
        value = value * 10 + (text[k] - u'0');
    if (field.kind == DateFieldKind::kYear && span.end - span.begin == 2) {
        const ParsedDate typed = Parse(text, today);
        if (typed.status == DateStatus::kValid)
            value = static_cast<int>(typed.date.year());
    }
    const Limits range = LimitsOf(field.kind);
    long next = value + delta;
    if (next < range.low)
        next = range.high;
    else if (next > range.high)
        next = range.low;

    FieldStep result;
    result.text = std::u16string(text.substr(0, span.begin));
    result.text += Padded(next, field.kind == DateFieldKind::kYear ? 4 : field.letters);
    result.text += text.substr(span.end);

    const ParsedDate parsed = Parse(result.text);
    if (parsed.status == DateStatus::kValid) {
        std::u16string limit;
        if (limits.minimum && parsed.date < *limits.minimum)
            limit = FormatDate(*limits.minimum);
        else if (limits.maximum && parsed.date > *limits.maximum)
            limit = FormatDate(*limits.maximum);
        if (!limit.empty())
            result.text = std::move(limit);
    }

    // Same field, same place in it as far as the new width allows.
    const std::size_t offset = caret > span.begin ? caret - span.begin : 0;
    const Span now = FieldSpan(result.text, m_separator, *index).value_or(Span{});
    result.caret = now.begin + std::min(offset, now.end - now.begin);
    return result;
}
