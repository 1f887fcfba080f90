#pragma once
// The texts of the numerics pane: a value box, the limit boxes beside it,
// the unit selectors, what a live value becomes before it reaches its box
// (gates, ranges, unit conversion, captions), and the blood-pressure error
// texts. Locale-free: numbers print as in the C locale.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class RemoteConfiguration;
struct LiveData;

// The text of a value box. With decimals the value is hundredths (slot 1,
// temperature) or tenths (every other slot), shown with one decimal; 0 or
// less is no value ("---"). Without decimals a value below the slot's
// minimum (1 for the respiration rate, 10 otherwise) is no value.
std::string ValueText(int slot, int32_t value, bool hasDecimals);

// The unit selector of a slot: 0 shows the value converted (degrees C,
// mmHg), 1 in the remote's unit (degrees F, %). Slots without a unit give 0.
uint8_t UnitSelector(int slot, const RemoteConfiguration& config);

// The species whose limits apply: a code outside 0..3 counts as "Other".
int32_t LimitSpecies(int32_t species);

// What a limit box shows after a relayout of the limits.
struct LimitBoxUpdate {
    bool visible = false;
    std::optional<std::string> text; // empty: the box keeps its text
};

// The high (or low) limit box of a slot for the patient's species. Shown
// only with "Alarms" on and that side enabled; the apnea slot's box stays
// hidden (it is the apnea indicator).
LimitBoxUpdate LimitBoxText(int slot, bool high, int32_t species, const RemoteConfiguration& config);

// The live values a slot's rule reads besides the slot's own value.
struct SlotInputs {
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
    uint8_t heartRateSource = 0;
    float ambientPressure = 0.0f;
    uint8_t primaryAgent = 0;
    uint8_t secondaryAgent = 0;
};
SlotInputs SlotInputsFrom(const LiveData& live);

// A caption box (numbered as the pane's groups) and its new text.
struct CaptionUpdate {
    int caption = 0;
    std::string text;
};

// What one slot's live value does to the pane. With the gate closed
// nothing is written.
struct SlotDisplay {
    bool gateOpen = false;
    int32_t value = 0; // 0: no value
    bool hasDecimals = false;
    std::vector<CaptionUpdate> captions; // set before the value is written
};

// The rule of a slot for its live value. `primaryGatesOnly` is the rewrite
// after a remote stop: heart and respiration rates open on their own
// feature bits only.
SlotDisplay SlotRule(int slot, int32_t value, const SlotInputs& live, const RemoteConfiguration& config,
                     bool primaryGatesOnly = false);

// Whether the connected remote has the slot's value at all: its rule's gate
// is open. Any thread (the settings are read relaxed).
bool ParameterPresent(int slot, const LiveData& live, const RemoteConfiguration& config);

// The explanation of a blood-pressure module error; null for 0 (no error).
const char* BpErrorText(int code);
