#pragma once
// Synthetic monitoring data and the byte stream each remote model sends for
// it: for benchmarks, fuzz seeds and the simulated remote.
#include <cstdint>
#include <random>

#include "sim/WireBuilder.h"

// A steady animal: ECG beats at a fixed rate, breathing as a sine on the
// impedance and CO2 channels, a plethysmogram pulse. Repeatable by seed.
class SyntheticPatient {
public:
    SyntheticPatient(int ecgRate, int beatsPerMinute, int breathsPerMinute, uint32_t seed = 1);

    int16_t NextEcg();          // at ecgRate
    uint16_t NextImpedance();   // at 75 per second
    uint8_t NextPleth();        // at 75 per second
    uint16_t NextCo2();         // at 75 per second, tenths of a percent scale
    int16_t NextCuffPressure(); // at 75 per second, a slow deflation with pulses

private:
    int m_ecgRate;
    int m_beatPeriod;    // ECG samples per beat
    int m_breathPeriod;  // slow samples per breath
    int m_pulsePeriod;   // slow samples per beat
    uint64_t m_ecgIndex = 0;
    uint64_t m_slowIndex[4] = {};
    std::mt19937 m_random;
};

enum class RemoteModel { TarvikClassic, TarvikPlus, Moval, Selvo, Brindle };

// What a connected remote of the model sends in `seconds` of monitoring:
// stuffed packets or containers (Tarvik, Selvo, Brindle, 32 samples per
// packet) or Moval packets (48 samples), in wire order.
Bytes ModelStream(RemoteModel model, double seconds, uint32_t seed = 1);
