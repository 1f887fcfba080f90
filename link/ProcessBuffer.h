#pragma once
// The packet processor's work on one received buffer: recognise the stream
// (a Moval's prompt, then containers or Tarvik packets) and hand the bytes
// to the right decoder.
#include <cstddef>
#include <cstdint>

struct DecodeState;
struct StreamDetector;

// Points the process-wide packet state machine at `decode`: the Tarvik
// callbacks and every id-tagged message handler, in the link's order.
void AttachDecoders(DecodeState& decode);

void ProcessBuffer(DecodeState& decode, StreamDetector& detector, const uint8_t* data, std::size_t length);
