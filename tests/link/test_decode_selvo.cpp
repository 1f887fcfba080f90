// Selvo: temperature, ECG with impedance, SpO2, the combined Selvo data and
// the device state with its status codes.
#include <gtest/gtest.h>

#include "DecodeFixture.h"
#include "link/MonitorMessages.h"

using Selvo = DecodeTest;

TEST_F(Selvo, TemperatureIsKeptInTenthsAndNamesTheSelvo)
{
    Send(ProcessMsgTempData, EncodeTempData(10150));
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 1015);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceSelvo);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tag, "CSerialMoval::ProcessMsgTempData");
    EXPECT_EQ(log[0].text, "The remote is a Selvo!\r\n");

    Send(ProcessMsgTempData, EncodeTempData(-5));
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 0);
    Send(ProcessMsgTempData, EncodeTempData(9));
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 0);
    EXPECT_EQ(log.size(), 1u); // named once
}

TEST_F(Selvo, TemperatureOnlyRemoteIsRefreshedByTheTemperatureMessage)
{
    // featureBits 9 after the reset: the message does not close a cycle.
    g_liveData.startupCountdown = 0;
    Send(ProcessMsgTempData, EncodeTempData(9800));
    EXPECT_TRUE(TakeDefaultPosts().empty());

    // Temperature only: posts are gated by the first four notifications.
    g_liveData.featureBits = kFeatureTemp;
    g_liveData.startupCountdown = 4;
    for (int i = 0; i < 4; ++i)
        Send(ProcessMsgTempData, EncodeTempData(int16_t(9800 + i)));
    EXPECT_TRUE(TakeDefaultPosts().empty());
    Send(ProcessMsgTempData, EncodeTempData(9900));
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComNewData), 0x20));
    EXPECT_EQ(state.cycleMessageId, kMsgTempData);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 990);
    EXPECT_EQ(RingWriteIndex(), 0); // no waveform frames
}

TEST_F(Selvo, EcgZDataFillsThirtyTwoFramesWithSlowValuesSpread)
{
    g_liveData.statusFlags = RemoteStatusWord(3, 0, true);
    g_ecgBandwidthFlag = 0; // show the raw sample
    EcgZData m;
    for (int k = 0; k < 32; ++k)
        m.ecg[k] = int16_t(100 + 7 * k);
    for (int i = 0; i < 6; ++i)
        m.resp[i] = uint16_t(2000 + i);
    // The first sample after a reset passes unchanged; warm the chain.
    Send(ProcessMsgEcgZData, EncodeEcgZData(m));
    const int start = RingWriteIndex();
    Send(ProcessMsgEcgZData, EncodeEcgZData(m));
    ASSERT_EQ(RingWriteIndex(), start + 32);
    for (int k = 0; k < 32; ++k) {
        const SampleFrame& f = Frame(start + k);
        EXPECT_EQ(f.ecg, m.ecg[k]) << k;
        EXPECT_EQ(f.flags & SampleFrame::kFlagEcgValid, SampleFrame::kFlagEcgValid);
        EXPECT_EQ(f.event.code, 0);
    }
    EXPECT_EQ(g_liveData.deviceKind, kDeviceSelvo);
    EXPECT_EQ(g_liveData.sampleRate, 400);
    EXPECT_EQ(state.cycleMessageId, kMsgEcgZData);
    EXPECT_EQ(g_liveData.heartRateSource, 0);
}

TEST_F(Selvo, LeadsOffClearsTheRateAndTheRespirationFrames)
{
    g_liveData.statusFlags = RemoteStatusWord(3, 0, false);
    g_liveData.hrFromEcg = 88;
    g_liveData.numerics[kParamHeartRate] = 88;
    EcgZData m;
    m.resp.fill(2500);
    Send(ProcessMsgEcgZData, EncodeEcgZData(m));
    for (int k = 0; k < 32; ++k) {
        EXPECT_EQ(Frame(k).flags, 0);
        EXPECT_EQ(Frame(k).resp, 0);
    }
    EXPECT_EQ(g_liveData.hrFromEcg, 0);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 0);

    // Dental scalar rejection counts the ECG as valid but feeds no impedance.
    g_liveData.dentalScalarRejection = 1;
    Send(ProcessMsgEcgZData, EncodeEcgZData(m));
    for (int k = 32; k < 64; ++k) {
        EXPECT_EQ(Frame(k).flags, SampleFrame::kFlagEcgValid);
        EXPECT_EQ(Frame(k).resp, 0);
    }
}

TEST_F(Selvo, SpO2SetsPulseSourceAndPleth)
{
    SpO2Data m;
    m.pleth = {10, 20, 30, 40, 50, 60};
    m.spo2 = 97;
    m.pulse = 131;
    Send(ProcessMsgSpO2Data, EncodeSpO2Data(m));
    EXPECT_EQ(g_liveData.numerics[kParamSpO2], 97);
    EXPECT_EQ(g_liveData.hrFromSpO2, 131);
    EXPECT_EQ(g_liveData.heartRateSource, 1);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 131);
    EXPECT_EQ(Frame(0).pleth, 10);
    EXPECT_EQ(Frame(4).pleth, 10);
    EXPECT_EQ(Frame(5).pleth, 20);
    EXPECT_EQ(Frame(15).pleth, 30);
    EXPECT_EQ(Frame(16).pleth, 40);
    EXPECT_EQ(Frame(31).pleth, 60);

    // Rates outside 1..800 show as none.
    m.pulse = 801;
    Send(ProcessMsgSpO2Data, EncodeSpO2Data(m));
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 0);
    m.pulse = 800;
    Send(ProcessMsgSpO2Data, EncodeSpO2Data(m));
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 800);
}

TEST_F(Selvo, SelvoDataDecodesEveryField)
{
    g_liveData.startupCountdown = 0;
    SelvoData m;
    for (int k = 0; k < 32; ++k)
        m.ecg[k] = int16_t(-300 + k);
    m.pleth = {1, 2, 3, 4, 5, 6};
    m.resp.fill(2000);
    m.temperature = 10234;
    m.stateCode = 5;
    m.status = RemoteStatusWord(5, 9, true);
    m.featureBits = 0x000F;
    g_liveData.numerics[kParamSpO2] = 95;
    Send(ProcessMsgSelvoData, EncodeSelvoData(m));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceSelvo);
    EXPECT_EQ(g_liveData.featureBits, 0x000F);
    EXPECT_EQ(g_liveData.gasModuleKind, 5);
    EXPECT_EQ(g_liveData.batteryLevel, 5);
    EXPECT_EQ(g_liveData.statusFlags, m.status);
    EXPECT_EQ(state.stateCode, 5);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], 1023);
    EXPECT_EQ(g_liveData.numerics[kParamSpO2], 0);
    EXPECT_EQ(RingWriteIndex(), 32);
    EXPECT_EQ(Frame(0).pleth, 1);
    EXPECT_EQ(Frame(31).pleth, 6);
    EXPECT_EQ(Frame(31).co2Valid, 0);
    // Data, then state code 5 as the Selvo's status 13.
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComNewData), 0x20));
    EXPECT_EQ(posts[1], std::make_pair(int(kComRemoteStatus), 13));
}

TEST_F(Selvo, DeviceStateNamesASelvoAndSignalsATemperatureOnlyChange)
{
    g_liveData.startupCountdown = 0;
    DeviceStateData m;
    m.extended = 4;
    m.featureBits = kFeatureTemp;
    m.stateCode = 2;
    m.status = RemoteStatusWord(2, 1, false);
    Send(ProcessMsgDeviceState, EncodeDeviceState(m));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceSelvo);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tag, "CSerialMoval::ProcessMsgDeviceState");
    EXPECT_EQ(log[0].text, "Received MsgDeviceState, ExtendedStatus = 0x4.  The remote is a Selvo!");
    EXPECT_EQ(g_liveData.featureBits, kFeatureTemp);
    EXPECT_EQ(g_liveData.batteryLevel, 2);
    EXPECT_EQ(state.invalidatePending, 1);
    EXPECT_EQ(state.cycleMessageId, 16);
    auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComRemoteStatus), 8));

    // The next data cycle also asks the view to repaint, once.
    Send(ProcessMsgTempData, EncodeTempData(9900));
    posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 1u);
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(others[0].message, state.invalidateMsg);
    EXPECT_EQ(others[0].target, kView);
    EXPECT_EQ(state.invalidatePending, 0);
    Send(ProcessMsgTempData, EncodeTempData(9900));
    TakeDefaultPosts();
    EXPECT_EQ(others.size(), 1u);

    // Staying temperature-only is no change.
    Send(ProcessMsgDeviceState, EncodeDeviceState(m));
    EXPECT_EQ(state.invalidatePending, 0);
}

TEST_F(Selvo, InvalidateGoesToTheMainWindowWithoutAView)
{
    g_liveData.startupCountdown = 0;
    state.invalidatePending = 1;
    state.targetWindow = 0;
    g_liveData.featureBits = kFeatureTemp;
    Send(ProcessMsgTempData, EncodeTempData(9900));
    auto message = poster.Take(0);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->message, state.invalidateMsg);
    EXPECT_EQ(message->target, kMainWindow);
}

TEST_F(Selvo, DeviceStateWithCO2AddsAgentAndN2OBits)
{
    g_liveData.deviceKind = kDeviceSelvo;
    g_liveData.showN2OSetting = 1;
    g_liveData.primaryAgent = 3;
    g_liveData.secondaryAgent = 0;
    g_liveData.hrFromEcg = 90;
    g_liveData.numerics[kParamHeartRate] = 90;
    DeviceStateData m;
    m.extended = 4;
    m.featureBits = 0x002F;
    m.status = RemoteStatusWord(4, 0, true, true);
    Send(ProcessMsgDeviceState, EncodeDeviceState(m));
    EXPECT_EQ(g_liveData.featureBits, 0x002F | 0x0080 | 0x0100);
    EXPECT_EQ(g_liveData.displayLatch, 1);
    EXPECT_EQ(g_liveData.hrFromEcg, 0);
    EXPECT_EQ(g_liveData.numerics[kParamHeartRate], 0);
    EXPECT_TRUE(log.empty()); // already known as a Selvo
}

TEST_F(Selvo, StatusCodesFollowTheSelvoTable)
{
    const int expected[13] = {0, 0, 8, 10, 0, 13, 9, 0, 6, 7, 0, 0, 0};
    g_liveData.deviceKind = kDeviceSelvo;
    for (uint16_t code = 0; code <= 12; ++code) {
        DeviceStateData m;
        m.extended = 4;
        m.stateCode = code;
        Send(ProcessMsgDeviceState, EncodeDeviceState(m));
        const auto posts = TakeDefaultPosts();
        if (expected[code] == 0) {
            EXPECT_TRUE(posts.empty()) << code;
        } else {
            ASSERT_EQ(posts.size(), 1u) << code;
            EXPECT_EQ(posts[0], std::make_pair(int(kComRemoteStatus), expected[code]));
        }
    }
}
