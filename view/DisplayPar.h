#pragma once
// The record of "CDispView_DisplayPar": one value for one box, posted from
// any thread. The poster allocates it; the handler frees it.
#include <cstdint>

#include "platform/WindowMessages.h"

class RemoteConfiguration;

struct DisplayPar {
    int32_t slot = 0;  // a ParameterIndex
    int32_t value = 0;
    uint8_t hasDecimals = 0;
};

// Posts {slot, 0, no decimals} to `window`: the box then shows no value.
// False when the post failed (the record is freed here then).
bool PostDisplayPar(IMessagePoster& poster, WindowHandle window, int32_t slot);

// Posts no value to every box the connected remote shows now, with the
// settings in force.
void BlankPresentBoxes(IMessagePoster& poster, WindowHandle window, const RemoteConfiguration& config);
