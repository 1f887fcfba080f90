#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "link/LiveData.h"

class LiveStore : public ::testing::Test {
protected:
    void SetUp() override { ResetLiveStore(); }
    void TearDown() override { ResetLiveStore(); }
};

TEST_F(LiveStore, ProductCodesTranslateToDeviceKinds)
{
    EXPECT_EQ(DeviceKindFromProductCode(1), kDeviceMoval);
    EXPECT_EQ(DeviceKindFromProductCode(2), kDeviceTarvik);
    EXPECT_EQ(DeviceKindFromProductCode(3), kDeviceTarvikPlus);
    EXPECT_EQ(DeviceKindFromProductCode(4), kDeviceSelvo);
    EXPECT_EQ(DeviceKindFromProductCode(5), kDeviceBrindle);
    EXPECT_EQ(DeviceKindFromProductCode(0), kDeviceUnknown);
    EXPECT_EQ(DeviceKindFromProductCode(6), kDeviceUnknown);
    EXPECT_EQ(DeviceKindFromProductCode(0xFFFFFFFF), kDeviceUnknown);
    EXPECT_STREQ(DeviceKindName(kDeviceBrindle), "BP-Brindle");
    EXPECT_STREQ(DeviceKindName(42), "Unknown Device");
}

TEST_F(LiveStore, UnreadCountAcrossTheWrap)
{
    EXPECT_EQ(RingUnreadCount(5, 32760), 13);
    EXPECT_EQ(RingUnreadCount(100, 100), 0);
    EXPECT_EQ(RingUnreadCount(0, 32767), 1);
    EXPECT_EQ(RingUnreadCount(32767, 0), 32767);
}

TEST_F(LiveStore, WriterWrapsAt32768AndMarksTheRingFull)
{
    g_liveData.ringWriteIndex = kSampleRingSize - 1;
    SampleFrame& last = BeginRingWrite();
    last.ecg = 123;
    CommitRingWrite();
    EXPECT_EQ(g_liveData.ringWriteIndex.load(), 0);
    EXPECT_EQ(g_liveData.ringWrapped, 1);
    EXPECT_EQ(g_sampleRing[kSampleRingSize - 1].ecg, 123);
}

TEST_F(LiveStore, BeginRingWriteClearsTheOldFrameAndItsEvent)
{
    g_sampleRing[7].ecg = 99;
    g_sampleRing[7].flags = SampleFrame::kFlagBeat;
    g_sampleRing[7].event.code = CEcgEvent::kMarker;
    g_sampleRing[7].event.numerics[3] = 97;
    g_liveData.ringWriteIndex = 7;
    SampleFrame& frame = BeginRingWrite();
    EXPECT_EQ(frame.ecg, 0);
    EXPECT_EQ(frame.flags, 0);
    EXPECT_EQ(frame.event.code, 0);
    EXPECT_EQ(frame.event.numerics[3], 0);
}

TEST_F(LiveStore, ReaderSeesWholeFramesFromAnotherThread)
{
    constexpr int kFrames = 50000;  // wraps the ring once
    std::thread writer([] {
        for (int i = 0; i < kFrames; ++i) {
            while (RingUnreadCount(g_liveData.ringWriteIndex.load(std::memory_order_acquire),
                                   g_liveData.ringReadIndex.load(std::memory_order_acquire)) >= kSampleRingSize - 1)
                std::this_thread::yield();
            SampleFrame& f = BeginRingWrite();
            f.ecg = int16_t(i);
            f.resp = int16_t(~i);
            CommitRingWrite();
        }
    });
    int expected = 0;
    while (expected < kFrames) {
        const int32_t write = g_liveData.ringWriteIndex.load(std::memory_order_acquire);
        int32_t read = g_liveData.ringReadIndex.load(std::memory_order_relaxed);
        while (read != write) {
            ASSERT_EQ(g_sampleRing[read].ecg, int16_t(expected));
            ASSERT_EQ(g_sampleRing[read].resp, int16_t(~expected));
            ++expected;
            read = (read + 1) & kSampleRingMask;
        }
        g_liveData.ringReadIndex.store(read, std::memory_order_release);
    }
    writer.join();
    EXPECT_EQ(g_liveData.ringWrapped, 1);
}

TEST_F(LiveStore, ResetReturnsEveryGlobalToItsStart)
{
    g_liveData.featureBits = 0x3F;
    g_liveData.numerics[5] = 120;
    g_liveData.ringWriteIndex = 40;
    g_sampleRing[3].ecg = 5;
    g_printFrames[23999].o2 = 8;
    g_linkMode = kLinkTerminal;
    g_gasStatus[10] = 1;
    ResetLiveStore();
    EXPECT_EQ(g_liveData.featureBits, 0);
    EXPECT_EQ(g_liveData.numerics[5], 0);
    EXPECT_EQ(g_liveData.ringWriteIndex.load(), 0);
    EXPECT_EQ(g_sampleRing[3].ecg, 0);
    EXPECT_EQ(g_printFrames[23999].o2, 0);
    EXPECT_EQ(g_linkMode.load(), kLinkDecode);
    EXPECT_EQ(g_gasStatus[10], 0);
}

TEST_F(LiveStore, EventInitCopiesTheLiveValues)
{
    g_liveData.featureBits = 0x2F;
    for (int i = 0; i < kParameterCount; ++i)
        g_liveData.numerics[i] = int16_t(100 + i);
    g_liveData.hrFromEcg = 81;
    g_liveData.hrFromSpO2 = 82;
    g_liveData.hrFromBp = 83;
    g_liveData.heartRateSource = 1;
    g_liveData.primaryAgent = 3;
    g_liveData.secondaryAgent = 4;
    g_liveData.ambientPressure = 10.1325f;

    CEcgEvent event;
    event.position = 77;
    event.Init(0x80 | kParamSpO2, g_liveData, 2, 98, 1);
    EXPECT_EQ(event.code, 0x83);
    EXPECT_EQ(event.position, 0u);
    EXPECT_EQ(event.featureBits, 0x2F);
    for (int i = 0; i < kParameterCount; ++i)
        EXPECT_EQ(event.numerics[i], 100 + i);
    EXPECT_EQ(event.hrFromEcg, 81);
    EXPECT_EQ(event.hrFromSpO2, 82);
    EXPECT_EQ(event.hrFromBp, 83);
    EXPECT_EQ(event.heartRateSource, 1);
    EXPECT_EQ(event.cuffSize, 2);
    EXPECT_EQ(event.primaryAgent, 3);
    EXPECT_EQ(event.secondaryAgent, 4);
    EXPECT_FLOAT_EQ(event.ambientPressure, 10.1325f);
    EXPECT_EQ(event.limitValue, 98);
    EXPECT_EQ(event.unitNative, 1);
}

struct DescriptionCase {
    uint8_t code;
    int16_t limit;
    uint8_t unitNative;
    float ambient;
    const char* text;
};

class EventDescription : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(EventDescription, Text)
{
    const DescriptionCase& c = GetParam();
    CEcgEvent event;
    event.code = c.code;
    event.limitValue = c.limit;
    event.unitNative = c.unitNative;
    event.ambientPressure = c.ambient;
    EXPECT_EQ(event.GetDescription(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, EventDescription,
    ::testing::Values(
        DescriptionCase{0x22, 0, 0, 0, "Marker"}, DescriptionCase{0x23, 0, 0, 0, "Vitals"},
        DescriptionCase{0x21, 0, 0, 0, "Print"}, DescriptionCase{0x24, 0, 0, 0, "Apnea"},
        DescriptionCase{0x00, 0, 0, 0, ""},
        DescriptionCase{0x40 | 4, 10, 0, 0, ""},            // apnea index is no alarm
        DescriptionCase{0x80 | 24, 10, 0, 0, ""},           // index out of range
        DescriptionCase{0x80 | 31, 10, 0, 0, ""},
        DescriptionCase{0x81, 1030, 1, 0, "Temp > 103.0"},
        DescriptionCase{0x81, 1030, 0, 0, "Temp > 39.4"},   // floating point, never 39.0
        DescriptionCase{0x41, 950, 0, 0, "Temp < 35.0"},
        DescriptionCase{0x4B, 35, 0, 10.1325f, "CO2 Exp < 26.6"},
        DescriptionCase{0x4B, 35, 1, 10.1325f, "CO2 Exp < 3.5"},
        DescriptionCase{0x80, 180, 0, 0, "HR > 180"},
        DescriptionCase{0x43, 90, 1, 0, "SpO2 < 90"},
        DescriptionCase{0x97, 25, 1, 0, "Des Exp > 2.5"}));

TEST(EventRecord, EightyFourBytesLittleEndianRoundTrip)
{
    CEcgEvent event;
    event.code = 0x83;
    event.position = 0x01020304;
    event.featureBits = 0xA55A;
    for (int i = 0; i < kParameterCount; ++i)
        event.numerics[i] = int16_t(-300 + 25 * i);
    event.hrFromEcg = 0x1122;
    event.hrFromSpO2 = -2;
    event.hrFromBp = 0x3344;
    event.heartRateSource = 2;
    event.cuffSize = 5;
    event.primaryAgent = 1;
    event.secondaryAgent = 4;
    event.ambientPressure = 10.1325f;
    event.limitValue = -1234;
    event.unitNative = 1;

    uint8_t record[CEcgEvent::kRecordSize];
    std::memset(record, 0xEE, sizeof record);
    event.WriteRecord(record);
    EXPECT_EQ(record[0], 0x83);
    EXPECT_EQ(record[1], 0);
    EXPECT_EQ(record[2], 0);
    EXPECT_EQ(record[3], 0);
    EXPECT_EQ(record[4], 0x04);
    EXPECT_EQ(record[7], 0x01);
    EXPECT_EQ(record[8], 0x5A);
    EXPECT_EQ(record[9], 0xA5);
    EXPECT_EQ(record[10], uint8_t(-300 & 0xFF));
    EXPECT_EQ(record[11], uint8_t((-300 >> 8) & 0xFF));
    for (int i = 58; i < 66; ++i)
        EXPECT_EQ(record[i], 0) << i;
    EXPECT_EQ(record[66], 0x22);
    EXPECT_EQ(record[67], 0x11);
    EXPECT_EQ(record[68], 0xFE);
    EXPECT_EQ(record[72], 2);
    EXPECT_EQ(record[73], 5);
    EXPECT_EQ(record[74], 1);
    EXPECT_EQ(record[75], 4);
    uint32_t bits;
    const float ambient = 10.1325f;
    std::memcpy(&bits, &ambient, 4);
    EXPECT_EQ(record[76], bits & 0xFF);
    EXPECT_EQ(record[79], bits >> 24);
    EXPECT_EQ(record[80], uint8_t(-1234 & 0xFF));
    EXPECT_EQ(record[82], 1);
    EXPECT_EQ(record[83], 0);

    CEcgEvent back;
    back.ReadRecord(record);
    uint8_t again[CEcgEvent::kRecordSize];
    back.WriteRecord(again);
    EXPECT_EQ(std::memcmp(record, again, sizeof record), 0);
    EXPECT_EQ(back.GetDescription(), event.GetDescription());
}
