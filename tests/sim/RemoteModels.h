#pragma once
// What each remote model sends, as a simulated remote plays it: the bytes
// of a model's opening and of its data cycles, with fixed, recognisable
// values that tests read back from the live store.
#include <cstdint>
#include <string>

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

// What a simulated remote reports in its cycles. The defaults are the
// values above with the plain test waves; a model sends what it measures
// and leaves the rest.
struct RemoteReport {
    double heartRate = 0.0;   // beats per minute drawn in the ECG and plethysmogram; 0: the plain test waves
    double breathRate = 0.0;  // breaths per minute in the impedance (and capnogram); 0: a flat impedance
    int16_t temperature = ModelValues::kTemperature;  // hundredths of a degree F; negative: none
    uint16_t spo2 = ModelValues::kSpO2;
    uint16_t pulse = ModelValues::kPulse;
    uint16_t systolic = ModelValues::kSystolic;
    uint16_t diastolic = ModelValues::kDiastolic;
    uint16_t mean = ModelValues::kMean;
    uint16_t bpPulse = ModelValues::kBpPulse;
    // Gas module (Tarvik Plus; a Selvo with the CO2 feature): expired
    // values, the inspired ones follow. CO2 and the agent in tenths of a
    // percent, O2 in percent; 0: not measured.
    uint8_t co2 = 0;
    uint8_t o2 = 0;
    uint8_t agent = 0;  // code of the identified agent, 1 halothane .. 5 desflurane
    uint8_t agentLevel = 0;
    // The remote's feature bits; 0: the model's usual ones. A Selvo sends
    // the messages its bits call for: ECG and impedance, SpO2, CO2 (each
    // with frames of its own), temperature.
    uint16_t features = 0;
    int battery = -1;  // status bits 0-2; negative: the model's usual level
    bool notch = false;  // the mains filter is at 60 Hz
    uint16_t stateCode = 0;  // a button or event of the remote, for this cycle
    std::string terminalText;  // Tarvik: text for the service terminal after the packet
};

// Samples of one cycle: a Moval packet carries 48, every other model 32.
int SamplesPerCycle(RemoteModel model);

// What the remote sends first: the Moval's prompt, a container remote's
// product and device-state messages, nothing for a Tarvik.
Bytes ModelOpening(RemoteModel model);

// One data cycle (numbered from 0: sequence numbers and the waveform run on).
// `notch`: the remote reports its mains filter at 60 Hz.
Bytes ModelCycle(RemoteModel model, uint32_t cycle, bool notch = false);

// One data cycle with the report's values and waves.
Bytes ModelCycle(RemoteModel model, uint32_t cycle, const RemoteReport& report);

// `count` cycles one after the other, from `first`.
Bytes ModelCycles(RemoteModel model, uint32_t first, uint32_t count, bool notch = false);
