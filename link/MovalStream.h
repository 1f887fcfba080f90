#pragma once
// Moval remotes: a stream of 112-byte packets, each opened by four 0xAA
// bytes, carrying 48 ECG samples at 500 per second.
#include <cstddef>
#include <cstdint>

struct DecodeState;

// (2 x (header + sum of the 48 samples as signed words + the u32 at 104))
// + 1, modulo 65536, over a whole 112-byte packet.
uint16_t MovalChecksum(const uint8_t* packet);

// A sample word is the ECG value times 4 plus two flag bits; negative
// values divide with an arithmetic shift, the exact inverse.
constexpr int16_t MovalSampleValue(int16_t word)
{
    return int16_t(word >> 2);
}

// One received chunk of a Moval stream.
void EcgMovalStream(DecodeState& link, const uint8_t* data, std::size_t length);
