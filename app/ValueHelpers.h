#pragma once
// Rounding of measured and typed values to the tenths the settings store,
// and the trimming of typed texts. Every input is defined: NaN gives 0, out-of-range results saturate or wrap
// as stated instead of reaching an undefined float-to-integer conversion.
#include <cstdint>
#include <string>
#include <string_view>

// Whole tenths, half up, computed in double from the float as given; so a
// decimal half that the float holds a little low (37.05f) rounds down.
// Saturates at the 32-bit range.
int32_t RoundToTenths(float value);

// The value half up to one decimal, as "%3.1f" would print it in the C
// locale (width 3 is a minimum). NaN prints as "0.0".
void FormatOneDecimal(std::string& out, float value);

// Nearest whole number, an exact half going down, cut to its low 16 bits.
int16_t RoundToShort(double value);

// A span of whole seconds as a time span prints it with "%D:%H:%M:%S":
// days, then the day's hours, minutes and seconds in two digits. A
// negative span counts as 0.
std::string FormatTimeSpan(int64_t seconds);

// "%3.1f" of the value as printf prints it in the C locale.
std::string FormatPlainOneDecimal(double value);

// The text without its leading and trailing spaces (tabs are kept).
std::string_view TrimSpaces(std::string_view text);
