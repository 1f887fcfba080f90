#include "link/BeatMarks.h"

#include <atomic>

#include "link/EcgChain.h"
#include "link/LiveData.h"

namespace {

// Marks land on frames the view may be reading, so they are written as
// single atomic byte operations.
void SetMark(int32_t position)
{
    std::atomic_ref<uint8_t>(g_sampleRing[position & kSampleRingMask].flags)
        .fetch_or(SampleFrame::kFlagBeat, std::memory_order_relaxed);
}

void ClearMark(int32_t position)
{
    std::atomic_ref<uint8_t>(g_sampleRing[position & kSampleRingMask].flags)
        .fetch_and(uint8_t(~SampleFrame::kFlagBeat), std::memory_order_relaxed);
}

bool HasMark(int32_t position)
{
    return (std::atomic_ref<uint8_t>(g_sampleRing[position & kSampleRingMask].flags)
                .load(std::memory_order_relaxed) & SampleFrame::kFlagBeat) != 0;
}

} // namespace

void MarkBeatAtNewestSample()
{
    const int32_t offset = g_qrsOutput;
    g_liveData.lastBeatOffset = offset;
    int32_t position = g_liveData.ringWriteIndex.load(std::memory_order_relaxed) - offset;
    if (position < 0)
        position += kSampleRingSize;
    if (position < 0 || position >= kSampleRingSize)
        return;
    const uint8_t mode = g_hrDetectMode;
    if (mode == 0 || mode == 2)
        PlaceBeatMarker(position);
    SetMark(position);
}

void PlaceBeatMarker(int32_t position)
{
    const bool moval = g_liveData.deviceKind == kDeviceMoval;
    const int32_t window = moval ? 1500 : 1200;
    const int32_t shift = moval ? 5 : 4;
    for (int32_t back = 0; back < window; ++back) {
        const int32_t found = position - back;
        if (!HasMark(found))
            continue;
        const int32_t end = found + shift;
        for (int32_t p = found - shift; p <= end; ++p)
            ClearMark(p);
        SetMark(end);
        return;
    }
}
