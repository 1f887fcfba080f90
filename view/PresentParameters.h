#pragma once
// Which numeric parameters the connected remote has a box for: the same
// gates as the boxes the view rewrites on new data.
#include <cstdint>

struct PresenceInputs {
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
    bool showN2O = false;
    uint8_t primaryAgent = 0;    // agent code 1..5, 0 none
    uint8_t secondaryAgent = 0;
};

bool ParameterPresent(int slot, const PresenceInputs& in);
