#include <gtest/gtest.h>

#include "PacketHarness.h"
#include "link/ByteOrder.h"

namespace {

// A packet with recognisable contents (including bytes that need escaping).
Bytes Packet(LegacyFormat format, std::size_t length, uint8_t seed)
{
    Bytes body(length);
    for (std::size_t i = 0; i < length; ++i)
        body[i] = uint8_t(seed + i * 13);
    body[30] = 0xAA;
    body[31] = 0xA0;
    return BuildLegacyPacket(format, body);
}

class LegacyPackets : public ::testing::Test {
protected:
    void SetUp() override { h.RegisterAllExcept(); }
    PacketHarness h;
};

TEST_F(LegacyPackets, FormatAIsChosenByItsChecksumAndEveryPacketHandedOver)
{
    const Bytes p1 = Packet(LegacyFormat::A, 108, 1);
    const Bytes p2 = Packet(LegacyFormat::A, 120, 2);  // 12 bytes of terminal text
    Bytes p3 = Packet(LegacyFormat::A, 108, 3);
    p3[50] ^= 0xFF;  // once the format is known the owner checks the sum
    h.Feed(Concat({Bytes{0x00, 0x99}, StuffFrame(p1), StuffFrame(p2), StuffFrame(p3)}));
    EXPECT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kLegacyA);
    EXPECT_TRUE(h.machine->FormatKnown());
    EXPECT_EQ(h.legacy, (std::vector<LegacyPacket>{{'A', p1}, {'A', p2}, {'A', p3}}));
    EXPECT_TRUE(h.messages.empty());
}

TEST_F(LegacyPackets, FormatBIsChosenByItsChecksum)
{
    const Bytes p1 = Packet(LegacyFormat::B, 164, 4);
    const Bytes p2 = Packet(LegacyFormat::B, 292, 5);
    h.Feed(Concat({StuffFrame(p1), StuffFrame(p2)}));
    EXPECT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kLegacyB);
    EXPECT_EQ(h.legacy, (std::vector<LegacyPacket>{{'B', p1}, {'B', p2}}));
}

TEST_F(LegacyPackets, A110BytePacketNeedsItsLengthWordAndItsChecksum)
{
    Bytes badSum = Packet(LegacyFormat::A, 110, 6);
    badSum[104] ^= 0x01;
    Bytes badLength = Packet(LegacyFormat::A, 110, 7);
    PutU16(badLength, 0, 111);  // one more than it holds; checksum made right again
    PutU32(badLength, 104, 0);
    PutU32(badLength, 104, SumOfBytes(badLength, 0, 110));
    h.Feed(Concat({StuffFrame(badSum), StuffFrame(badLength), Bytes{0xAA}}));
    EXPECT_TRUE(h.legacy.empty());
    EXPECT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kDetecting);

    const Bytes good = Packet(LegacyFormat::A, 110, 8);
    h.Feed(StuffFrame(good));
    EXPECT_EQ(h.legacy, (std::vector<LegacyPacket>{{'A', good}}));
}

TEST_F(LegacyPackets, AnImpossibleLengthWordIsDroppedAndTheNextPacketRead)
{
    h.Feed(StuffFrame(Packet(LegacyFormat::A, 108, 9)));
    ASSERT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kLegacyA);
    Bytes tooLong(300, 0x11);
    PutU16(tooLong, 0, 300);
    Bytes tiny{0x05, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    Bytes huge{0xFF, 0xFF, 0x01};
    const Bytes good = Packet(LegacyFormat::A, 108, 10);
    h.legacy.clear();
    h.Feed(Concat({StuffFrame(tooLong), StuffFrame(tiny), StuffFrame(huge), StuffFrame(good)}));
    EXPECT_EQ(h.legacy, (std::vector<LegacyPacket>{{'A', good}}));
    // Each refused frame ends where its length word says (or at the next mark).
    const auto archived = h.machine->Framer().Archive().Snapshot();
    ASSERT_GE(archived.size(), 4u);
    const std::size_t n = archived.size();
    EXPECT_EQ(archived[n - 4].bytes, tooLong);
    EXPECT_EQ(archived[n - 3].bytes, Bytes(tiny.begin(), tiny.begin() + 5));
    EXPECT_EQ(archived[n - 2].bytes, huge);
    EXPECT_EQ(archived[n - 1].bytes, good);
}

// A packet with a format-A checksum but a length only format B may have
// must not fix the machine on format A (which would refuse every packet).
TEST_F(LegacyPackets, FormatAIsNotTriedBeyondItsLengths)
{
    Bytes looksLikeA(250);
    for (std::size_t i = 0; i < looksLikeA.size(); ++i)
        looksLikeA[i] = uint8_t(i);
    PutU16(looksLikeA, 0, 250);
    PutU32(looksLikeA, 104, 0);
    PutU32(looksLikeA, 104, SumOfBytes(looksLikeA));
    const Bytes b = Packet(LegacyFormat::B, 250, 11);
    h.Feed(Concat({StuffFrame(looksLikeA), StuffFrame(b)}));
    EXPECT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kLegacyB);
    EXPECT_EQ(h.legacy, (std::vector<LegacyPacket>{{'B', b}}));
}

// Nor is format B tried on a packet shorter than its checksum offset, even
// when bytes left in the buffer by an earlier frame would match (whether
// the four checksum bytes are left out of the sum or subtracted from it).
TEST_F(LegacyPackets, FormatBIsNotTriedBelowItsLengths)
{
    Bytes shortPacket(120, 0x00);
    PutU16(shortPacket, 0, 120);
    PutU32(shortPacket, 104, 0x12345678);  // wrong for format A
    const uint32_t sum = SumOfBytes(shortPacket);
    ASSERT_EQ(sum % 2, 0u);
    ASSERT_LE(sum / 2, 255u);
    Bytes leftOut(170, 0x00);
    PutU16(leftOut, 0, 0x0505);
    PutU32(leftOut, 160, sum);
    Bytes subtracted = leftOut;
    PutU32(subtracted, 160, sum / 2);

    for (const Bytes& earlier : {leftOut, subtracted}) {
        PacketHarness fresh;
        const Bytes a = Packet(LegacyFormat::A, 108, 12);
        fresh.Feed(Concat({StuffFrame(earlier), StuffFrame(shortPacket), StuffFrame(a)}));
        EXPECT_EQ(fresh.machine->DetectedMode(), CPacketStateMachine::kLegacyA);
        EXPECT_EQ(fresh.legacy, (std::vector<LegacyPacket>{{'A', a}}));
    }
}

TEST_F(LegacyPackets, TheChosenFormatHoldsUntilResync)
{
    const Bytes a = Packet(LegacyFormat::A, 108, 13);
    const Bytes container = FrameContainer({BuildSubMessage(0x10, {1})});
    h.Feed(Concat({StuffFrame(a), container}));
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(h.legacy.size(), 1u);

    h.machine->Resync();
    h.Feed(container);
    EXPECT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kContainer);
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1}}}));
    h.Feed(StuffFrame(a));
    EXPECT_EQ(h.legacy.size(), 1u);
}

TEST_F(LegacyPackets, EveryCutOfALegacyStreamGivesTheSamePackets)
{
    const Bytes p1 = Packet(LegacyFormat::A, 108, 14);
    const Bytes p2 = Packet(LegacyFormat::A, 116, 15);
    const Bytes stream = Concat({Bytes{0x10}, StuffFrame(p1), StuffFrame(p2), StuffFrame(p1)});
    const std::vector<LegacyPacket> expected{{'A', p1}, {'A', p2}, {'A', p1}};
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        PacketHarness split;
        split.Feed(Bytes(stream.begin(), stream.begin() + cut));
        split.Feed(Bytes(stream.begin() + cut, stream.end()));
        ASSERT_EQ(split.legacy, expected) << "cut at " << cut;
    }
}

}  // namespace

// The checksum bytes may lie inside, across or past the summed length (a
// short or lying length word): every case must sum exactly the other bytes.
TEST(LegacyChecksum, SkipsOnlyTheFourChecksumBytesWhereverTheyFall)
{
    uint8_t bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<uint8_t>(0xF0 + i);
    for (uint32_t length = 0; length <= 16; ++length) {
        for (uint32_t at = 0; at <= 16; ++at) {
            uint32_t expected = 0;
            for (uint32_t i = 0; i < length; ++i)
                if (i < at || i >= at + 4)
                    expected += bytes[i];
            EXPECT_EQ(ByteSumWithoutChecksum(bytes, length, at), expected) << "length " << length << " at " << at;
        }
    }
}
