// Tarvik classic and Plus: whole packets from the packet state machine and
// the raw stream with its model detection.
#include <gtest/gtest.h>

#include "DecodeFixture.h"
#include "link/ByteOrder.h"
#include "link/PacketStateMachine.h"
#include "link/TarvikPackets.h"

namespace {

TarvikClassic SampleClassic()
{
    TarvikClassic p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = int16_t(40 * k - 600);
    p.pleth = {11, 22, 33, 44, 55, 66};
    p.resp.fill(2100);
    p.spo2 = 98;
    p.pulse = 142;
    p.temperature = 10080;
    p.stateCode = 1;
    p.status = RemoteStatusWord(4, 17, true);
    return p;
}

TarvikPlus SamplePlus()
{
    TarvikPlus p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = int16_t(25 * k);
    p.resp.fill(2100);
    p.pleth = {5, 6, 7, 8, 9, 10};
    p.spo2 = 95;
    p.pulse = 120;
    p.temperature = 9950;
    p.systolic = 118;
    p.diastolic = 76;
    p.mean = 90;
    p.bpPulse = 115;
    p.stateCode = 12;
    p.status = RemoteStatusWord(3, 2, true);
    p.featureBits = 0x007F;
    p.gas.co2Exp = 42;
    p.gas.co2Ins = 1;
    p.gas.o2Ins = 60;
    p.gas.n2oExp = 30;
    p.gas.apnea = 1;
    p.gas.respRate = 14;
    p.gas.barometric = 1005;
    p.gas.agentsOffered = 0xF8;
    p.gas.agentId = 0x80 | (3 << 3); // isoflurane identified
    p.gas.primaryIns = 12;
    p.gas.primaryExp = 11;
    for (int i = 0; i < 6; ++i)
        p.gas.co2[i] = uint16_t(10 * i);
    return p;
}

void Feed(DecodeState& state, const Bytes& bytes)
{
    EcgTarvikStream(state, bytes.data(), bytes.size());
}

} // namespace

class Tarvik : public DecodeTest {
protected:
    void SetUp() override
    {
        DecodeTest::SetUp();
        g_liveData.startupCountdown = 0;
    }
    void Classic(const Bytes& packet) { ProcessTarvikClassicMessage(&state, packet.data(), uint32_t(packet.size())); }
    void Plus(const Bytes& packet) { ProcessTarvikPlusMessage(&state, packet.data(), uint32_t(packet.size())); }
};

TEST_F(Tarvik, ClassicPacketDecodesValuesFramesAndStatus)
{
    const TarvikClassic p = SampleClassic();
    Classic(EncodeTarvikClassic(p));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceTarvik);
    EXPECT_EQ(g_liveData.featureBits, 15);
    EXPECT_EQ(g_liveData.gasModuleKind, 5);
    EXPECT_EQ(g_liveData.sampleRate, 400);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 1008);
    EXPECT_EQ(g_liveData.numerics[kParamSpO2], 98);
    EXPECT_EQ(g_liveData.hrFromSpO2, 142);
    EXPECT_EQ(g_liveData.batteryLevel, 4);
    EXPECT_EQ(g_liveData.statusFlags, p.status);
    EXPECT_EQ(state.stateCode, 1);
    EXPECT_EQ(g_liveData.packetReceived, 1);
    ASSERT_EQ(RingWriteIndex(), 32);
    EXPECT_EQ(Frame(0).pleth, 11);
    EXPECT_EQ(Frame(31).pleth, 66);
    EXPECT_EQ(Frame(31).co2Valid, 0);
    EXPECT_EQ(Frame(0).ecg, p.ecg[0]); // first sample after a reset is unfiltered
    // No ECG rate yet, SpO2 offered: the pulse rate shows.
    EXPECT_EQ(g_liveData.heartRateSource, 1);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 142);
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComNewData), 0x20));
    EXPECT_EQ(posts[1], std::make_pair(int(kComRemoteStatus), 3));
    EXPECT_TRUE(log.empty());
}

TEST_F(Tarvik, ClassicStateCodesBeyondTwelve)
{
    TarvikClassic p = SampleClassic();
    p.stateCode = 32;
    Classic(EncodeTarvikClassic(p));
    p.stateCode = 16;
    Classic(EncodeTarvikClassic(p));
    p.stateCode = 3;
    Classic(EncodeTarvikClassic(p));
    std::vector<int> codes;
    for (const auto& post : TakeDefaultPosts())
        if (post.first == kComRemoteStatus)
            codes.push_back(post.second);
    EXPECT_EQ(codes, (std::vector<int>{4, 6}));
}

TEST_F(Tarvik, TextAfterThePacketGoesToTheTerminal)
{
    terminal.SetShown(true);
    TarvikClassic p = SampleClassic();
    p.text = "T=101.5F OK\n";
    const Bytes packet = EncodeTarvikClassic(p);
    ASSERT_EQ(packet.size(), 120u);
    Classic(packet);
    std::string shown;
    for (const auto& chunk : terminal.Chunks())
        shown += chunk;
    EXPECT_EQ(shown, "T=101.5F OK\r\n");
    EXPECT_EQ(RingWriteIndex(), 32);
}

TEST_F(Tarvik, ChecksumMismatchLogsAndChangesNoModelOrStatus)
{
    Bytes packet = EncodeTarvikClassic(SampleClassic());
    packet[50] ^= 0x01;
    g_liveData.packetReceived = 1;
    const uint32_t statusBefore = g_liveData.statusFlags;
    Classic(packet);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tag, "CSerialMoval::ProcessTarvikClassicMessage");
    Bytes zeroed = packet;
    PutU32(zeroed, 104, 0);
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "Checksum Mismatch!  Computed 0x%x, Received 0x%x.  Spec Pkt Length 0x6c, Received Data Size 0x6c",
                  unsigned(SumOfBytes(zeroed)), unsigned(ReadLe32(packet.data() + 104)));
    EXPECT_EQ(log[0].text, expected);
    EXPECT_EQ(g_liveData.packetReceived, 0);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceUnknown);
    EXPECT_EQ(g_liveData.featureBits, kFeatureEcg | kFeatureTemp);
    EXPECT_EQ(g_liveData.statusFlags, statusBefore);
    EXPECT_EQ(RingWriteIndex(), 0);
    EXPECT_TRUE(TakeDefaultPosts().empty());

    // The Plus form names its own tag.
    log.clear();
    Bytes plus = EncodeTarvikPlus(SamplePlus());
    plus[161] ^= 0x10;
    Plus(plus);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tag, "CSerialMoval::ProcessTarvikPlusMessage");
    EXPECT_EQ(g_liveData.deviceKind, kDeviceUnknown);
}

TEST_F(Tarvik, PlusPacketDecodesGasPressureAndFeatures)
{
    g_liveData.showN2OSetting = 1;
    g_liveData.handledFeatureBits = 0x0009;
    TarvikPlus p = SamplePlus();
    p.gas.byte15 = 0x80 | 0x05;
    p.gas.secondaryIns = 7;
    p.gas.secondaryExp = 8;
    p.status = RemoteStatusWord(3, 2, true, true);
    Plus(EncodeTarvikPlus(p));
    LiveData& live = g_liveData;
    EXPECT_EQ(live.deviceKind, kDeviceTarvikPlus);
    EXPECT_EQ(live.numerics[kParamTemperature], 995);
    EXPECT_EQ(live.numerics[kParamSystolic], 118);
    EXPECT_EQ(live.numerics[kParamDiastolic], 76);
    EXPECT_EQ(live.numerics[kParamMean], 90);
    EXPECT_EQ(live.hrFromBp, 115);
    EXPECT_EQ(live.numerics[kParamCO2Exp], 42);
    EXPECT_EQ(live.numerics[kParamO2Ins], 600);
    EXPECT_EQ(live.numerics[kParamN2OExp], 300);
    EXPECT_EQ(live.numerics[kParamIsoIns], 12);
    EXPECT_EQ(live.numerics[kParamIsoExp], 11);
    EXPECT_EQ(live.numerics[kParamApnea], 1);
    EXPECT_EQ(live.numerics[kParamRespRate], 14);
    EXPECT_FLOAT_EQ(live.ambientPressure, 10.05f);
    EXPECT_EQ(live.primaryAgent, 3);
    EXPECT_EQ(live.gasModuleKind, 4);
    // Remote bits, N2O shown, primary agent present.
    EXPECT_EQ(live.featureBits, 0x007F | 0x0080 | 0x0100);
    // The view's copy is the view's.
    EXPECT_EQ(live.handledFeatureBits, 0x0009);
    EXPECT_EQ(live.displayLatch, 1);
    // Raw agent values and status bits for the gas-probe checks.
    EXPECT_EQ(g_gasStatus[4], 12);
    EXPECT_EQ(g_gasStatus[5], 7);
    EXPECT_EQ(g_gasStatus[6], 11);
    EXPECT_EQ(g_gasStatus[7], 8);
    EXPECT_EQ(g_gasStatus[8], 5);
    EXPECT_EQ(g_gasStatus[9], 2);
    ASSERT_EQ(RingWriteIndex(), 32);
    EXPECT_EQ(Frame(0).co2, 0);
    EXPECT_EQ(Frame(31).co2, 50);
    EXPECT_EQ(Frame(31).co2Valid, 1);
    EXPECT_EQ(Frame(31).pleth, 10);
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[1], std::make_pair(int(kComRemoteStatus), 7)); // state 12

    p.gas.byte15 = 0;
    Plus(EncodeTarvikPlus(p));
    EXPECT_EQ(g_gasStatus[9], 1);
}

TEST_F(Tarvik, PlusWithoutCO2UsesImpedanceRateAndStandardPressure)
{
    TarvikPlus p = SamplePlus();
    p.featureBits = 0x001F;
    p.gas.respRate = 33;
    p.gas.barometric = 900;
    g_liveData.ambientPressure = 9.0f;
    Plus(EncodeTarvikPlus(p));
    EXPECT_FLOAT_EQ(g_liveData.ambientPressure, 10.1325f);
    EXPECT_NE(g_liveData.numerics[kParamRespRate], 33);
    EXPECT_EQ(g_liveData.featureBits, 0x001F);
    EXPECT_EQ(Frame(0).co2Valid, 0);
}

TEST_F(Tarvik, HeartRateSourceFollowsWhatIsMeasured)
{
    TarvikPlus p = SamplePlus();
    // Leads off: no ECG rate. SpO2 present and offered: pulse from SpO2.
    p.status = RemoteStatusWord(3, 0, false);
    Plus(EncodeTarvikPlus(p));
    EXPECT_EQ(g_liveData.heartRateSource, 1);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 120);

    // No SpO2 pulse: blood pressure's pulse when the remote measures it.
    p.pulse = 0;
    Plus(EncodeTarvikPlus(p));
    EXPECT_EQ(g_liveData.heartRateSource, 2);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 115);

    p.featureBits = 0x006F; // no blood pressure
    Plus(EncodeTarvikPlus(p));
    EXPECT_EQ(g_liveData.heartRateSource, 0);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 0);

    // "HR from SPO2" wins whenever SpO2 is offered.
    p.pulse = 99;
    g_liveData.hrFromSpO2Setting = 1;
    Plus(EncodeTarvikPlus(p));
    EXPECT_EQ(g_liveData.heartRateSource, 1);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 99);
}

TEST_F(Tarvik, PacketsThroughThePacketStateMachine)
{
    CPacketStateMachine::DestroyInstance();
    CPacketStateMachine* machine = CPacketStateMachine::Instance();
    machine->owner = &state;
    machine->ownerLegacyA = ProcessTarvikClassicMessage;
    machine->ownerLegacyB = ProcessTarvikPlusMessage;
    Bytes stream;
    for (int i = 0; i < 3; ++i) {
        TarvikClassic p = SampleClassic();
        p.ecg[0] = int16_t(0xAA + i); // stuffed bytes in the data
        const Bytes framed = StuffFrame(EncodeTarvikClassic(p));
        stream.insert(stream.end(), framed.begin(), framed.end());
    }
    stream.push_back(0xAA);
    machine->ProcessBytes(stream.data(), uint32_t(stream.size()));
    EXPECT_EQ(RingWriteIndex(), 96);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceTarvik);
    EXPECT_TRUE(log.empty());
    CPacketStateMachine::DestroyInstance();
}

// ---- The raw stream ---------------------------------------------------------

TEST_F(Tarvik, StreamOfPlusPacketsIsNamedAfterTheSecondFrameStart)
{
    const Bytes packet = StuffFrame(EncodeTarvikPlus(SamplePlus()));
    Feed(state, packet);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceUnknown);
    Feed(state, packet);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceTarvikPlus);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].tag, "CSerialMoval::DetermineTarvikType");
    EXPECT_EQ(log[0].text, "Remote Device is a Tarvik Plus");
    // Both packets were decoded with the Plus layout.
    EXPECT_EQ(RingWriteIndex(), 64);
    Feed(state, packet);
    EXPECT_EQ(RingWriteIndex(), 96);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(Tarvik, StreamOfClassicPacketsIsNamedAndDecoded)
{
    const Bytes packet = StuffFrame(EncodeTarvikClassic(SampleClassic()));
    for (int i = 0; i < 4; ++i)
        Feed(state, packet);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceTarvik);
    EXPECT_EQ(g_liveData.featureBits, 15);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, "Remote Device is a Tarvik (Classic)");
    // The first packet served detection only; every one after it decodes.
    EXPECT_EQ(RingWriteIndex(), 3 * 32);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 1008);
}

TEST_F(Tarvik, StreamSplitAtEveryByteDecodesTheSame)
{
    g_liveData.deviceKind = kDeviceTarvik;
    TarvikClassic p = SampleClassic();
    p.ecg[3] = int16_t(0xA0AA);
    p.text = "x";
    const Bytes packet = StuffFrame(EncodeTarvikClassic(p));
    Bytes stream = packet;
    stream.insert(stream.end(), packet.begin(), packet.end());
    for (std::size_t split = 0; split <= stream.size(); ++split) {
        SetUp();
        g_liveData.deviceKind = kDeviceTarvik;
        EcgTarvikStream(state, stream.data(), split);
        EcgTarvikStream(state, stream.data() + split, stream.size() - split);
        ASSERT_EQ(RingWriteIndex(), 64) << split;
        ASSERT_EQ(g_liveData.packetReceived, 1) << split;
    }
}

TEST_F(Tarvik, StreamChecksEachPacketOnce)
{
    g_liveData.deviceKind = kDeviceTarvikPlus;
    Bytes stream = StuffFrame(EncodeTarvikPlus(SamplePlus()));
    // Bytes after the packet's length, before the next 0xAA.
    for (int i = 0; i < 40; ++i)
        stream.push_back(uint8_t(i));
    Feed(state, stream);
    EXPECT_EQ(RingWriteIndex(), 32);
    EXPECT_EQ(TakeDefaultPosts().size(), 2u);
}

TEST_F(Tarvik, StreamBoundsEveryFrameByTheModelsLimit)
{
    g_liveData.deviceKind = kDeviceTarvik;
    // A frame that never ends, then one whose length word exceeds the limit,
    // then one that claims less than a packet.
    Bytes junk{0xAA};
    for (int i = 0; i < 5000; ++i)
        junk.push_back(uint8_t(i % 0x9F));
    Feed(state, junk);
    Bytes tooLong = EncodeTarvikClassic(SampleClassic());
    tooLong.resize(300, 1);
    PutU16(tooLong, 0, 300);
    Feed(state, StuffFrame(tooLong));
    Bytes tooShort = EncodeTarvikClassic(SampleClassic());
    PutU16(tooShort, 0, 60);
    Feed(state, StuffFrame(tooShort));
    EXPECT_EQ(RingWriteIndex(), 0);
    EXPECT_LE(state.writePosition, kTarvikClassicLimit);

    // The stream recovers at the next good packet.
    Feed(state, StuffFrame(EncodeTarvikClassic(SampleClassic())));
    Feed(state, Bytes{0xAA});
    EXPECT_EQ(RingWriteIndex(), 32);
    EXPECT_EQ(g_liveData.packetReceived, 1);
}

TEST_F(Tarvik, StreamChecksumMismatchDecodesNothing)
{
    g_liveData.deviceKind = kDeviceTarvik;
    Bytes packet = EncodeTarvikClassic(SampleClassic());
    packet[70] ^= 0x04;
    g_liveData.packetReceived = 1;
    Feed(state, StuffFrame(packet));
    EXPECT_EQ(g_liveData.packetReceived, 0);
    EXPECT_EQ(RingWriteIndex(), 0);
    EXPECT_EQ(g_liveData.streamSumField, ReadLe32(packet.data() + 104));
    EXPECT_NE(g_liveData.streamSum, g_liveData.streamSumField);
    EXPECT_TRUE(TakeDefaultPosts().empty());
}

TEST_F(Tarvik, DetectionNeedsAWholeSoundFrame)
{
    // A frame shorter than its length word is not believed.
    Bytes packet = EncodeTarvikClassic(SampleClassic());
    Bytes cut(packet.begin(), packet.begin() + 107);
    Feed(state, StuffFrame(cut));
    Feed(state, StuffFrame(cut));
    Feed(state, Bytes{0xAA});
    EXPECT_EQ(g_liveData.deviceKind, kDeviceUnknown);
    EXPECT_TRUE(log.empty());
}
