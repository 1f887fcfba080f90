// The view's cost on the UI thread while a remote streams: a Tarvik Plus
// with four strips (ECG, SpO2, respiration, O2) at 1920 x 1080, fed 400
// frames a second in blocks of 32 through new-data posts, painting as the
// window system asks. Reports the UI thread's CPU time over wall time, and
// the whole process's, once the view has settled (its first paints make
// the strip layers and fill the boxes).
//
//   BENCH_VIEW_SECONDS   the measured time (default 30)
//   BENCH_VIEW_WARMUP    seconds streamed before it (default 2)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QPaintEvent>
#include <cmath>
#include <cstdlib>
#include <sys/resource.h>

#include "app/QuorinAppCore.h"
#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "platform/Prompter.h"
#include "platform/qt/QtMessagePoster.h"
#include "view/qt/QuorinView.h"

namespace {

double CpuSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The view's paints and the pixels they composed.
class PaintCounter : public QObject {
public:
    void Reset()
    {
        count = 0;
        pixels = 0;
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += int64_t(r.width()) * r.height();
        }
        return false;
    }
    int64_t count = 0;
    int64_t pixels = 0;
};

void WriteBlock(int& sample)
{
    for (int i = 0; i < 32; ++i, ++sample) {
        SampleFrame& frame = BeginRingWrite();
        const double t = sample / 400.0;
        frame.ecg = int16_t(1200 * std::exp(-std::pow(std::fmod(t, 0.5) - 0.1, 2) / 0.0002));
        frame.resp = int16_t(1500 * std::sin(2 * M_PI * t / 3.0));
        frame.pleth = uint8_t(128 + 100 * std::sin(2 * M_PI * t * 2));
        frame.o2 = int16_t(1000 + 400 * std::sin(2 * M_PI * t / 3.0));
        frame.flags = SampleFrame::kFlagEcgValid | (sample % 200 == 20 ? SampleFrame::kFlagBeat : 0);
        CommitRingWrite();
    }
}

void BM_ViewStreaming(benchmark::State& state)
{
    const char* seconds = std::getenv("BENCH_VIEW_SECONDS");
    const int runMs = (seconds != nullptr ? std::atoi(seconds) : 30) * 1000;
    const char* warmup = std::getenv("BENCH_VIEW_WARMUP");
    const int warmupMs = (warmup != nullptr ? std::atoi(warmup) : 2) * 1000;

    CQuorinAppCore app({});
    app.SetDefaultSettings();
    app.m_config = app.m_factoryConfig;
    app.m_config.showSpO2 = 1;
    app.m_config.showResp = 1;
    app.m_config.showResp2 = 1;
    app.m_config.showO2 = 1;
    app.m_config.maxEcgWaveforms = 1;
    app.m_config.qrsTone = 0;
    // No port: the start-up connection only reports that, to the prompter
    // rather than in a box that would stay open over the view.
    app.m_config.portNum = 0;
    app.m_config.winBluetooth = 0;
    ResetLiveStore();

    CQtMessagePoster poster;
    CScriptedPrompter prompter;
    ViewServices services;
    services.poster = &poster;
    services.prompter = &prompter;
    services.wait = [](uint32_t) {};
    CQuorinView view(app, services);
    view.resize(1920, 1080);
    view.show();
    view.OnInitialUpdate();
    LiveData& live = g_liveData;
    live.deviceKind = kDeviceTarvikPlus;
    live.featureBits = kFeatureEcg | kFeatureResp | kFeatureSpO2 | kFeatureTemp | kFeatureO2;
    live.sampleRate = 400;
    live.lastBeatOffset = 1;
    view.ResetWaveformStrips();
    view.LayoutNumerics();
    view.m_connection.live = 1;

    int sample = 0;
    QTimer feed;
    feed.setTimerType(Qt::PreciseTimer);
    QObject::connect(&feed, &QTimer::timeout, [&] {
        WriteBlock(sample);
        PostedMessage post;
        post.target = view.GetSafeHwnd();
        post.message = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
        post.wParam = DefaultComWParam(kComNewData, kNewDataMessages);
        (void)poster.Post(post);
    });

    PaintCounter paints;
    view.installEventFilter(&paints);
    // (An application's quit would close the view.)
    auto run = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    feed.start(80);  // 32 frames every 80 ms: 400 a second
    run(warmupMs);

    for (auto _ : state) {
        const int sampleStart = sample;
        paints.Reset();
        QElapsedTimer wall;
        const double cpuStart = CpuSeconds(RUSAGE_THREAD);
        const double processStart = CpuSeconds(RUSAGE_SELF);
        wall.start();
        run(runMs);
        const double cpu = CpuSeconds(RUSAGE_THREAD) - cpuStart;
        const double process = CpuSeconds(RUSAGE_SELF) - processStart;
        const double elapsed = wall.elapsed() / 1000.0;
        state.SetIterationTime(elapsed);
        state.counters["ui_cpu_percent"] = 100.0 * cpu / elapsed;
        // With the threads that Qt's drawing hands large fills to.
        state.counters["process_cpu_percent"] = 100.0 * process / elapsed;
        state.counters["frames"] = sample - sampleStart;
        state.counters["paints"] = double(paints.count);
        state.counters["painted_mpixels"] = double(paints.pixels) / 1e6;
    }
    feed.stop();
    view.removeEventFilter(&paints);
}
BENCHMARK(BM_ViewStreaming)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
