#include "view/PrintCapture.h"

#include <algorithm>
#include <atomic>

int32_t PrintSweep(int32_t ecgSweep)
{
    return ecgSweep == 2 || ecgSweep == 4 || ecgSweep == 8 ? ecgSweep : 1;
}

void CPrintCapture::Capture(Ring ring, Snapshot snapshot, const PrintCaptureInput& in, const CEcgEvent& printEvent)
{
    m_printSweep = PrintSweep(in.ecgSweep);
    m_printGainIndex = in.gainIndex;
    m_printRMarker = in.rMarker;
    m_printSampleRate = in.sampleRate;
    m_printFeatureBits = in.featureBits;

    int64_t count = int64_t(in.sampleRate) * 48 / m_printSweep;
    if (!in.twoPageReport)
        count /= 2;
    count = std::min<int64_t>(count, kPrintFrameCount);

    // The newest frame copied is the one at the read index when the link
    // has published it; the one the link is filling is never read.
    const int32_t read = in.readIndex & kSampleRingMask;
    const int32_t write = in.writeIndex & kSampleRingMask;
    const int32_t newest = read != write ? read : (read - 1) & kSampleRingMask;
    int64_t available = 0;
    if (in.wrapped)
        available = (newest - write) & kSampleRingMask;  // back to the frame after the one being filled
    else if (read != write || read > 0)
        available = newest + 1;
    count = std::min(count, available);

    m_printTime = in.now;
    for (int64_t k = 0; k < count; ++k) {
        const SampleFrame& from = ring[std::size_t((newest - k) & kSampleRingMask)];
        SampleFrame& to = snapshot[std::size_t(count - 1 - k)];
        to.ecg = from.ecg;
        to.resp = from.resp;
        to.pleth = from.pleth;
        to.co2 = from.co2;
        to.co2Valid = from.co2Valid;
        to.o2 = from.o2;
        // The link may still set a beat mark on a published frame.
        to.flags = std::atomic_ref<uint8_t>(const_cast<uint8_t&>(from.flags)).load(std::memory_order_relaxed);
        to.event = from.event;
    }
    for (int64_t i = count - 1; i >= 0; --i) {
        if (snapshot[std::size_t(i)].event.code == 0) {
            snapshot[std::size_t(i)].event = printEvent;
            break;
        }
    }
    m_printCount = uint32_t(count);
    m_printFramesPerPage = uint32_t(int64_t(in.sampleRate) * 48 / (2 * m_printSweep));
    m_printCaptureValid = true;
    m_printStored = false;
}

CPrintCapture::Stretch CPrintCapture::PageStretch(int page) const
{
    Stretch s;
    if (page == 2 && PageCount() == 2) {
        s.first = m_printFramesPerPage;
        s.count = m_printCount - m_printFramesPerPage;
    } else if (PageCount() == 2) {
        s.count = m_printFramesPerPage;
    } else {
        s.count = m_printCount;
    }
    return s;
}
