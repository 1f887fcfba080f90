#include "app/ValueHelpers.h"

#include <charconv>
#include <cstdio>
#include <cmath>
#include <limits>

namespace {

// Half up to one decimal plus a small guard, so that the later floor or
// print does not fall one tenth short through representation error.
double TenthsGuarded(float value)
{
    const double widened = value;
    const double t = std::floor(10.0 * (widened + 0.05)) / 10.0;
    return t + 0.05 * 0.1;
}

} // namespace

int32_t RoundToTenths(float value)
{
    if (std::isnan(value))
        return 0;
    const double tenths = std::floor(10.0 * TenthsGuarded(value));
    if (tenths >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (tenths <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(tenths);
}

void FormatOneDecimal(std::string& out, float value)
{
    const double t = std::isnan(value) ? 0.0 : TenthsGuarded(value);
    // to_chars prints exactly as printf does in the C locale, whatever the
    // process locale says.
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, t, std::chars_format::fixed, 1);
    std::string text(digits, result.ptr);
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), ' ');
    out = std::move(text);
}

int16_t RoundToShort(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double lower = std::floor(value);
    const double upper = std::ceil(value);
    const double whole = (value - lower > 0.5) ? upper : lower;
    // The low 16 bits of the whole number; fmod is exact, so this matches a
    // cut through 64 bits wherever that fits and stays defined beyond it.
    double low = std::fmod(whole, 65536.0);
    if (low < 0)
        low += 65536.0;
    return static_cast<int16_t>(static_cast<uint16_t>(low));
}

std::string FormatTimeSpan(int64_t seconds)
{
    const long long s = seconds < 0 ? 0 : static_cast<long long>(seconds);
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld:%02lld", s / 86400, s / 3600 % 24, s / 60 % 60, s % 60);
    return text;
}

std::string FormatPlainOneDecimal(double value)
{
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
    std::string text(digits, result.ptr);
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), ' ');
    return text;
}

std::string_view TrimSpaces(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
