#pragma once
// The stretch a printed report shows: copied from the sample ring into the
// print snapshot when a print starts or the remote freezes the display, so
// that every page of the report, and its stored episode, show the same
// frames. UI thread only.
#include <cstdint>
#include <span>

#include "link/LiveData.h"
#include "platform/OleDate.h"

// "EcgSweep" as printed: 1, 2, 4 or 8; anything else as 1.
int32_t PrintSweep(int32_t ecgSweep);

struct PrintCaptureInput {
    int32_t readIndex = 0;      // the view's next frame
    int32_t writeIndex = 0;     // the link's next frame (loaded with acquire)
    bool wrapped = false;
    uint16_t sampleRate = 400;
    uint16_t featureBits = 0;
    int32_t ecgSweep = 1;       // "EcgSweep"
    int32_t gainIndex = 1;
    int32_t rMarker = 0;        // "R-Marker"
    bool twoPageReport = false; // "TwoPageReport"
    COleDate now;
};

class CPrintCapture {
public:
    using Ring = std::span<const SampleFrame, kSampleRingSize>;
    using Snapshot = std::span<SampleFrame, kPrintFrameCount>;

    // Copies the newest published frames up to the read index, oldest
    // first, and puts a copy of `printEvent` on the newest of them that
    // holds no event.
    void Capture(Ring ring, Snapshot snapshot, const PrintCaptureInput& in, const CEcgEvent& printEvent);

    // Two pages when one page cannot hold the capture.
    int PageCount() const { return m_printFramesPerPage < m_printCount ? 2 : 1; }
    // Page n (1-based): its first frame and how many frames it shows.
    struct Stretch {
        uint32_t first = 0;
        uint32_t count = 0;
    };
    Stretch PageStretch(int page) const;

    uint32_t m_printCount = 0;
    uint32_t m_printFramesPerPage = 0;
    bool m_printCaptureValid = false;
    int32_t m_printSweep = 1;
    int32_t m_printGainIndex = 1;
    int32_t m_printRMarker = 0;
    COleDate m_printTime;
    uint16_t m_printSampleRate = 400;
    uint16_t m_printFeatureBits = 0;   // the CO2 trace is printed when it was measured
    bool m_printStored = false;        // its episode is stored once
};
