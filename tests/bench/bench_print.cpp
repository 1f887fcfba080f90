// What a print costs the UI thread: the capture of the stretch, one page's
// layout, and the episode's bytes (written on a worker, measured here on a
// file that keeps nothing).
#include <benchmark/benchmark.h>

#include <vector>

#include "recording/PrintEpisode.h"
#include "view/PrintCapture.h"
#include "view/PrintReport.h"

namespace {

std::vector<SampleFrame> Frames(std::size_t count)
{
    std::vector<SampleFrame> frames(count);
    for (std::size_t i = 0; i < count; ++i) {
        frames[i].ecg = int16_t(i % 400 < 8 ? 900 : 0);
        frames[i].flags = uint8_t(i % 400 == 0 ? SampleFrame::kFlagBeat : 0);
        frames[i].co2Valid = 1;
        frames[i].co2 = int16_t(i % 1600);
    }
    return frames;
}

void BM_CapturePrintData(benchmark::State& state)
{
    const std::vector<SampleFrame> ring = Frames(kSampleRingSize);
    std::vector<SampleFrame> snapshot(kPrintFrameCount);
    PrintCaptureInput in;
    in.sampleRate = 500;
    in.twoPageReport = true;
    in.wrapped = true;
    in.readIndex = in.writeIndex = 30000;
    CPrintCapture capture;
    const CEcgEvent event;
    for (auto _ : state) {
        capture.Capture(CPrintCapture::Ring(ring.data(), kSampleRingSize),
                        CPrintCapture::Snapshot(snapshot.data(), kPrintFrameCount), in, event);
        benchmark::DoNotOptimize(snapshot.data());
    }
    state.SetItemsProcessed(state.iterations() * kPrintFrameCount);
}
BENCHMARK(BM_CapturePrintData)->Unit(benchmark::kMillisecond);

void BM_BuildPrintPage(benchmark::State& state)
{
    const std::vector<SampleFrame> frames = Frames(9600);
    RemoteConfiguration config;
    CPatientInfo patient;
    PrintReportInput in;
    in.config = &config;
    in.patient = &patient;
    in.frames = frames.data();
    in.frameCount = 9600;
    in.printCount = 9600;
    in.rMarker = true;
    in.co2Trace = true;
    const PrintTextWidth width = [](PrintFont, const std::string& text) { return int32_t(text.size()) * 150; };
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildPrintPage(in, width));
}
BENCHMARK(BM_BuildPrintPage)->Unit(benchmark::kMillisecond);

class NullFile : public IRecordFile {
public:
    bool WriteAt(uint64_t, const uint8_t* data, std::size_t, int&) override
    {
        benchmark::DoNotOptimize(data);
        return true;
    }
    const std::string& Path() const override { return m_path; }

private:
    std::string m_path = "null";
};

void BM_WriteEpisode(benchmark::State& state)
{
    std::vector<SampleFrame> frames = Frames(kPrintFrameCount);
    NullFile file;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            CQre3File::WriteEpisode(file, QreFileHeader{}, frames.data(), kPrintFrameCount, true, true));
    state.SetItemsProcessed(state.iterations() * kPrintFrameCount);
}
BENCHMARK(BM_WriteEpisode)->Unit(benchmark::kMillisecond);

}  // namespace
