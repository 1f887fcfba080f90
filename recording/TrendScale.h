#pragma once
// The trend window's channels and their scales: which of the seven trend
// rings a remote gets, where each starts, and how the newest samples move
// the scale.
#include <array>
#include <cstdint>
#include <span>

// A channel type is the index of its trend ring.
enum TrendChannelType : int {
    kTrendTypeHr = 0,
    kTrendTypeMap = 1,
    kTrendTypeSpO2 = 2,
    kTrendTypeCo2 = 3,
    kTrendTypeResp = 4,
    kTrendTypeTemp = 5,
    kTrendTypeO2 = 6,
};
inline constexpr int kTrendChannelTypes = 7;

struct TrendChannel {
    int type = kTrendTypeHr;
    uint16_t top = 0;
    uint16_t bottom = 0;
};

struct TrendChannels {
    int count = 0;
    std::array<TrendChannel, kTrendChannelTypes> channel{};
};

// The channels top to bottom, with their starting scales, for a model and
// the parameters it reports; none before the model is known.
TrendChannels ChooseTrendChannels(int32_t deviceKind, uint16_t featureBits);

// Fits top and bottom to the samples (stored units, read unsigned): about
// the mean, or about the newest when it strays from the mean, widened by
// the spread and capped. Top always ends above bottom. No samples: false,
// nothing changed.
bool AutoScale(std::span<const uint16_t> samples, int channelType, uint16_t& top, uint16_t& bottom);
