#pragma once
// Signed 16-bit wire fields (samples, temperatures), little-endian.
#include <cstdint>

#include "link/ByteOrder.h"

inline int16_t ReadLeI16(const uint8_t* p)
{
    return static_cast<int16_t>(ReadLe16(p));
}
