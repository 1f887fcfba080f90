#include <gtest/gtest.h>

#include "PacketHarness.h"

namespace {

class Containers : public ::testing::Test {
protected:
    void SetUp() override { h.RegisterAllExcept(); }
    PacketHarness h;
};

// Data whose bytes and sums need escaping on the wire.
const Bytes kDataWithMarks{0xAA, 0x00};          // sum 0x000000AA
const Bytes kDataWithEscapes{0xA0, 0x01, 0xA0};  // sum 0x00000141
const Bytes kDataSummingToEscape{0x50, 0x50};    // sum 0x000000A0

TEST_F(Containers, TwoSubMessagesAreDeliveredInOrder)
{
    h.Feed(FrameContainer({BuildSubMessage(0x10, {1, 2, 3}, 7), BuildSubMessage(0x1F, {4}, 8)}, 99));
    // The container is complete at its last byte; no closing mark is needed.
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1, 2, 3}}, {0x1F, {4}}}));
    EXPECT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kContainer);
    EXPECT_TRUE(h.machine->FormatKnown());
}

// Several containers with escapes in data, sums and sequence numbers, an
// abandoned frame and noise between frames, cut into two chunks at every
// possible point: every cut gives the same messages.
TEST_F(Containers, AStreamSplitAtEveryByteGivesTheSameMessages)
{
    const Bytes first = FrameContainer({BuildSubMessage(0x12, kDataWithMarks, 0xAAAAAAAA),
                                        BuildSubMessage(0x13, kDataWithEscapes, 0xA0A0A0A0)},
                                       0xAAA0AAA0);
    const Bytes second = FrameContainer({BuildSubMessage(0x1E, kDataSummingToEscape)}, 0xA0);
    const Bytes abandoned{0xAA, 0x00, 0x00, 0x01, 0xA0, 0x41};
    const Bytes third = FrameContainer({BuildSubMessage(0x1C, {0xAA, 0xAA, 0xA0, 0xA0, 0x0A})});
    const Bytes stream = Concat({Bytes{0x12, 0x34}, first, Bytes{0x01, 0x02}, second, abandoned, third});
    const std::vector<Delivered> expected{
        {0x12, kDataWithMarks}, {0x13, kDataWithEscapes}, {0x1E, kDataSummingToEscape},
        {0x1C, {0xAA, 0xAA, 0xA0, 0xA0, 0x0A}}};

    // The stream really exercises the escapes.
    int escapes = 0;
    for (std::size_t i = 0; i + 1 < stream.size(); ++i)
        escapes += stream[i] == 0xA0 && (stream[i + 1] == 0x0A || stream[i + 1] == 0xA0);
    ASSERT_GE(escapes, 20);

    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        PacketHarness split;
        split.RegisterAllExcept();
        split.Feed(Bytes(stream.begin(), stream.begin() + cut));
        split.Feed(Bytes(stream.begin() + cut, stream.end()));
        ASSERT_EQ(split.messages, expected) << "cut at " << cut;
    }
}

TEST_F(Containers, ABadSubMessageSumDropsExactlyThatMessage)
{
    Bytes bad = BuildSubMessage(0x11, {5, 6});
    bad[8] ^= 0x01;
    h.Feed(FrameContainer({BuildSubMessage(0x10, {1}), bad, BuildSubMessage(0x12, {7})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1}}, {0x12, {7}}}));
}

TEST_F(Containers, ABadPayloadSumDropsTheContainerOnly)
{
    Bytes bad = BuildContainer({BuildSubMessage(0x10, {1}), BuildSubMessage(0x11, {2})});
    bad[10] ^= 0x01;
    h.Feed(Concat({StuffFrame(bad), FrameContainer({BuildSubMessage(0x12, {3})})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x12, {3}}}));
}

TEST_F(Containers, AContainerCutShortByTheNextMarkIsDropped)
{
    Bytes cut = FrameContainer({BuildSubMessage(0x10, {1, 2, 3, 4})});
    cut.resize(cut.size() - 2);
    h.Feed(Concat({cut, FrameContainer({BuildSubMessage(0x11, {9})})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x11, {9}}}));
}

// A payload length that cannot fit the frame buffer must not stop the
// machine: the header is refused and the next frame is read.
TEST_F(Containers, AnUnbufferablePayloadLengthIsRefusedAndTheNextFrameRead)
{
    Bytes huge = BuildContainer({BuildSubMessage(0x10, {1})});
    PutU16(huge, 4, 0xFFF5);
    Bytes noise(3000, 0x42);
    h.Feed(Concat({StuffFrame(huge), noise, FrameContainer({BuildSubMessage(0x11, {2})})}));

    // The same header closed at once by the next mark is not taken up again.
    Bytes headerOnly(huge.begin(), huge.begin() + 14);
    h.Feed(Concat({StuffFrame(headerOnly), FrameContainer({BuildSubMessage(0x12, {3})})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x11, {2}}, {0x12, {3}}}));
}

TEST_F(Containers, TheLargestBufferablePayloadIsDeliveredOneMoreIsRefused)
{
    constexpr uint32_t kLargest = CCharacterStateMachine::kBufferSize - CPacketStateMachine::kHeaderLength;
    Bytes big(kLargest - CPacketStateMachine::kSubHeaderLength);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i * 7);
    Bytes tooBig = big;
    tooBig.push_back(1);
    h.Feed(Concat({FrameContainer({BuildSubMessage(0x10, big)}), FrameContainer({BuildSubMessage(0x11, tooBig)}),
                   FrameContainer({BuildSubMessage(0x12, {4})})}));
    ASSERT_EQ(h.messages.size(), 2u);
    EXPECT_EQ(h.messages[0], (Delivered{0x10, big}));
    EXPECT_EQ(h.messages[1], (Delivered{0x12, {4}}));
}

// A sub-message whose data runs past the payload is not delivered, even when
// the bytes past the payload (left in the buffer by a longer frame) would
// make its sum match; the walk stops there.
TEST_F(Containers, ASubMessageStraddlingThePayloadEndIsNotDelivered)
{
    const Bytes a = BuildSubMessage(0x10, {1, 2});
    const Bytes b = BuildSubMessage(0x11, {3, 4, 5, 6, 7, 8});
    const Bytes whole = BuildContainer({a, b});
    Bytes shortened(whole.begin(), whole.end() - 4);  // b's data cut by 4 bytes
    const uint16_t payload = uint16_t(shortened.size() - 14);
    PutU16(shortened, 4, payload);
    PutU32(shortened, 10, SumOfBytes(shortened, 14));
    // A sub-message header cut short by the payload end is not read either.
    Bytes headerCut = BuildContainer({a, b});
    headerCut.resize(14 + a.size() + 6);
    PutU16(headerCut, 4, uint16_t(headerCut.size() - 14));
    PutU32(headerCut, 10, SumOfBytes(headerCut, 14));

    h.Feed(Concat({StuffFrame(whole), StuffFrame(shortened), StuffFrame(whole), StuffFrame(headerCut),
                   FrameContainer({BuildSubMessage(0x12, {9})})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1, 2}},
                                                  {0x11, {3, 4, 5, 6, 7, 8}},
                                                  {0x10, {1, 2}},
                                                  {0x10, {1, 2}},
                                                  {0x11, {3, 4, 5, 6, 7, 8}},
                                                  {0x10, {1, 2}},
                                                  {0x12, {9}}}));
}

// A frame abandoned in the middle of a payload leaves nothing pending: the
// next container is read from its header.
TEST_F(Containers, AnAbandonedPayloadDoesNotCostTheNextContainer)
{
    Bytes broken = FrameContainer({BuildSubMessage(0x10, {1, 2, 3, 4, 5, 6, 7, 8})});
    broken.resize(20);
    broken.push_back(0xA0);
    broken.push_back(0x41);
    h.Feed(Concat({broken, Bytes{0x01, 0x02}, FrameContainer({BuildSubMessage(0x11, {2})})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x11, {2}}}));
}

TEST_F(Containers, EmptyAndIncompleteContainersYieldNothingAndSpoilNothing)
{
    // No payload at all, then a header whose count exceeds what the payload holds.
    Bytes countTooHigh = BuildContainer({BuildSubMessage(0x10, {1})});
    PutU16(countTooHigh, 2, 5);
    h.Feed(Concat({FrameContainer({}), StuffFrame(countTooHigh), FrameContainer({BuildSubMessage(0x11, {2})})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1}}, {0x11, {2}}}));

    // A count lower than the sub-messages present stops the walk early.
    h.messages.clear();
    Bytes countLow = BuildContainer({BuildSubMessage(0x10, {1}), BuildSubMessage(0x11, {2})});
    PutU16(countLow, 2, 1);
    h.Feed(StuffFrame(countLow));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1}}}));
}

TEST_F(Containers, UnhandledIdsEmptyDataAndOwnerlessHandlersAreSkipped)
{
    PacketHarness partial;
    partial.RegisterAllExcept({25});
    partial.machine->Dispatcher().Register(0x1A, nullptr, &PacketHarness::Record);
    partial.Feed(FrameContainer({BuildSubMessage(25, {1}), BuildSubMessage(0x10, {}), BuildSubMessage(0x1A, {3}),
                                 BuildSubMessage(0x8010, {4}), BuildSubMessage(0x11, {5})}));
    EXPECT_EQ(partial.messages, (std::vector<Delivered>{{0x11, {5}}}));
}

TEST_F(Containers, BytesAfterACompleteContainerAreIgnoredUntilTheNextMark)
{
    // The trailing bytes look like a second header but belong to no frame.
    Bytes trailing = BuildContainer({BuildSubMessage(0x11, {2})});
    h.Feed(Concat({FrameContainer({BuildSubMessage(0x10, {1})}), trailing,
                   FrameContainer({BuildSubMessage(0x12, {3})})}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1}}, {0x12, {3}}}));
}

TEST_F(Containers, EveryMarkIsReportedToTheOwnerAsAFrameStart)
{
    const Bytes stream = Concat({FrameContainer({BuildSubMessage(0x10, {0xAA})}), Bytes{0xAA, 0xAA},
                                 FrameContainer({})});
    h.Feed(stream);
    EXPECT_EQ(h.frameStarts, 4);  // escaped marks in the data are not frame starts
    EXPECT_EQ(h.machine->FrameCount(), 4u);
}

}  // namespace
