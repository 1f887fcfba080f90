#include "recording/TrendScale.h"

#include <algorithm>

#include "link/LiveData.h"

namespace {

struct ScaleRule {
    int32_t threshold;
    // Half-heights by spread: spread below limit[i] takes half[i], else the last.
    std::array<int32_t, 4> limit;
    std::array<int32_t, 5> half;
    int steps;
    int32_t cap;
};

// By channel type.
constexpr std::array<ScaleRule, kTrendChannelTypes> kRules = {{
    {10, {40, 80, 120, 160}, {20, 40, 60, 80, 100}, 4, 800},  // HR
    {10, {40, 80}, {20, 40, 50}, 2, 150},                     // MAP
    {5, {20}, {20, 50}, 1, 100},                              // SpO2
    {10, {10}, {20, 40}, 1, 80},                              // CO2
    {10, {40, 80}, {20, 40, 50}, 2, 150},                     // RESP
    {10, {100, 200}, {100, 200, 400}, 2, 1100},               // TEMP
    {50, {10}, {20, 50}, 1, 1000},                            // O2
}};

int32_t HalfHeight(const ScaleRule& rule, int32_t spread)
{
    for (int i = 0; i < rule.steps; ++i)
        if (spread < rule.limit[std::size_t(i)])
            return rule.half[std::size_t(i)];
    return rule.half[std::size_t(rule.steps)];
}

int32_t RoundHalfUpToTen(int32_t value)
{
    const int32_t remainder = value % 10;
    return value - remainder + (remainder >= 5 ? 10 : 0);
}

void Add(TrendChannels& channels, int type, uint16_t top, uint16_t bottom)
{
    channels.channel[std::size_t(channels.count++)] = {type, top, bottom};
}

}  // namespace

TrendChannels ChooseTrendChannels(int32_t deviceKind, uint16_t featureBits)
{
    TrendChannels channels;
    auto has = [featureBits](uint16_t bit) { return (featureBits & bit) != 0; };
    switch (deviceKind) {
    case kDeviceTarvik:
        Add(channels, kTrendTypeHr, 200, 100);
        Add(channels, kTrendTypeSpO2, 100, 80);
        Add(channels, kTrendTypeResp, 40, 0);
        Add(channels, kTrendTypeTemp, 1100, 800);
        break;
    case kDeviceMoval:
        Add(channels, kTrendTypeHr, 200, 100);
        Add(channels, kTrendTypeTemp, 1100, 800);
        break;
    case kDeviceBrindle:
        Add(channels, kTrendTypeHr, 200, 100);
        if (has(kFeatureNibp))
            Add(channels, kTrendTypeMap, 150, 50);
        break;
    case kDeviceTarvikPlus:
    case kDeviceSelvo:
        Add(channels, kTrendTypeHr, 200, 100);
        if (has(kFeatureNibp))
            Add(channels, kTrendTypeMap, 150, 50);
        if (has(kFeatureSpO2))
            Add(channels, kTrendTypeSpO2, 100, 80);
        if (has(kFeatureCO2))
            Add(channels, kTrendTypeCo2, 100, 0);
        if (has(kFeatureResp))
            Add(channels, kTrendTypeResp, 45, 5);
        if (has(kFeatureTemp))
            Add(channels, kTrendTypeTemp, 1100, 800);
        if (has(kFeatureO2))
            Add(channels, kTrendTypeO2, 1000, 100);
        break;
    default:
        break;
    }
    return channels;
}

bool AutoScale(std::span<const uint16_t> samples, int channelType, uint16_t& top, uint16_t& bottom)
{
    if (samples.empty() || channelType < 0 || channelType >= kTrendChannelTypes)
        return false;
    const ScaleRule& rule = kRules[std::size_t(channelType)];
    uint64_t sum = 0;
    int32_t low = samples.front();
    int32_t high = samples.front();
    for (const uint16_t sample : samples) {
        sum += sample;
        low = std::min<int32_t>(low, sample);
        high = std::max<int32_t>(high, sample);
    }
    const auto mean = int32_t(sum / samples.size());
    const int32_t newest = samples.back();
    const int32_t reference = (newest - mean >= rule.threshold || mean - newest >= rule.threshold) ? newest : mean;
    int32_t g = 0;
    if (channelType == kTrendTypeTemp)
        g = RoundHalfUpToTen(reference / 10) * 10;
    else
        g = RoundHalfUpToTen(reference);
    const int32_t h = HalfHeight(rule, high - low);
    const int32_t newTop = std::min(g + h, rule.cap);
    int32_t newBottom = h < g ? g - h : 0;
    // The cap can bring top down to bottom or below; the plot divides by
    // their difference, so bottom goes one half-height under top instead.
    if (newTop <= newBottom)
        newBottom = std::max(newTop - h, 0);
    top = uint16_t(newTop);
    bottom = uint16_t(newBottom);
    return true;
}
