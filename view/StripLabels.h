#pragma once
// The label column right of each strip: the waveform's name written down
// the column, in the waveform's colour.
#include <cstdint>
#include <string>

#include "platform/ColorRef.h"
#include "view/StripRoles.h"

struct StripLabel {
    std::string text;  // lines separated by "\r\n"; empty: no text
    COLORREF color = 0;
};

// The label of strip `strip`; a strip without a waveform of its own keeps
// `lastColor`, the colour of the label before it.
StripLabel StripLabelFor(int strip, const StripRoles& roles, int32_t deviceKind, uint16_t featureBits,
                         COLORREF lastColor);

// Whether the grid shows under strip `strip` (with the "Grid" setting on):
// ECG strips, the CO2 strip and the Brindle's oscillometric strip.
bool StripShowsGrid(int strip, const StripRoles& roles, int32_t deviceKind, uint16_t featureBits);
