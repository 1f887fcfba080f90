// Moval: packet start, samples, checksum, sequence gaps, status and beats.
#include <gtest/gtest.h>

#include <algorithm>

#include "DecodeFixture.h"
#include "link/MovalStream.h"
#include "sim/SyntheticSignals.h"

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

TEST_F(Moval, BeatsAreMarkedOnTheirRWaves)
{
    // 30 s at 120 bpm, 500 samples per second.
    SyntheticEcgSpec spec;
    spec.sampleRate = 500;
    spec.beatsPerMinute = 120;
    spec.amplitude = 300; // the Moval's smaller range
    spec.seed = 7;
    const SyntheticEcg ecg = MakeSyntheticEcg(spec, 48 * 313);
    for (int n = 0; n < 313; ++n) {
        MovalPacket p = Packet(unsigned(n) % 64);
        std::copy(ecg.samples.begin() + 48 * n, ecg.samples.begin() + 48 * (n + 1), p.ecg.begin());
        Feed(EncodeMovalPacket(p));
    }
    ASSERT_EQ(RingWriteIndex(), 48 * 313);
    EXPECT_NEAR(g_liveData.hrFromEcg, 120, 1);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], g_liveData.hrFromEcg);

    // After learning every R wave has one mark, a little after its peak
    // (within 40 ms) where the chain places the beat.
    std::vector<int> marks;
    for (int i = 10 * 500; i < RingWriteIndex(); ++i)
        if ((Frame(i).flags & SampleFrame::kFlagBeat) != 0)
            marks.push_back(i);
    std::vector<int> peaks;
    for (int peak : ecg.rPeaks)
        if (peak >= 10 * 500 - 10 && peak < RingWriteIndex() - 200)
            peaks.push_back(peak);
    ASSERT_GE(peaks.size(), 35u);
    ASSERT_EQ(marks.size(), peaks.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
        EXPECT_GE(marks[i] - peaks[i], 0) << i;
        EXPECT_LE(marks[i] - peaks[i], 20) << i;
    }
}
