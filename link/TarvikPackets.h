#pragma once
// Tarvik remotes: fixed checksummed packets, classic (108 bytes) and Plus
// (164 bytes), each optionally followed by text for the service terminal.
// They arrive either whole from the packet state machine (the legacy
// callbacks) or as a raw 0xAA-framed stream.
#include <cstddef>
#include <cstdint>

struct DecodeState;

constexpr uint32_t kTarvikClassicLength = 108;
constexpr uint32_t kTarvikClassicLimit = 236;
constexpr uint32_t kTarvikClassicChecksum = 104;
constexpr uint32_t kTarvikPlusLength = 164;
constexpr uint32_t kTarvikPlusLimit = 292;
constexpr uint32_t kTarvikPlusChecksum = 160;
constexpr uint32_t kTarvikTextRoom = 128; // limit - nominal length

// Byte sum of the first `length` bytes with the four checksum bytes at
// `checksumAt` counted as zero.
uint32_t TarvikChecksum(const uint8_t* packet, uint32_t length, uint32_t checksumAt);

// Legacy callbacks (owner = DecodeState): check the sum, then decode.
void ProcessTarvikClassicMessage(void* owner, const uint8_t* packet, uint32_t length);
void ProcessTarvikPlusMessage(void* owner, const uint8_t* packet, uint32_t length);

// One received chunk of a Tarvik stream.
void EcgTarvikStream(DecodeState& link, const uint8_t* data, std::size_t length);

// 1 classic, 2 Plus, 0 unknown, from the last complete frame in the stream
// buffer.
int DetermineTarvikType(DecodeState& link);

// The stream packet in the buffer has reached its length word: compares
// its sum once and, when it matches, handles and decodes it.
void CheckTarvikStreamPacket(DecodeState& link);

// Decodes the checked packet in the stream buffer (classic when deviceKind
// is 1, else Plus) into the live store and the ring.
void DecodeTarvikPayload(DecodeState& link);
