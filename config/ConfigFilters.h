#pragma once
// The limit pages' input filters: each keystroke's text is judged at once
// and either stored into the working copy, cleared from the edit, or left
// alone. Ranges are not tested here; the dialog's OK does that. Numbers
// are read and written in the C locale whatever the process's locale.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/ValueHelpers.h"

enum class FilterAction { kNothing, kStore, kClear };

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
