#pragma once
// What the trend window reads from the view that owns the trend store, on
// the UI thread. The store is handed over as plain arrays, so the window
// needs nothing of the view's own code.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "recording/TrendScale.h"

inline constexpr int kTrendSamples = 7200;
inline constexpr uint32_t kTrendPeriodSeconds = 2;
// Samples across the plot's 15 minutes.
inline constexpr int32_t kTrendPlotSamples = 450;

struct TrendStoreRead {
    // Rings 0..6, kTrendSamples each, in position order.
    std::array<std::span<const int16_t>, kTrendChannelTypes> rings{};
    std::span<const uint8_t> flags;
    int32_t index = 0;  // the next position
    int16_t wraps = 0;
};

// The unit selectors of the labels: nonzero shows the stored unit.
struct TrendUnits {
    int32_t co2 = 0;
    int32_t temp = 0;
    int32_t o2 = 0;
};

class ITrendView {
public:
    virtual ~ITrendView() = default;
    virtual TrendStoreRead TrendStore() const = 0;
    // The trend sampling runs (data flows).
    virtual bool TrendTimerOn() const = 0;
    // Set while the window runs; the view clears it to close the window.
    virtual bool TrendOpen() const = 0;
    // The store position up to which samples have been used for scaling.
    virtual int32_t TrendScaledIndex() const = 0;
    virtual void SetTrendScaledIndex(int32_t index) = 0;
    virtual std::string WindowTitle() const = 0;
    // Seconds since the first connection, which the store's samples follow.
    virtual int64_t ElapsedSeconds() const = 0;
    virtual TrendUnits Units() const = 0;
};
