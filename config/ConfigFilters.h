#pragma once
// The limit pages' input filters. Each text an edit would take is judged
// first: a keystroke that would leave a text that can never be a value is
// refused (the edit keeps, or gets back, its last valid text), an
// unfinished text stores nothing yet, and a whole value is stored into the
// working copy at once. So an edit never shows what OK would not store.
// Ranges are not tested here; the dialog's OK does that. Numbers are read
// and written in the C locale whatever the process's locale.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/ValueHelpers.h"

// An edit holds at most this many characters.
inline constexpr size_t kEditTextLength = 9;

enum class TextState { kInvalid, kIntermediate, kAcceptable };

// Whole numbers: rates, pressures, the port. Digits only.
TextState JudgeWhole(std::string_view text);
// Temperatures and gases: digits with at most one point and one decimal,
// as the pages show them.
TextState JudgeDecimal(std::string_view text);
// Apnea seconds, 20 to 60; a first digit 2 to 6 is unfinished.
TextState JudgeApnea(std::string_view text);

enum class FilterAction { kNothing, kStore, kRefuse };

struct FilterResult {
    FilterAction action = FilterAction::kNothing;
    double value = 0;  // to store: percent, degrees F or a whole number
};

// mmHg per volume percent at one standard atmosphere (0.75 x 10.1325).
inline constexpr double kMmHgPerPercent = 7.599375;
// The CO2 page turns mmHg back into percent with this factor.
inline constexpr double kCO2PercentPerMmHg = 0.13158976889546836;

double CelsiusFromFahrenheit(double fahrenheit);
double FahrenheitFromCelsius(double celsius);


// A gas value (O2, N2O, the agents): `mmHg` when the page's unit is 0.
FilterResult FilterGas(std::string_view text, bool mmHg);
// Heart rate, SpO2, respiration rate, pressures.
FilterResult FilterInteger(std::string_view text);
// A temperature; `celsius` when the unit is 0. The stored value's own
// display (in either unit) is not stored again.
FilterResult FilterTemperature(std::string_view text, bool celsius, float storedFahrenheit);
// A CO2 value; `mmHg` when the unit is 0, with the same echo test.
FilterResult FilterCO2(std::string_view text, bool mmHg, float storedPercent);
// Apnea seconds, 20 to 60.
FilterResult FilterApnea(std::string_view text);

// What an edit shows for a stored value.
std::string GasText(float percent, bool mmHg);
std::string TemperatureText(float fahrenheit, bool celsius);
std::string CO2Text(float percent, bool mmHg);
