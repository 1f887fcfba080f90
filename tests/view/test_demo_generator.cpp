#include <gtest/gtest.h>

#include "app/RemoteConfiguration.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "platform/Thread.h"
#include "view/DemoGenerator.h"
#include "view/DisplayPar.h"
#include "view/WriterThread.h"

namespace {

constexpr uint32_t kSeed = 1234;

class DemoGenerator : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ResetLiveStore();
        ResetEcgChainState();
    }

    // Starts a demo of a model as the view's demo dialog leaves it.
    void Begin(int32_t kind, uint16_t features)
    {
        Clean();
        g_liveData.deviceKind = kind;
        g_liveData.featureBits = features;
        generator.Begin(now);
    }

    // Cycles at the generator's own pace for `seconds`.
    void RunFor(double seconds, bool exotic = false)
    {
        const uint32_t end = now + static_cast<uint32_t>(seconds * 1000);
        while (now < end) {
            now += CDemoGenerator::SleepMs();
            generator.Cycle(now, exotic);
        }
    }

    // The newest `count` frames, oldest first.
    static std::vector<SampleFrame> Newest(int32_t count)
    {
        std::vector<SampleFrame> frames;
        const int32_t write = g_liveData.ringWriteIndex.load();
        for (int32_t i = count; i > 0; --i)
            frames.push_back(g_sampleRing[(write - i) & kSampleRingMask]);
        return frames;
    }

    CDemoGenerator generator{GetDemoTables(), kSeed};
    uint32_t now = 0;
};

}  // namespace

TEST_F(DemoGenerator, WritesFourHundredFramesASecondWhateverTheCycleLength)
{
    const std::vector<uint32_t> patterns[] = {{80}, {35}, {36, 81, 37, 83, 41}};
    for (const auto& pattern : patterns) {
        SCOPED_TRACE(pattern.size());
        Begin(kDeviceTarvik, 0x000F);
        int32_t reported = 0;
        for (std::size_t i = 0; now < 2000; ++i) {
            now = std::min<uint32_t>(now + pattern[i % pattern.size()], 2000);
            reported += generator.Cycle(now, false).samples;
        }
        EXPECT_EQ(g_liveData.ringWriteIndex.load(), 800);
        EXPECT_EQ(reported, 800);
        now = 0;
    }
    // After a stall the generator catches up by ten seconds at most.
    Begin(kDeviceTarvik, 0x000F);
    EXPECT_EQ(generator.Cycle(3'600'000, false).samples, 4000);
}

TEST_F(DemoGenerator, NumericsFollowTheirSlowSwings)
{
    struct Case {
        int cycle;  // the phase grows by 0.004 per cycle
        int temp, spo2, hrSpo2, sys, dia, map, hrBp, co2Ins, co2Exp, o2Ins, n2oExp, desIns, rr;
    };
    const Case cases[] = {
        // t = 0: every sine 0, every cosine 1
        {0, 970, 98, 90, 120, 80, 100, 125, 8, 46, 716, 535, 119, 32},
        // t = 5: the swings at 54, 72 and 63 degrees
        {1250, 998, 96, 103, 117, 77, 97, 122, 13, 43, 730, 525, 116, 29},
        // t = 12.5: temperature at 135 degrees, the swing at 180, the pulse at 157.5
        {3125, 995, 92, 96, 110, 70, 90, 115, 8, 36, 716, 505, 109, 22},
    };
    Begin(kDeviceTarvikPlus, 0x03FF);
    int done = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cycle);
        for (; done < c.cycle; ++done)
            generator.Cycle(now, false);  // no time passes: numerics only
        now += 80;
        generator.Cycle(now, false);
        ++done;
        const LiveData& live = g_liveData;
        const std::vector<int> got = {live.numerics[kParamTemperature], live.numerics[kParamSpO2], live.hrFromSpO2,
                                      live.numerics[kParamSystolic], live.numerics[kParamDiastolic],
                                      live.numerics[kParamMean], live.hrFromBp, live.numerics[kParamCO2Ins],
                                      live.numerics[kParamCO2Exp], live.numerics[kParamO2Ins],
                                      live.numerics[kParamN2OExp], live.numerics[kParamDesIns],
                                      live.numerics[kParamRespRate]};
        EXPECT_EQ(got, (std::vector<int>{c.temp, c.spo2, c.hrSpo2, c.sys, c.dia, c.map, c.hrBp, c.co2Ins, c.co2Exp,
                                         c.o2Ins, c.n2oExp, c.desIns, c.rr}));
        EXPECT_FLOAT_EQ(live.ambientPressure, 10.1325f);
    }
}

TEST_F(DemoGenerator, BeatsAreMarkedAndTheHeartRateFoundNearTheRecordingsRate)
{
    struct Case {
        bool exotic;
        uint8_t detectMode;
        int rate;
    };
    for (const Case& c : {Case{false, 0, 120}, Case{true, 1, 480}}) {
        SCOPED_TRACE(c.rate);
        Begin(kDeviceTarvik, 0x000F);
        g_hrDetectMode = c.detectMode;
        RunFor(20.0, c.exotic);  // the detector learns for its first eight seconds
        EXPECT_NEAR(g_liveData.numerics[kParamHeartRate], c.rate, 3);
        EXPECT_EQ(g_liveData.heartRateSource, 0);
        // Five seconds ending one second back: a mark lands behind the newest frame.
        std::vector<SampleFrame> frames = Newest(6 * 400);
        frames.resize(5 * 400);
        const auto marks = std::count_if(frames.begin(), frames.end(), [](const SampleFrame& f) {
            return f.flags == (SampleFrame::kFlagEcgValid | SampleFrame::kFlagBeat);
        });
        EXPECT_NEAR(static_cast<double>(marks), c.rate * 5 / 60.0, 1.0);
    }
}

TEST_F(DemoGenerator, BrindleHasNoEcgNoMarksAndItsCuffOnlyWhileMeasuring)
{
    Begin(kDeviceBrindle, 0x0071);
    RunFor(2.0);
    for (const SampleFrame& f : Newest(800))
        EXPECT_TRUE(f.co2 == 0 && f.o2 == 0);

    g_liveData.statusFlags = CDemoGenerator::kMeasuringBit;
    RunFor(22.0);
    const std::vector<SampleFrame> frames = Newest(22 * 400);
    const auto cuff = [](const SampleFrame& a, const SampleFrame& b) { return a.co2 < b.co2; };
    EXPECT_GT(std::max_element(frames.begin(), frames.end(), cuff)->co2, 1500);  // above 150 mmHg
    EXPECT_EQ(frames.back().co2, 0);                                              // and let down
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [](const SampleFrame& f) { return f.o2 != 0; }));
    EXPECT_TRUE(std::all_of(frames.begin(), frames.end(),
                            [](const SampleFrame& f) { return f.ecg == 0 && f.flags == 0; }));
    const LiveData& live = g_liveData;
    EXPECT_GT(live.numerics[kParamSystolic], live.numerics[kParamMean]);
    EXPECT_GT(live.numerics[kParamMean], live.numerics[kParamDiastolic]);
    EXPECT_GT(live.numerics[kParamDiastolic], 0);
    EXPECT_EQ(live.heartRateSource, 2);
    EXPECT_GT(live.hrFromBp, 0);
    EXPECT_EQ(live.numerics[kParamHeartRate], live.hrFromBp);
}

TEST_F(DemoGenerator, FirstFourCyclesAreNotPosted)
{
    Begin(kDeviceMoval, 0x0009);
    std::vector<bool> notified;
    for (int i = 0; i < 6; ++i) {
        now += 80;
        const DemoCycle cycle = generator.Cycle(now, false);
        EXPECT_EQ(cycle.samples, 32);
        notified.push_back(cycle.notify);
    }
    EXPECT_EQ(notified, (std::vector<bool>{false, false, false, false, true, true}));
}

namespace {

class FakeDemoView : public IDemoView {
public:
    bool DemoConnected() override { return true; }
    bool ExoticHeartRates() override { return false; }
    void SetDemoLive() override { ++liveCalls; }
    std::atomic<int> liveCalls{0};
};

// Posts up to "connected", in order; the box records are freed.
std::vector<std::string> TakeUntilConnected(QueuePoster& poster)
{
    const uint32_t box = RegisterWindowMessage("CDispView_DisplayPar");
    const uint32_t reset = RegisterWindowMessage("CDispView_ResetWaveforms");
    const uint32_t status = RegisterWindowMessage("CDispView_UpdateConnectionStatus");
    std::vector<std::string> seen;
    while (auto m = poster.Take(5000)) {
        if (m->message == box) {
            auto* record = reinterpret_cast<DisplayPar*>(m->wParam);
            seen.push_back("box " + std::to_string(record->slot));
            delete record;
        } else if (m->message == reset) {
            seen.push_back("reset");
        } else if (m->message == status) {
            seen.push_back("status " + std::to_string(m->wParam));
            break;
        }
    }
    return seen;
}

}  // namespace

TEST_F(DemoGenerator, OnOffOnRunsOneGeneratorThatStartsTheViewEachTime)
{
    Begin(kDeviceMoval, 0x0009);
    QueuePoster poster;
    FakeDemoView view;
    std::atomic<bool> ended{true};
    CWriterThread thread(ended);
    RemoteConfiguration config;
    const DemoWiring wiring{&view, &config, &poster, 7, [] { return GetTickCount(); }, kSeed};
    const std::vector<std::string> start = {"box 0", "box 1", "reset", "status 2"};

    ASSERT_TRUE(StartDemoGenerator(thread, wiring));
    EXPECT_EQ(TakeUntilConnected(poster), start);
    EXPECT_FALSE(StartDemoGenerator(thread, wiring));  // never two writers
    thread.Stop();
    EXPECT_TRUE(ended.load());
    const uint32_t newData = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
    while (auto m = poster.Take(0))
        EXPECT_EQ(m->message, newData);
    ASSERT_TRUE(StartDemoGenerator(thread, wiring));
    EXPECT_EQ(TakeUntilConnected(poster), start);
    thread.Stop();
    EXPECT_EQ(view.liveCalls.load(), 2);
}
