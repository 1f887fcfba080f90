#include "recording/TrendPlot.h"

#include <algorithm>

int32_t TrendScaleHalfDown(int64_t n, int p)
{
    const int64_t product = n * p;
    const int64_t whole = product / CTrendPlot::kLivePosition;
    const int64_t rest = product % CTrendPlot::kLivePosition;
    return int32_t(2 * rest > CTrendPlot::kLivePosition ? whole + 1 : whole);
}

CTrendPlot::CTrendPlot()
{
    for (auto& ring : m_snapshot)
        ring.resize(kTrendSamples);
    m_snapshotFlags.resize(kTrendSamples);
    m_scratch.reserve(kTrendSamples);
}

void CTrendPlot::Init(int32_t deviceKind, uint16_t featureBits)
{
    m_channels = ChooseTrendChannels(deviceKind, featureBits);
    m_position = kLivePosition;
    m_countdown = kCloseTicks;
    m_redrawPending = true;
}

bool CTrendPlot::OnCloseTick(bool pinned, bool trendOpen)
{
    if (m_countdown > 0) {
        if (pinned)
            m_countdown = 0;
        else
            --m_countdown;
    }
    if (m_countdown <= 0 && !pinned)
        return true;
    return !trendOpen;
}

bool CTrendPlot::Rescale(const TrendStoreRead& store, int32_t& scaledIndex)
{
    const int32_t index = std::clamp(store.index, 0, kTrendSamples - 1);
    const int32_t from = std::clamp(scaledIndex, 0, kTrendSamples - 1);
    int32_t fresh = index - from;
    if (fresh < 0)
        fresh += kTrendSamples;
    if (fresh < kMinNewSamples)
        return false;
    for (int c = 0; c < m_channels.count; ++c) {
        TrendChannel& channel = m_channels.channel[std::size_t(c)];
        const std::span<const int16_t> ring = store.rings[std::size_t(channel.type)];
        if (ring.size() < std::size_t(kTrendSamples))
            continue;
        m_scratch.clear();
        for (int32_t k = 0, at = from; k < fresh; ++k, at = (at + 1) % kTrendSamples)
            m_scratch.push_back(uint16_t(ring[std::size_t(at)]));
        AutoScale(m_scratch, channel.type, channel.top, channel.bottom);
    }
    scaledIndex = index;
    return true;
}

bool CTrendPlot::Scroll(ScrollCode code, int thumb)
{
    int position = m_position;
    switch (code) {
    case kLineLeft: position -= 1; break;
    case kLineRight: position += 1; break;
    case kPageLeft: position -= kPageStep; break;
    case kPageRight: position += kPageStep; break;
    case kThumbPosition:
    case kThumbTrack: position = thumb; break;
    default: break;
    }
    position = std::clamp(position, 0, int(kLivePosition));
    const bool changed = position != m_position;
    m_position = position;
    return changed;
}

void CTrendPlot::TakeSnapshot(const TrendStoreRead& store, int64_t elapsedSeconds)
{
    const int32_t index = std::clamp(store.index, 0, kTrendSamples - 1);
    m_wrapped = store.wraps > 0;
    m_snapshotCount = m_wrapped ? kTrendSamples : index;
    m_elapsed = elapsedSeconds;
    // Oldest first: once wrapped, the oldest sample sits at the index.
    const int32_t start = m_wrapped ? index : 0;
    auto copy = [&](auto source, auto& target) {
        if (source.size() < std::size_t(kTrendSamples))
            return;
        for (int32_t k = 0; k < m_snapshotCount; ++k)
            target[std::size_t(k)] = source[std::size_t((start + k) % kTrendSamples)];
    };
    for (int type = 0; type < kTrendChannelTypes; ++type)
        copy(store.rings[std::size_t(type)], m_snapshot[std::size_t(type)]);
    copy(store.flags, m_snapshotFlags);
}

CTrendPlot::Shown CTrendPlot::Select(const TrendStoreRead& store, int64_t elapsedSeconds)
{
    Shown shown;
    const int32_t n = m_snapshotCount;
    const int p = m_position;
    if (Live()) {
        TakeSnapshot(store, elapsedSeconds);
        shown.end = m_snapshotCount;
        shown.seconds = m_elapsed;
    } else if (m_wrapped) {
        // The 449 samples from p x 6749 / 240 on; their end lies 2 s a
        // sample before the newest, which is the elapsed time.
        shown.end = TrendScaleHalfDown(kWrappedSpan, p) + kTrendPlotSamples - 1;
        shown.seconds = std::max<int64_t>(m_elapsed - int64_t(n - shown.end) * kTrendPeriodSeconds, 0);
    } else if (n < kTrendPlotSamples) {
        shown.end = TrendScaleHalfDown(n, p);
        shown.seconds = m_elapsed * p / kLivePosition;
    } else {
        shown.end = TrendScaleHalfDown(n - kTrendPlotSamples, p) + kTrendPlotSamples;
        // Never later than the live end, whatever the clock said.
        shown.seconds =
            std::min((m_elapsed - kFifteenMinutes) * p / kLivePosition + kFifteenMinutes, m_elapsed);
    }
    shown.full = shown.end >= kTrendPlotSamples;
    shown.first = shown.full ? shown.end - (kTrendPlotSamples - 1) : 0;
    shown.count = shown.end - shown.first;
    return shown;
}

std::span<const int16_t> CTrendPlot::Snapshot(int channelType) const
{
    if (channelType < 0 || channelType >= kTrendChannelTypes)
        return {};
    return m_snapshot[std::size_t(channelType)];
}

std::span<const uint8_t> CTrendPlot::SnapshotFlags() const
{
    return m_snapshotFlags;
}
