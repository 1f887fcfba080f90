#include "config/ConfigFilters.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "app/ValueHelpers.h"

namespace {

// An edit's text as the filters read it: at most nine characters.
constexpr size_t kReadLength = 9;

std::string_view Cut(std::string_view text)
{
    return text.substr(0, kReadLength);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The leading number as "%f" reads it: blanks, a sign, then the longest
// number. Nothing when no number is there, or it is not finite.
std::optional<float> ScanFloat(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return std::nullopt;
    float value = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int32_t> ScanInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '+') {
        if (++i < text.size() && text[i] == '-')
            return std::nullopt;
    }
    int32_t value = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (result.ec != std::errc())
        return std::nullopt;
    return value;
}

// The common tail of the decimal filters: a last character that is a digit
// or a point asks for a number; a text that holds none stores nothing.
FilterResult DecimalFilter(std::string_view text, double (*convert)(float))
{
    if (text.empty())
        return {};
    const char last = text.back();
    if (!IsDigit(last) && last != '.')
        return {FilterAction::kClear, 0};
    const std::optional<float> value = ScanFloat(text);
    if (!value)
        return {};
    return {FilterAction::kStore, convert(*value)};
}

std::string OneDecimal(float value)
{
    std::string text;
    FormatOneDecimal(text, value);
    return text;
}

}  // namespace

double CelsiusFromFahrenheit(double fahrenheit)
{
    return (fahrenheit - 32) * 0.5555555555555556;
}

double FahrenheitFromCelsius(double celsius)
{
    return celsius * 1.8 + 32;
}

FilterResult FilterGas(std::string_view text, bool mmHg)
{
    return DecimalFilter(Cut(text), mmHg ? +[](float v) { return v / kMmHgPerPercent; }
                                         : +[](float v) { return double(v); });
}

FilterResult FilterInteger(std::string_view text)
{
    text = Cut(text);
    if (text.empty())
        return {};
    const std::optional<int32_t> value = ScanInt(text);
    if (value && IsDigit(text.back()))
        return {FilterAction::kStore, double(*value)};
    return {FilterAction::kClear, 0};
}

FilterResult FilterTemperature(std::string_view text, bool celsius, float storedFahrenheit)
{
    text = Cut(text);
    if (text.empty())
        return {};
    if (text == OneDecimal(storedFahrenheit) ||
        text == OneDecimal(static_cast<float>(CelsiusFromFahrenheit(storedFahrenheit))))
        return {};
    return DecimalFilter(text, celsius ? +[](float v) { return FahrenheitFromCelsius(v); }
                                       : +[](float v) { return double(v); });
}

FilterResult FilterCO2(std::string_view text, bool mmHg, float storedPercent)
{
    text = Cut(text);
    if (text.empty())
        return {};
    if (text == OneDecimal(storedPercent) || text == OneDecimal(static_cast<float>(storedPercent * kMmHgPerPercent)))
        return {};
    return DecimalFilter(text, mmHg ? +[](float v) { return v * kCO2PercentPerMmHg; }
                                    : +[](float v) { return double(v); });
}

FilterResult FilterApnea(std::string_view text)
{
    text = Cut(text);
    if (text.empty())
        return {};
    if (text[0] < '2' || text[0] > '6')
        return {FilterAction::kClear, 0};
    if (text.size() == 1)
        return {};
    const std::optional<int32_t> value = ScanInt(text);
    if (value && *value >= 20 && *value <= 60)
        return {FilterAction::kStore, double(*value)};
    return {FilterAction::kClear, 0};
}

std::string GasText(float percent, bool mmHg)
{
    const double shown = mmHg ? percent * kMmHgPerPercent : double(percent);
    return FormatPlainOneDecimal(std::isnan(shown) ? 0.0 : shown);
}

std::string TemperatureText(float fahrenheit, bool celsius)
{
    return OneDecimal(celsius ? static_cast<float>(CelsiusFromFahrenheit(fahrenheit)) : fahrenheit);
}

std::string CO2Text(float percent, bool mmHg)
{
    return OneDecimal(mmHg ? static_cast<float>(percent * kMmHgPerPercent) : percent);
}
