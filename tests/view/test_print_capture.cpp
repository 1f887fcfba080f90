// The printed stretch: how many frames, which ones, and where the print
// event goes.
#include <gtest/gtest.h>

#include <vector>

#include "view/PrintCapture.h"

namespace {

struct Ring {
    Ring() : frames(kSampleRingSize), snapshot(kPrintFrameCount)
    {
        for (int i = 0; i < kSampleRingSize; ++i)
            frames[std::size_t(i)].ecg = int16_t(i);
    }
    void Capture(CPrintCapture& capture, const PrintCaptureInput& in, const CEcgEvent& event = Print())
    {
        capture.Capture(CPrintCapture::Ring(frames.data(), kSampleRingSize),
                        CPrintCapture::Snapshot(snapshot.data(), kPrintFrameCount), in, event);
    }
    static CEcgEvent Print()
    {
        CEcgEvent event;
        event.code = CEcgEvent::kPrint;
        return event;
    }
    std::vector<SampleFrame> frames;
    std::vector<SampleFrame> snapshot;
};

}  // namespace

TEST(PrintCapture, CountsPagesAndTheNewestFrameByRingState)
{
    struct Case {
        const char* name;
        uint16_t rate;
        int32_t sweep;
        bool twoPage;
        int32_t read, write;
        bool wrapped;
        uint32_t count, perPage;
        int pages;
        int16_t newestEcg;  // the ring frame that ends the snapshot
    };
    const Case cases[] = {
        {"sweep 2, 400/s, two pages", 400, 2, true, 20000, 20000, true, 9600, 4800, 2, 19999},
        {"sweep 1, one page", 400, 1, false, 20000, 20010, true, 9600, 9600, 1, 20000},
        {"10 s after start", 400, 1, true, 4000, 4003, false, 4001, 9600, 1, 4000},
        {"read caught up: the frame being filled stays out", 400, 1, true, 4000, 4000, false, 4000, 9600, 1, 3999},
        {"over the wrap", 400, 1, true, 100, 150, true, 19200, 9600, 2, 100},
        {"empty ring", 400, 1, true, 0, 0, false, 0, 9600, 1, 0},
        {"500/s fills the snapshot", 500, 1, true, 30000, 30000, true, 24000, 12000, 2, 29999},
        {"a faster rate is held to the snapshot", 700, 1, true, 30000, 30000, true, 24000, 16800, 2, 29999},
        {"sweep 3 prints as sweep 1", 400, 3, true, 20000, 20000, true, 19200, 9600, 2, 19999},
        {"rate 0 captures nothing", 0, 1, true, 20000, 20000, true, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ring ring;
        CPrintCapture capture;
        PrintCaptureInput in;
        in.sampleRate = c.rate;
        in.ecgSweep = c.sweep;
        in.twoPageReport = c.twoPage;
        in.readIndex = c.read;
        in.writeIndex = c.write;
        in.wrapped = c.wrapped;
        in.now = COleDate::FromDate(2024, 5, 6, 10, 0, 0);
        ring.Capture(capture, in);
        EXPECT_TRUE(capture.m_printCaptureValid);
        EXPECT_EQ(capture.m_printCount, c.count);
        EXPECT_EQ(capture.m_printFramesPerPage, c.perPage);
        EXPECT_EQ(capture.PageCount(), c.pages);
        EXPECT_EQ(capture.m_printTime, in.now);
        if (c.count == 0)
            continue;
        EXPECT_EQ(ring.snapshot[c.count - 1].ecg, c.newestEcg);
        // Oldest first, one ring frame after another across the wrap.
        EXPECT_EQ(ring.snapshot[0].ecg, int16_t((c.newestEcg - int32_t(c.count) + 1) & kSampleRingMask));
        const auto last = capture.PageStretch(capture.PageCount());
        EXPECT_EQ(last.first + last.count, c.count);
    }
}

TEST(PrintCapture, ThePrintEventGoesOnTheNewestFrameWithoutOneAndEventsAndMarksAreKept)
{
    Ring ring;
    ring.frames[999].event.code = CEcgEvent::kMarker;
    ring.frames[998].flags = SampleFrame::kFlagBeat;
    CPrintCapture capture;
    PrintCaptureInput in;
    in.readIndex = 999;
    in.writeIndex = 1005;
    in.ecgSweep = 1;
    ring.Capture(capture, in);
    ASSERT_EQ(capture.m_printCount, 1000u);
    EXPECT_EQ(ring.snapshot[999].event.code, CEcgEvent::kMarker);
    EXPECT_EQ(ring.snapshot[998].event.code, CEcgEvent::kPrint);
    EXPECT_EQ(ring.snapshot[998].flags, SampleFrame::kFlagBeat);
    // The ring itself is left alone: the view's event placer stamps it.
    EXPECT_EQ(ring.frames[998].event.code, 0);

    // A new capture is stored again; the same one is not.
    capture.m_printStored = true;
    ring.Capture(capture, in);
    EXPECT_FALSE(capture.m_printStored);
}
