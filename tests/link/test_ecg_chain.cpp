// The process-wide chain as the decoders call it: the connect-time reset,
// the mode bytes and the live record it reads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "link/CuffFilter.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "platform/Event.h"
#include "sim/SyntheticSignals.h"

class EcgChainGlobals : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLiveStore();
        ResetEcgChainState();
        ResetRemoteDataState();
    }
    void TearDown() override
    {
        ResetEcgChainState();
        ResetLiveStore();
    }
};

TEST_F(EcgChainGlobals, ConnectResetPutsTheLiveRecordIntoItsResetState)
{
    LiveData& d = g_liveData;
    d.dentalScalarRejection = 1;
    d.movalStreamState = 3;
    d.ringWrapped = 1;
    d.displayLatch = 1;
    d.deviceKind = kDeviceSelvo;
    d.movalSequence = 77;
    d.ringWriteIndex = 1234;
    d.ringReadIndex = 1200;
    d.startupCountdown = 0;
    d.lastBeatOffset = 105;
    d.featureBits = 0x3F;
    d.firstBuffer = 0;
    d.sampleRate = 500;
    d.batteryLevel = 4;          // not part of the reset
    d.numerics[kParamSpO2] = 97;  // nor this
    for (auto& b : g_gasStatus)
        b = 0xAA;
    g_linkMode.store(kLinkTerminal);
    g_ecgBandwidthFlag = 0;
    g_heartRate = 88;

    ResetRemoteDataState();

    EXPECT_EQ(d.dentalScalarRejection, 0);
    EXPECT_EQ(d.movalStreamState, 0);
    EXPECT_EQ(d.ringWrapped, 0);
    EXPECT_EQ(d.displayLatch, 0);
    EXPECT_EQ(d.deviceKind, kDeviceUnknown);
    EXPECT_EQ(d.movalSequence, 0);
    EXPECT_EQ(d.ringWriteIndex.load(), 0);
    EXPECT_EQ(d.ringReadIndex.load(), 0);
    EXPECT_EQ(d.startupCountdown, 4);
    EXPECT_EQ(d.lastBeatOffset, 0);
    EXPECT_EQ(d.featureBits, 9);
    EXPECT_EQ(d.firstBuffer, 1);
    EXPECT_EQ(d.sampleRate, 400);
    EXPECT_EQ(d.batteryLevel, 4);
    EXPECT_EQ(d.numerics[kParamSpO2], 97);
    for (int i = 0; i < kGasStatusSize; ++i)
        EXPECT_EQ(g_gasStatus[i], i < 4 ? 0 : 0xAA) << i;
    EXPECT_EQ(g_linkMode.load(), kLinkDecode);
    EXPECT_EQ(g_ecgBandwidthFlag, 1);
    EXPECT_EQ(g_heartRate, 0);
}

TEST_F(EcgChainGlobals, HeartRateResultsAppearInTheGlobals)
{
    SyntheticEcgSpec shape;
    shape.beatsPerMinute = 75;
    const SyntheticEcg ecg = MakeSyntheticEcg(shape, 20 * 400);
    EXPECT_EQ(DeriveHeartRate(ecg.samples[0], true), ecg.samples[0]);
    int beats = 0;
    for (std::size_t i = 1; i < ecg.samples.size(); ++i) {
        g_beatFlag = 0;
        g_qrsOutput = 0;
        DeriveHeartRate(ecg.samples[i], true);
        if (g_beatFlag) {
            ++beats;
            EXPECT_GT(g_qrsOutput, 0);
            EXPECT_LT(g_qrsOutput, 400);
        }
    }
    EXPECT_GT(beats, 10);
    EXPECT_EQ(g_heartRate, 75);

    // Without the bandwidth flag the raw sample is shown.
    g_ecgBandwidthFlag = 0;
    for (int16_t s : {int16_t(5), int16_t(-300), int16_t(2000)})
        EXPECT_EQ(DeriveHeartRate(s, true), s);

    // A reset re-initialises the detector at the rate then in force.
    ResetRemoteDataState();
    g_liveData.sampleRate = 500;
    EXPECT_EQ(DeriveHeartRateMoval(321, true), 321);
    EXPECT_EQ(g_heartRate, 0);
}

TEST_F(EcgChainGlobals, DemoEcgSkipsTheMovalBaselineFilter)
{
    g_ecgBandwidthFlag = 0;  // show the signal before the low-pass
    DeriveHeartRateMoval(0, true);
    int16_t live = 0;
    for (int i = 0; i < 2000; ++i)
        live = DeriveHeartRateMoval(1000, true);
    // The baseline is taken away (down to the dead band of the integer
    // first-order filter, 65536 / 813 counts).
    EXPECT_LE(std::abs(live), 65536 / 813);

    SetEcgDemoMode(true);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(DeriveHeartRateMoval(1000, true), 1000);
}

TEST_F(EcgChainGlobals, RespirationFollowsTheStatusWordAndTheDentalFlag)
{
    BreathingSpec shape;
    shape.periodsSeconds = {3.0};
    const std::vector<int16_t> impedance = MakeBreathing(shape, 60 * kImpedanceRate);
    g_liveData.statusFlags = 1u << 14;
    g_liveData.heartRateSource = 1;
    g_liveData.hrFromSpO2 = 130;
    g_heartRate = 130;
    for (int16_t s : impedance)
        DeriveRespirationRate(s);
    EXPECT_EQ(g_respRate, 20);

    g_liveData.dentalScalarRejection = 1;
    EXPECT_EQ(DeriveRespirationRate(impedance[0]), 0);
    EXPECT_EQ(g_respRate, 0);

    g_liveData.dentalScalarRejection = 0;
    for (int16_t s : impedance)
        DeriveRespirationRate(s);
    EXPECT_EQ(g_respRate, 20);
    g_liveData.statusFlags = 0;
    EXPECT_EQ(DeriveRespirationRate(impedance[0]), 0);
    EXPECT_EQ(g_respRate, 0);
}

TEST_F(EcgChainGlobals, CuffBlocksRunOnTheProcessChain)
{
    std::vector<int16_t> pressure(60), oscillation(60), p(60), o(60), pRef(60), oRef(60);
    for (int i = 0; i < 60; ++i) {
        pressure[i] = static_cast<int16_t>(900 - i);
        oscillation[i] = static_cast<int16_t>(i % 7 * 40);
    }
    CuffChain reference;
    for (int i = 0; i < 60; i += 6) {
        FilterSampleBlock(6, &pressure[i], &oscillation[i], &p[i], &o[i]);
        CuffFilterBlock(reference, 6, &pressure[i], &oscillation[i], &pRef[i], &oRef[i]);
    }
    EXPECT_EQ(p, pRef);
    EXPECT_EQ(o, oRef);
    FilterSampleBlock(6, nullptr, nullptr, nullptr, nullptr);  // refused, not a crash
}

TEST_F(EcgChainGlobals, AResetFromTheConnectionThreadReachesTheDecodingThread)
{
    SyntheticEcgSpec shape;
    const SyntheticEcg ecg = MakeSyntheticEcg(shape, 4000);
    std::atomic<bool> stop{false};
    CEvent running;
    std::thread decoder([&] {
        for (std::size_t i = 0; !stop.load(); i = (i + 1) % ecg.samples.size()) {
            DeriveHeartRate(ecg.samples[i], true);
            DeriveRespirationRate(ecg.samples[i]);
            if (i == 100)
                running.Set();
        }
    });
    ASSERT_TRUE(running.Wait(5000));
    for (int i = 0; i < 50; ++i) {
        ResetRemoteDataState();
        g_hrDetectMode = static_cast<uint8_t>(i % 3);
    }
    stop.store(true);
    decoder.join();

    ResetRemoteDataState();
    EXPECT_EQ(DeriveHeartRate(4321, true), 4321);
    EXPECT_EQ(g_qrsOutput, 0);
}
