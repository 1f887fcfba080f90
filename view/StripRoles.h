#pragma once
// Which waveform goes on which strip, by the connected model, what it
// measures and the display settings; some models force those settings.
#include <cstdint>

#include "app/RemoteConfiguration.h"

struct StripRoles {
    int32_t stripCount = 4;      // strips shown, 0..4
    int32_t ecgStripCount = 0;   // strips 0 .. ecgStripCount-1 show ECG; 0 when none
    int32_t spo2Strip = -1;      // index of the SpO2 strip, -1 when absent
    int32_t respStrip = -1;      // respiration / CO2 / cuff-pressure strip
    int32_t o2Strip = -1;        // O2 / oscillometric strip

    constexpr bool operator==(const StripRoles&) const = default;
};

// "Max ECG Waveforms" as the assignment counts it: 1..4 as set; any other
// value (the setting is not range-checked at load) counts as 4, since the
// view has strips for four ECG traces at most.
int32_t MaxEcgStrips(int32_t setting);

// The roles for the remote; writes the display settings the table forces
// into `config` (the settings in force). UI thread only. A device kind
// outside the known models is laid out as one not yet reported.
StripRoles AssignStripRoles(int32_t deviceKind, uint16_t featureBits, RemoteConfiguration& config);
