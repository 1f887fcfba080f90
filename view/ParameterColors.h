#pragma once
// One colour for each measured parameter: its numerics group, its strip's
// label and trace, and its event marks show the same one.
#include "platform/ColorRef.h"

inline constexpr COLORREF kHeartRateColor = 0x59FF3C;
inline constexpr COLORREF kEcgColor = kHeartRateColor;
inline constexpr COLORREF kTemperatureColor = 0xFFF7EA;
inline constexpr COLORREF kRespColor = 0x40FFFF;
inline constexpr COLORREF kSpO2Color = 0xFDFD2F;
inline constexpr COLORREF kBloodPressureColor = 0x67C4FF;
inline constexpr COLORREF kCO2Color = 0x03B1FC;  // also the Brindle's cuff trace
inline constexpr COLORREF kO2Color = 0xFC9283;
inline constexpr COLORREF kN2OColor = 0x85FAC8;
inline constexpr COLORREF kPrimaryAgentColor = 0x67C44D;
inline constexpr COLORREF kSecondaryAgentColor = 0x313FEE;
inline constexpr COLORREF kStatusColor = 0x4B00A7;
