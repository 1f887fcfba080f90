#pragma once
// What each remote model sends, as a simulated remote plays it: the bytes
// of a model's opening and of its data cycles, with fixed, recognisable
// values that tests read back from the live store.
#include <cstdint>

#include "sim/ModelStreams.h"
#include "sim/WireBuilder.h"

// Values every model's cycles carry.
struct ModelValues {
    static constexpr int16_t kTemperature = 10150;  // hundredths of a degree F: shown 1015
    static constexpr uint16_t kSpO2 = 97;
    static constexpr uint16_t kPulse = 88;
    static constexpr uint16_t kSystolic = 121;
    static constexpr uint16_t kDiastolic = 79;
    static constexpr uint16_t kMean = 93;
    static constexpr uint16_t kBpPulse = 72;
    static constexpr uint16_t kSelvoFeatures = 0x000F;  // ECG, resp, SpO2, temperature
    static constexpr uint16_t kBrindleFeatures = 0x0010;
};

// Samples of one cycle: a Moval packet carries 48, every other model 32.
int SamplesPerCycle(RemoteModel model);

// What the remote sends first: the Moval's prompt, a container remote's
// product and device-state messages, nothing for a Tarvik.
Bytes ModelOpening(RemoteModel model);

// One data cycle (numbered from 0: sequence numbers and the waveform run on).
// `notch`: the remote reports its mains filter at 60 Hz.
Bytes ModelCycle(RemoteModel model, uint32_t cycle, bool notch = false);

// `count` cycles one after the other, from `first`.
Bytes ModelCycles(RemoteModel model, uint32_t first, uint32_t count, bool notch = false);
