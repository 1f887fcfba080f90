#pragma once
// The trend window's logic: its channels and scales, the close countdown,
// the rescaling from new samples, the scroll position and the snapshot of
// the store it plots. The window drives it from its timers and scroll bar.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "recording/TrendScale.h"
#include "recording/TrendView.h"

class CTrendPlot {
public:
    static constexpr int kLivePosition = 240;
    static constexpr int kPageStep = 15;
    static constexpr int kCloseTicks = 150;     // of 100 ms
    static constexpr int kMinNewSamples = 6;
    static constexpr int64_t kFifteenMinutes = 15 * 60;
    // First shown position of a wrapped snapshot at a past scroll position p:
    // p x 6749 / 240.
    static constexpr int32_t kWrappedSpan = 6749;

    enum ScrollCode { kLineLeft, kLineRight, kPageLeft, kPageRight, kThumbPosition, kThumbTrack, kOtherCode };

    struct Shown {
        int32_t first = 0;    // snapshot index of the first plotted sample
        int32_t count = 0;    // samples plotted
        int32_t end = 0;      // snapshot index after the last one shown
        int64_t seconds = 0;  // the shown time: where the plot ends
        bool full = false;    // the plot is full: the bar and the time texts show
    };

    CTrendPlot();

    // Channels and starting scales of the remote; live position, full countdown.
    void Init(int32_t deviceKind, uint16_t featureBits);
    const TrendChannels& Channels() const { return m_channels; }

    // The 100 ms tick: true when the window closes now (the countdown ran
    // out unpinned, or the view asked it to close). Pinning zeroes the
    // countdown, so that unpinning closes at the next tick.
    bool OnCloseTick(bool pinned, bool trendOpen);
    int32_t Countdown() const { return m_countdown; }

    // The 2 s tick: rescales every channel from the samples the view has
    // not yet used for scaling, when there are at least six; true then.
    bool Rescale(const TrendStoreRead& store, int32_t& scaledIndex);

    // Keeps the position within 0..240; true when it changed.
    bool Scroll(ScrollCode code, int thumb);
    int Position() const { return m_position; }
    bool Live() const { return m_position == kLivePosition; }

    // The drawing's samples. At the live position a new snapshot of the
    // store is taken (the 7200 newest, oldest first, once it has wrapped)
    // with the elapsed time; a past position keeps the snapshot.
    Shown Select(const TrendStoreRead& store, int64_t elapsedSeconds);
    std::span<const int16_t> Snapshot(int channelType) const;
    std::span<const uint8_t> SnapshotFlags() const;
    int32_t SnapshotCount() const { return m_snapshotCount; }

    bool RedrawPending() const { return m_redrawPending; }
    void DrawDone() { m_redrawPending = false; }

private:
    void TakeSnapshot(const TrendStoreRead& store, int64_t elapsedSeconds);

    TrendChannels m_channels;
    int m_position = kLivePosition;
    int32_t m_countdown = kCloseTicks;
    bool m_redrawPending = true;
    std::array<std::vector<int16_t>, kTrendChannelTypes> m_snapshot;
    std::vector<uint8_t> m_snapshotFlags;
    int32_t m_snapshotCount = 0;
    bool m_wrapped = false;
    int64_t m_elapsed = 0;
    std::vector<uint16_t> m_scratch;
};

// n x p / 240 to the nearest integer, an exact half going down.
int32_t TrendScaleHalfDown(int64_t n, int p);
