#pragma once
// Little-endian fields of received bytes, read byte by byte (the data may
// sit at any alignment).
#include <cstdint>

inline uint16_t WireU16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

inline int16_t WireI16(const uint8_t* p)
{
    return int16_t(WireU16(p));
}

inline uint32_t WireU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
