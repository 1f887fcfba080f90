#pragma once
// The 46-byte gas block that the CO2 message carries and that a Tarvik Plus
// packet embeds at offset 80: capnogram and O2 samples, gas values, the
// agent analyser's identification and the module status bytes.
#include <cstdint>

constexpr int kGasBlockSize = 46;
constexpr int kGasCo2Samples = 2;  // six u16
constexpr int kGasO2Samples = 16;  // six u16
constexpr int kGasByte15 = 15;     // Tarvik Plus: raw agent values flag and status bits

enum class GasBlockOrigin { Co2Message, TarvikPlus };

constexpr float kStandardAmbientPressure = 10.1325f;

// The module status bytes and the probe state.
void DecodeGasFlags(const uint8_t* gas);

// The module set-up for a remote that measures CO2 (bit 5 of `features`):
// capnogram respiration rate, ambient pressure, gas-status byte 10, and the
// agents offered or identified, which set the agent bits of `features`.
// Without bit 5 only the ambient pressure goes back to the standard.
// Returns whether bit 5 was set.
bool DecodeGasSetUp(const uint8_t* gas, uint16_t& features, GasBlockOrigin origin);

// The apnea value and the gas numerics (CO2, O2, N2O and the current
// agents), each kept only inside its range.
void DecodeGasValues(const uint8_t* gas);

// An agent value in tenths of a percent, kept between 1 and the agent's
// limit; 0 otherwise and for agent codes outside 1..5.
int16_t AgentValue(int agent, uint8_t value);
