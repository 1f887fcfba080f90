#pragma once
// The remote's buttons and events as the PC acts on them, and the state code
// each model sends for them in its data.
#include <cstdint>
#include <optional>
#include <string>

#include "sim/ModelStreams.h"

// The state code that `model` sends for the button `name` ("mark", "bp",
// ...); none when the model has no such button.
std::optional<uint16_t> ButtonStateCode(RemoteModel model, const std::string& name);

// What the PC makes of a state code from `model` ("mark"); empty when
// nothing.
std::string ButtonOfStateCode(RemoteModel model, uint16_t stateCode);

// The model's buttons, for messages: "print, freeze, mark, ...".
std::string ButtonNames(RemoteModel model);
