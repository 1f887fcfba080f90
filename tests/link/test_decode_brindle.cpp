// Brindle: blood-pressure values and cuff samples, device state and its
// status codes.
#include <gtest/gtest.h>

#include "DecodeFixture.h"
#include "link/MonitorMessages.h"

using Brindle = DecodeTest;

TEST_F(Brindle, BloodPressureValuesReplaceEveryNumeric)
{
    for (int i = 0; i < kParameterCount; ++i)
        g_liveData.numerics[i] = int16_t(i + 1);
    g_liveData.primaryAgent = 3;
    g_liveData.agentAvailable[2] = 1;
    g_liveData.ambientPressure = 9.0f;
    NibpData m;
    m.pulse = 72;
    m.systolic = 128;
    m.diastolic = 84;
    m.mean = 99;
    Send(ProcessMsgNibpData, EncodeNibpData(m));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceBrindle);
    EXPECT_EQ(g_liveData.hrFromBp, 72);
    EXPECT_EQ(g_liveData.heartRateSource, 2);
    EXPECT_FLOAT_EQ(g_liveData.ambientPressure, 10.1325f);
    EXPECT_EQ(g_liveData.primaryAgent, 0);
    EXPECT_EQ(g_liveData.agentAvailable[2], 0);
    for (int i = 0; i < kParameterCount; ++i) {
        const int expected = i == kParamHeartRate ? 72
                             : i == kParamSystolic ? 128
                             : i == kParamDiastolic ? 84
                             : i == kParamMean ? 99
                                               : 0;
        EXPECT_EQ(g_liveData.numerics[i], expected) << i;
    }
    EXPECT_EQ(g_liveData.packetReceived, 1);
}

TEST_F(Brindle, CuffPressureWordsComeFirstThenOscillation)
{
    // A steady cuff pressure and no oscillation: after the filter's delay
    // the pressure shows on the CO2 channel and the O2 channel stays flat.
    NibpData m;
    m.cuff.fill(1500);
    m.oscillation.fill(0);
    for (int i = 0; i < 10; ++i)
        Send(ProcessMsgNibpData, EncodeNibpData(m));
    ASSERT_EQ(RingWriteIndex(), 320);
    const SampleFrame& last = Frame(319);
    EXPECT_GT(last.co2, 1000);
    EXPECT_EQ(last.o2, 0);
    EXPECT_EQ(last.co2Valid, 1);
    EXPECT_EQ(last.pleth, 0);
    EXPECT_EQ(last.resp, 0);
    EXPECT_EQ(last.ecg, 0);
    EXPECT_EQ(last.flags, 0);

    // The mirror image: oscillation only.
    ResetEcgChainState();
    m.cuff.fill(0);
    m.oscillation.fill(400);
    for (int i = 0; i < 10; ++i)
        Send(ProcessMsgNibpData, EncodeNibpData(m));
    EXPECT_EQ(Frame(639).co2, 0);
    EXPECT_GT(Frame(639).o2, 200);
}

TEST_F(Brindle, DeviceStateSetsFeaturesAndPostsTheBrindleCode)
{
    DeviceStateData m;
    m.extended = 0;
    m.featureBits = kFeatureNibp;
    m.stateCode = 3;
    m.status = RemoteStatusWord(1, 0, false);
    Send(ProcessMsgDeviceState, EncodeDeviceState(m));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceBrindle);
    EXPECT_EQ(g_liveData.featureBits, kFeatureNibp | kFeatureCO2 | kFeatureO2);
    EXPECT_EQ(g_liveData.batteryLevel, 1);
    auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComRemoteStatus), 2));

    m.stateCode = 10;
    Send(ProcessMsgDeviceState, EncodeDeviceState(m));
    EXPECT_TRUE(TakeDefaultPosts().empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(Brindle, StatusCodesFollowTheBrindleTable)
{
    const int expected[14] = {0, 8, 9, 2, 10, 6, 3, 11, 12, 1, 0, 4, 7, 0};
    for (uint16_t code = 0; code < 14; ++code) {
        DeviceStateData m;
        m.extended = 7;
        m.stateCode = code;
        Send(ProcessMsgDeviceState, EncodeDeviceState(m));
        const auto posts = TakeDefaultPosts();
        if (expected[code] == 0) {
            EXPECT_TRUE(posts.empty()) << code;
        } else {
            ASSERT_EQ(posts.size(), 1u) << code;
            EXPECT_EQ(posts[0].second, expected[code]) << code;
        }
    }
}

TEST_F(Brindle, BloodPressureCycleNeverPostsTheInvalidate)
{
    g_liveData.startupCountdown = 0;
    state.invalidatePending = 1;
    Send(ProcessMsgNibpData, EncodeNibpData(NibpData{}));
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComNewData), 0x20));
    EXPECT_TRUE(others.empty());
    EXPECT_EQ(state.invalidatePending, 1);
}
