#include "config/ConfigFilters.h"

#include <charconv>
#include <cmath>

#include "app/ValueHelpers.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A judged whole text: digits only, at most nine of them.
int32_t ReadWhole(std::string_view text)
{
    int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A judged decimal text: digits around at most one point.
double ReadDecimal(std::string_view text)
{
    // "5." and ".5" are whole values; from_chars wants a digit each side.
    const std::string padded = "0" + std::string(text) + (text.back() == '.' ? "0" : "");
    float value = 0;
    std::from_chars(padded.data(), padded.data() + padded.size(), value);
    return value;
}

// The common tail of the decimal filters.
FilterResult DecimalFilter(std::string_view text, double (*convert)(double))
{
    switch (JudgeDecimal(text)) {
    case TextState::kInvalid: return {FilterAction::kRefuse, 0};
    case TextState::kIntermediate: return {};
    case TextState::kAcceptable: break;
    }
    return {FilterAction::kStore, convert(ReadDecimal(text))};
}

std::string OneDecimal(float value)
{
    std::string text;
    FormatOneDecimal(text, value);
    return text;
}

}  // namespace

TextState JudgeWhole(std::string_view text)
{
    if (text.size() > kEditTextLength)
        return TextState::kInvalid;
    for (const char c : text)
        if (!IsDigit(c))
            return TextState::kInvalid;
    return text.empty() ? TextState::kIntermediate : TextState::kAcceptable;
}

TextState JudgeDecimal(std::string_view text)
{
    if (text.size() > kEditTextLength)
        return TextState::kInvalid;
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (decimals.size() > 1)
        return TextState::kInvalid;
    for (const std::string_view part : {whole, decimals})
        for (const char c : part)
            if (!IsDigit(c))
                return TextState::kInvalid;
    return whole.empty() && decimals.empty() ? TextState::kIntermediate : TextState::kAcceptable;
}

TextState JudgeApnea(std::string_view text)
{
    if (text.empty())
        return TextState::kIntermediate;
    if (text[0] < '2' || text[0] > '6' || text.size() > 2 || JudgeWhole(text) != TextState::kAcceptable)
        return TextState::kInvalid;
    if (text.size() == 1)
        return TextState::kIntermediate;
    const int32_t seconds = ReadWhole(text);
    return seconds >= 20 && seconds <= 60 ? TextState::kAcceptable : TextState::kInvalid;
}

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
    return DecimalFilter(text, mmHg ? +[](double v) { return v / kMmHgPerPercent; } : +[](double v) { return v; });
}

FilterResult FilterInteger(std::string_view text)
{
    switch (JudgeWhole(text)) {
    case TextState::kInvalid: return {FilterAction::kRefuse, 0};
    case TextState::kIntermediate: return {};
    case TextState::kAcceptable: break;
    }
    return {FilterAction::kStore, double(ReadWhole(text))};
}

FilterResult FilterTemperature(std::string_view text, bool celsius, float storedFahrenheit)
{
    if (text == OneDecimal(storedFahrenheit) ||
        text == OneDecimal(static_cast<float>(CelsiusFromFahrenheit(storedFahrenheit))))
        return {};
    return DecimalFilter(text, celsius ? +[](double v) { return FahrenheitFromCelsius(v); }
                                       : +[](double v) { return v; });
}

FilterResult FilterCO2(std::string_view text, bool mmHg, float storedPercent)
{
    if (text == OneDecimal(storedPercent) || text == OneDecimal(static_cast<float>(storedPercent * kMmHgPerPercent)))
        return {};
    return DecimalFilter(text, mmHg ? +[](double v) { return v * kCO2PercentPerMmHg; } : +[](double v) { return v; });
}

FilterResult FilterApnea(std::string_view text)
{
    switch (JudgeApnea(text)) {
    case TextState::kInvalid: return {FilterAction::kRefuse, 0};
    case TextState::kIntermediate: return {};
    case TextState::kAcceptable: break;
    }
    return {FilterAction::kStore, double(ReadWhole(text))};
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
