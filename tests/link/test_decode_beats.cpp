// Placing beat marks in the ring from the chain's beat offset.
#include <gtest/gtest.h>

#include "DecodeFixture.h"
#include "link/BeatMarks.h"

using BeatMarks = DecodeTest;

namespace {

std::vector<int> MarkedFrames()
{
    std::vector<int> out;
    for (int i = 0; i < kSampleRingSize; ++i)
        if ((g_sampleRing[i].flags & SampleFrame::kFlagBeat) != 0)
            out.push_back(i);
    return out;
}

} // namespace

TEST_F(BeatMarks, NewestBeatIsMarkedItsOffsetBack)
{
    g_hrDetectMode = 1; // no placement of the previous mark
    g_liveData.ringWriteIndex = 100;
    g_qrsOutput = 30;
    MarkBeatAtNewestSample();
    EXPECT_EQ(MarkedFrames(), std::vector<int>{70});
    EXPECT_EQ(g_liveData.lastBeatOffset, 30);

    // Across the ring's end.
    g_liveData.ringWriteIndex = 10;
    g_qrsOutput = 30;
    MarkBeatAtNewestSample();
    EXPECT_EQ(MarkedFrames(), (std::vector<int>{70, kSampleRingSize - 20}));
}

TEST_F(BeatMarks, PreviousMarkMovesForwardByTheShift)
{
    g_hrDetectMode = 0;
    g_sampleRing[500].flags = SampleFrame::kFlagBeat | SampleFrame::kFlagEcgValid;
    g_sampleRing[503].flags = SampleFrame::kFlagBeat; // cleared with the move
    g_liveData.ringWriteIndex = 800;
    g_qrsOutput = 40;
    MarkBeatAtNewestSample();
    // The nearest earlier mark (503) moves to 507; 499..507 are cleared.
    EXPECT_EQ(MarkedFrames(), (std::vector<int>{507, 760}));
    EXPECT_EQ(g_sampleRing[500].flags, SampleFrame::kFlagEcgValid);
}

TEST_F(BeatMarks, MovalShiftsByFiveWithinFifteenHundredFrames)
{
    g_liveData.deviceKind = kDeviceMoval;
    g_sampleRing[100].flags = SampleFrame::kFlagBeat;
    PlaceBeatMarker(1599);
    EXPECT_EQ(MarkedFrames(), std::vector<int>{105});

    // A mark just outside the window is not found.
    g_sampleRing.fill(SampleFrame());
    g_sampleRing[100].flags = SampleFrame::kFlagBeat;
    PlaceBeatMarker(1600);
    EXPECT_EQ(MarkedFrames(), std::vector<int>{100});
}

TEST_F(BeatMarks, NoMarkInTheWindowChangesNothing)
{
    g_liveData.deviceKind = kDeviceSelvo;
    g_sampleRing[10].flags = SampleFrame::kFlagBeat;
    PlaceBeatMarker(1210); // 1200 frames back reach 11
    EXPECT_EQ(MarkedFrames(), std::vector<int>{10});
    PlaceBeatMarker(1209);
    EXPECT_EQ(MarkedFrames(), std::vector<int>{14});

    // Equine mode places the previous mark too; "above 400" does not.
    g_sampleRing.fill(SampleFrame());
    g_sampleRing[20].flags = SampleFrame::kFlagBeat;
    g_hrDetectMode = 2;
    g_liveData.ringWriteIndex = 300;
    g_qrsOutput = 10;
    MarkBeatAtNewestSample();
    EXPECT_EQ(MarkedFrames(), (std::vector<int>{24, 290}));
}
