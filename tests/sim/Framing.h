#pragma once
// Encoders of the remote's inbound framing, for tests and the simulated
// remote. Written independently of the decoding side so that each checks
// the other.
#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

void AppendU16(Bytes& out, uint16_t value);
void AppendU32(Bytes& out, uint32_t value);
void PutU16(Bytes& out, std::size_t offset, uint16_t value);
void PutU32(Bytes& out, std::size_t offset, uint32_t value);
uint32_t SumOfBytes(const Bytes& bytes, std::size_t from = 0, std::size_t count = SIZE_MAX);

// 0xAA, then the bytes with 0xAA sent as A0 0A and 0xA0 as A0 A0.
Bytes StuffFrame(const Bytes& frame);

// id, data length, sequence, data sum, data.
Bytes BuildSubMessage(uint16_t id, const Bytes& data, uint32_t sequence = 0);

// Container header (0, count, payload length, sequence, payload sum) and the
// sub-messages one after the other. Not yet stuffed.
Bytes BuildContainer(const std::vector<Bytes>& subMessages, uint32_t sequence = 0);

// Stuffed container frame in one call.
Bytes FrameContainer(const std::vector<Bytes>& subMessages, uint32_t sequence = 0);

enum class LegacyFormat { A, B };
// A legacy fixed packet: `packet` padded with zeros to the format's nominal
// length (108 or 164) when shorter, its first word set to its length and its
// checksum (at 104 or 160) to the byte sum with those four bytes as zero.
// Not yet stuffed.
Bytes BuildLegacyPacket(LegacyFormat format, Bytes packet);
