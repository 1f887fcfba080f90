// Moval: packet start, samples, checksum, sequence gaps, status and beats.
#include <gtest/gtest.h>

#include <algorithm>

#include "DecodeFixture.h"
#include "link/MovalStream.h"
#include "sim/ModelStreams.h"

class Moval : public DecodeTest {
protected:
    void SetUp() override
    {
        DecodeTest::SetUp();
        g_liveData.deviceKind = kDeviceMoval;
        g_liveData.sampleRate = 500;
        g_liveData.featureBits = 9;
    }
    void Feed(const Bytes& bytes) { EcgMovalStream(state, bytes.data(), bytes.size()); }
    static MovalPacket Packet(unsigned sequence)
    {
        MovalPacket p;
        p.sequence = sequence;
        p.battery = 3;
        for (int k = 0; k < 48; ++k)
            p.ecg[k] = int16_t(k * 3 - 50);
        return p;
    }
};

TEST_F(Moval, FourAaBytesStartAPacketThreeDoNot)
{
    Bytes body = EncodeMovalPacket(Packet(0));
    Bytes three = body;
    three[3] = 0x01;
    Feed(three);
    EXPECT_EQ(RingWriteIndex(), 0);
    Feed(body);
    EXPECT_EQ(RingWriteIndex(), 48);
    EXPECT_EQ(g_liveData.packetReceived, 1);
}

TEST_F(Moval, SampleWordsDivideByFourWithTheSignKept)
{
    for (int value = -8192; value <= 8191; ++value)
        for (uint8_t flags = 0; flags < 4; ++flags)
            ASSERT_EQ(MovalSampleValue(MovalWord(int16_t(value), flags)), value) << value << " " << int(flags);

    // The first sample after a reset passes the chain unchanged.
    MovalPacket p = Packet(0);
    p.ecg[0] = -3;
    Feed(EncodeMovalPacket(p));
    EXPECT_EQ(Frame(0).ecg, -3);
}

TEST_F(Moval, HeaderValuesAndTemperature)
{
    g_liveData.startupCountdown = 0;
    MovalPacket p = Packet(0);
    p.battery = 5;
    p.stateCode = 8;
    p.statusFlag = true;
    p.temperature = 9870;
    Feed(EncodeMovalPacket(p));
    EXPECT_EQ(g_liveData.batteryLevel, 5);
    EXPECT_EQ(state.stateCode, 8);
    EXPECT_EQ(g_liveData.statusFlags, 0x80u | 0x8000u);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 987);
    EXPECT_EQ(g_liveData.packetReceived, 1);
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComNewData), 0x30));
    EXPECT_EQ(posts[1], std::make_pair(int(kComRemoteStatus), 3));

    p.temperature = -1;
    p.statusFlag = false;
    p.stateCode = 32;
    Feed(EncodeMovalPacket(p));
    EXPECT_EQ(g_liveData.statusFlags, 0u);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 0);
    EXPECT_EQ(TakeDefaultPosts().back(), std::make_pair(int(kComRemoteStatus), 1));
}

TEST_F(Moval, ChecksumMismatchWritesFlatFramesAndPostsNoStatus)
{
    g_liveData.startupCountdown = 0;
    MovalPacket p = Packet(1);
    p.stateCode = 1; // a button press
    Bytes good = EncodeMovalPacket(p);
    Feed(good);
    ASSERT_EQ(TakeDefaultPosts().size(), 2u);
    const int16_t temperatureBefore = g_liveData.numerics[kParamTemperature];

    Bytes bad = EncodeMovalPacket(Packet(2));
    bad[20] ^= 0x10;
    Feed(bad);
    ASSERT_EQ(RingWriteIndex(), 96);
    for (int k = 48; k < 96; ++k) {
        EXPECT_EQ(Frame(k).ecg, 0);
        EXPECT_EQ(Frame(k).flags, 0);
    }
    EXPECT_EQ(g_liveData.packetReceived, 0);
    EXPECT_EQ(state.stateCode, 1);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], temperatureBefore);
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComNewData), 0x30));
    EXPECT_TRUE(log.empty());

    Feed(EncodeMovalPacket(Packet(3)));
    EXPECT_EQ(g_liveData.packetReceived, 1);
    EXPECT_EQ(RingWriteIndex(), 144);
}

TEST_F(Moval, SequenceGapIsLoggedOnceTheCountdownHasRunOut)
{
    for (unsigned seq : {10u, 11u, 12u, 13u})
        Feed(EncodeMovalPacket(Packet(seq)));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(g_liveData.startupCountdown, 0);
    Feed(EncodeMovalPacket(Packet(15)));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tag, "CSerialMoval::EcgMovalStream");
    EXPECT_EQ(log[0].text, "Missed Packet pkt 5;  Count: Expect 14, Rcv 15");
    EXPECT_EQ(state.missedPacket, 1);
    Feed(EncodeMovalPacket(Packet(16)));
    EXPECT_EQ(log.size(), 1u);

    // The sequence wraps at 64 without a gap.
    for (unsigned seq = 17; seq < 64 + 3; ++seq)
        Feed(EncodeMovalPacket(Packet(seq % 64)));
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(Moval, SequenceFieldAdvancesOrRestartsOnRequest)
{
    Feed(EncodeMovalPacket(Packet(7)));
    EXPECT_EQ(g_liveData.movalSequence, 8);
    g_liveData.movalStreamState = 1;
    Feed(EncodeMovalPacket(Packet(8)));
    EXPECT_EQ(g_liveData.movalSequence, 0);
    EXPECT_EQ(g_liveData.movalStreamState, 0);
}

TEST_F(Moval, LeadsOffSamplesClearTheRate)
{
    MovalPacket p = Packet(0);
    p.flags = MovalPacket::Filled(0);
    g_liveData.hrFromEcg = 90;
    g_liveData.numerics[kParamHeartRate] = 90;
    Feed(EncodeMovalPacket(p));
    EXPECT_EQ(g_liveData.hrFromEcg, 0);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 0);
    for (int k = 0; k < 48; ++k)
        EXPECT_EQ(Frame(k).flags, 0);
    // Either flag bit counts as valid.
    p.flags = MovalPacket::Filled(2);
    Feed(EncodeMovalPacket(p));
    EXPECT_EQ(Frame(48).flags, SampleFrame::kFlagEcgValid);
}

TEST_F(Moval, BeatsOfASteadyRhythmAreMarkedAtOnePhase)
{
    // 30 s at 120 bpm, 500 samples per second: a beat every 250 samples.
    const Bytes stream = ModelStream(RemoteModel::Moval, 30.0, 7);
    Feed(stream);
    const int written = RingWriteIndex();
    ASSERT_EQ(written, int(stream.size() / 112) * 48);
    EXPECT_NEAR(g_liveData.hrFromEcg, 120, 1);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], g_liveData.hrFromEcg);

    // After learning, every beat has one mark, and each mark sits on the
    // R wave of the trace as shown: within the QRS, at the same distance
    // from its highest sample beat after beat. (The newest mark is moved
    // into place when the next beat comes.)
    std::vector<int> marks;
    for (int i = 10 * 500; i < written; ++i)
        if ((Frame(i).flags & SampleFrame::kFlagBeat) != 0)
            marks.push_back(i);
    ASSERT_GE(marks.size(), 36u);
    marks.pop_back();
    for (std::size_t i = 1; i < marks.size(); ++i)
        EXPECT_NEAR(marks[i] - marks[i - 1], 250, 1) << i;
    std::vector<int> fromPeak;
    for (int mark : marks) {
        int peak = mark;
        for (int i = mark - 60; i <= mark + 60; ++i)
            if (Frame(i).ecg > Frame(peak).ecg)
                peak = i;
        fromPeak.push_back(mark - peak);
    }
    const auto [low, high] = std::minmax_element(fromPeak.begin(), fromPeak.end());
    EXPECT_LE(*high - *low, 1);
    EXPECT_GE(*low, -10);
    EXPECT_LE(*high, 10);
}
