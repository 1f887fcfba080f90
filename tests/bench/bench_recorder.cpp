// What a live recording costs: frames encoded as 4-byte sample records and
// handed to WriteData, the queue, the worker and its cache into a real file,
// with an event for the journal every six seconds of frames and the file's
// end reported, the program held to one core. Counters: every operator new
// per record (the drain after each batch included) and the longest single
// WriteData call.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <sched.h>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "recording/NorqFileRecorder.h"
#include "recording/QreFile.h"

namespace {
std::atomic<uint64_t> g_allocations{0};
}

// GCC takes the malloc/free pair inside these replacements for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

constexpr int kBatch = 10000; // about 20 s of a live recording
constexpr uint32_t kEventEvery = 2400;

std::string TempFolder()
{
    char pattern[] = "/tmp/quorin_bench_recorder_XXXXXX";
    return mkdtemp(pattern) != nullptr ? std::string(pattern) : std::string("/tmp");
}

void OnOneCore()
{
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);
}

void BM_RecordsThroughTheWorker(benchmark::State& state)
{
    OnOneCore();
    const std::string folder = TempFolder();
    {
        CNorqFileRecorder recorder(nullptr, PosixRecordFileSystem(), 1);
        CEvent drained;
        recorder.SetRenameReport([&](const CNorqFileRecorder::RenameReport&) { drained.Set(); });
        CEvent ended;
        recorder.SetFileEndReport([&](const CNorqFileRecorder::FileEndReport&) { ended.Set(); });
        const QreEventRecord event{'#'};
        const auto drain = [&] {
            recorder.RenameFile("/q/x", "/q/y");
            if (!drained.Wait(60000))
                state.SkipWithError("the worker did not drain");
        };
        const std::vector<uint8_t> header(kQreHeaderSize, 0);
        if (!recorder.OpenFile(folder + "/bench.qre") || !recorder.WriteHeader(header.data())) {
            state.SkipWithError("cannot open the file");
            return;
        }
        uint32_t n = 0;
        const auto batch = [&](std::chrono::nanoseconds& longest) {
            for (int i = 0; i < kBatch; ++i, ++n) {
                SampleFrame frame;
                frame.ecg = static_cast<int16_t>(n);
                frame.flags = static_cast<uint8_t>(n & 3);
                frame.co2 = static_cast<int16_t>(n & 0x7FF);
                frame.co2Valid = static_cast<uint8_t>(n & 1);
                const auto start = std::chrono::steady_clock::now();
                uint8_t record[kQreSampleRecordSize];
                EncodeSampleRecord(frame, record);
                bool queued = recorder.WriteData(record, kQreSampleRecordSize);
                if (n % kEventEvery == 0)
                    queued = recorder.WriteJournal(event.data(), int32_t(event.size())) && queued;
                const auto took = std::chrono::steady_clock::now() - start;
                if (took > longest)
                    longest = took;
                benchmark::DoNotOptimize(queued);
            }
            drain();
        };
        std::chrono::nanoseconds warmUp{0};
        batch(warmUp); // the spare datums and queue capacity are made here

        std::chrono::nanoseconds longest{0};
        const uint64_t allocationsBefore = g_allocations.load();
        uint64_t records = 0;
        for (auto _ : state) {
            batch(longest);
            records += kBatch;
        }
        const uint64_t allocations = g_allocations.load() - allocationsBefore;
        state.counters["records_per_s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
        state.counters["allocs_per_record"] = static_cast<double>(allocations) / static_cast<double>(records);
        state.counters["longest_WriteData_us"] = static_cast<double>(longest.count()) / 1000.0;
        recorder.CloseFile();
        if (!ended.Wait(60000))
            state.SkipWithError("the file's end was not reported");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RecordsThroughTheWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
