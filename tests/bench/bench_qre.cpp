// The recording file's per-frame and per-episode costs: a sample record for
// every frame (500 a second from a Moval) and a header at each start.
#include <benchmark/benchmark.h>

#include "recording/QreFile.h"

namespace {

void BM_EncodeSampleRecord(benchmark::State& state)
{
    SampleFrame frame;
    frame.flags = SampleFrame::kFlagBeat;
    frame.co2Valid = 1;
    uint8_t out[kQreSampleRecordSize];
    int16_t i = 0;
    for (auto _ : state) {
        frame.ecg = i;
        frame.co2 = static_cast<int16_t>(i++ & 0x7FF);
        EncodeSampleRecord(frame, out);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeSampleRecord);

void BM_FillHeader(benchmark::State& state)
{
    RemoteConfiguration config;
    config.clinic = "Hill Veterinary Clinic";
    CPatientInfo patient;
    patient.name = "M\u00FCller";
    LiveData live;
    QreFileHeader header;
    const COleDate start = COleDate::FromDate(2024, 5, 6, 7, 8, 9);
    for (auto _ : state) {
        CQre3File::FillHeader(patient, header.data(), start, false, config, live);
        benchmark::DoNotOptimize(header.data());
    }
}
BENCHMARK(BM_FillHeader);

} // namespace
