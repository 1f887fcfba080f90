#pragma once
// The byte stream each remote model sends while it monitors a steady
// animal (120 beats and 20 breaths per minute): for benchmarks, fuzz seeds
// and the simulated remote. Repeatable by seed.
#include <cstdint>

#include "sim/WireBuilder.h"

enum class RemoteModel { TarvikClassic, TarvikPlus, Moval, Selvo, Brindle };

// What a connected remote of the model sends in `seconds` of monitoring:
// stuffed packets or containers (Tarvik, Selvo, Brindle, 32 ECG samples per
// packet at 400 per second) or Moval packets (48 samples at 500 per
// second), in wire order.
Bytes ModelStream(RemoteModel model, double seconds, uint32_t seed = 1);
