// The link at the remote's own pace: a simulated Selvo sends its stream at
// 11,520 bytes a second (115,200 baud) over a pseudo-terminal into an open
// link for 10 s. Reported: the CPU time of the serial listener and of the
// packet processor as a share of one core (per-thread clocks), and the
// heap allocations per received chunk.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <new>
#include <string>
#include <thread>

#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/PacketStateMachine.h"
#include "link/SerialMoval.h"
#include "sim/RemoteModels.h"
#include "sim/SimRemote.h"

namespace {

std::atomic<uint64_t> g_allocations {0};

// Posts that cost nothing, so the count is the link's own.
class CountingPoster : public IMessagePoster {
public:
    bool Post(const PostedMessage&) override
    {
        ++posts;
        return true;
    }
    std::atomic<uint64_t> posts {0};
};

// The kernel's id of the thread whose name starts with `name`; 0 if none.
pid_t FindThread(const std::string& name)
{
    DIR* tasks = ::opendir("/proc/self/task");
    if (tasks == nullptr)
        return 0;
    pid_t found = 0;
    while (dirent* entry = ::readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string threadName;
        std::getline(comm, threadName);
        if (threadName.rfind(name, 0) == 0) {
            found = static_cast<pid_t>(std::atoi(entry->d_name));
            break;
        }
    }
    ::closedir(tasks);
    return found;
}

// CPU time of a thread of this process, in seconds, from its own clock.
double ThreadCpuSeconds(pid_t tid)
{
    // The per-thread CPU clock id the kernel derives from a thread id.
    const clockid_t clock = static_cast<clockid_t>((~static_cast<unsigned>(tid) << 3) | 6);
    timespec ts {};
    if (tid == 0 || ::clock_gettime(clock, &ts) != 0)
        return 0.0;
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

Bytes SelvoStream(std::size_t bytes)
{
    Bytes stream = ModelOpening(RemoteModel::Selvo);
    for (uint32_t cycle = 0; stream.size() < bytes; ++cycle) {
        const Bytes next = ModelCycle(RemoteModel::Selvo, cycle);
        stream.insert(stream.end(), next.begin(), next.end());
    }
    return stream;
}

void BM_LinkAtLineRate(benchmark::State& state)
{
    constexpr std::size_t kBytesPerSecond = 11520;
    constexpr std::size_t kPacketBytes = 128;
    constexpr int kWarmUpSeconds = 1;
    constexpr int kSeconds = 10;

    ResetLiveStore();
    ResetRemoteDataState();
    SimRemote remote;
    if (!remote.Ok()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    CountingPoster poster;
    CPacketStateMachine::DestroyInstance();
    auto link = std::make_unique<CSerialMoval>(&poster, 1);
    if (!link->ResetLinkState()) {
        state.SkipWithError("the link state was not reset");
        return;
    }
    if (link->Open(remote.DevicePath().c_str(), WindowHandle {2}, 0) != kSerialOk) {
        state.SkipWithError("cannot open the link");
        return;
    }
    const pid_t listener = FindThread("SerialThreadPro");
    const pid_t processor = FindThread("Bluetooth Packe");
    const Bytes warmUp = SelvoStream(kBytesPerSecond * kWarmUpSeconds);
    const Bytes stream = SelvoStream(kBytesPerSecond * kSeconds);

    for (auto _ : state) {
        remote.SendPaced(warmUp, kBytesPerSecond, kPacketBytes);
        const auto chunksBefore = link->Pool().GetCounters().queued;
        const uint64_t allocationsBefore = g_allocations.load();
        const double listenerBefore = ThreadCpuSeconds(listener);
        const double processorBefore = ThreadCpuSeconds(processor);
        const auto start = std::chrono::steady_clock::now();

        remote.SendPaced(stream, kBytesPerSecond, kPacketBytes);

        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double listenerCpu = ThreadCpuSeconds(listener) - listenerBefore;
        const double processorCpu = ThreadCpuSeconds(processor) - processorBefore;
        const uint64_t allocations = g_allocations.load() - allocationsBefore;
        const auto chunks = link->Pool().GetCounters().queued - chunksBefore;

        state.counters["listener_core_%"] = 100.0 * listenerCpu / wall;
        state.counters["processor_core_%"] = 100.0 * processorCpu / wall;
        state.counters["chunks"] = static_cast<double>(chunks);
        state.counters["allocs_per_chunk"] = chunks > 0 ? static_cast<double>(allocations) / chunks : 0.0;
        state.counters["bytes_per_s"] = static_cast<double>(stream.size()) / wall;
    }
    state.counters["posts"] = static_cast<double>(poster.posts.load());
    link.reset();
}

}  // namespace

BENCHMARK(BM_LinkAtLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Every heap allocation of the process counts; during the measured window
// only the link's two threads are busy.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
