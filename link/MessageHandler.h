#pragma once
#include <cstdint>

// A handler of one id-tagged sub-message: called with its owner (the link's
// decode state), the sub-message data and its length in bytes.
using MessageCallback = void (*)(void* owner, const uint8_t* data, uint16_t length);
