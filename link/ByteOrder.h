#pragma once
// Wire fields are little-endian and may sit at any offset: read them byte by
// byte, never through a cast pointer.
#include <bit>
#include <cstdint>

inline uint16_t ReadLe16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void WriteLe16(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteLe32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void WriteLe64(uint8_t* p, uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// An IEEE double by its bits, as a little-endian machine stores it.
inline void WriteLeF64(uint8_t* p, double value)
{
    WriteLe64(p, std::bit_cast<uint64_t>(value));
}

// Sum of the bytes as unsigned 8-bit values, wrapping at 32 bits.
inline uint32_t ByteSum(const uint8_t* p, uint32_t length)
{
    uint32_t sum = 0;
    for (uint32_t i = 0; i < length; ++i)
        sum += p[i];
    return sum;
}

// Sum of a packet's bytes with its four checksum bytes at `checksumAt`
// counted as zero (they may lie partly or wholly past `length`).
inline uint32_t ByteSumWithoutChecksum(const uint8_t* p, uint32_t length, uint32_t checksumAt)
{
    if (length <= checksumAt)
        return ByteSum(p, length);
    const uint32_t after = length - checksumAt > 4 ? checksumAt + 4 : length;
    return ByteSum(p, checksumAt) + ByteSum(p + after, length - after);
}
