// Decoding throughput: one generated minute of each remote model through
// the path it takes in the program (the packet state machine for containers
// and legacy packets, the stream decoders for raw Tarvik and Moval
// streams), fed in 1024-byte chunks as the receive pool does, with the ECG
// chain and every post. Bytes per second; a 115,200-baud link carries
// 11,520.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/MonitorMessages.h"
#include "link/MovalStream.h"
#include "link/PacketStateMachine.h"
#include "link/TarvikPackets.h"
#include "sim/ModelStreams.h"

namespace {

class CountingPoster : public IMessagePoster {
public:
    bool Post(const PostedMessage&) override
    {
        ++posts;
        return true;
    }
    uint64_t posts = 0;
};

enum class Path { PacketMachine, TarvikStream, MovalStream };

void Run(benchmark::State& bench, RemoteModel model, Path path)
{
    const Bytes stream = ModelStream(model, 60.0);
    CountingPoster poster;
    DecodeState state;
    state.poster = &poster;
    state.targetWindow = 1;
    state.defaultComMsg = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
    state.invalidateMsg = RegisterWindowMessage("CDispView_Invalidate");
    state.log = [](const char*, const std::string&) {};
    ResetLiveStore();
    ResetEcgChainState();
    ResetRemoteDataState();
    ResetDecodeState(state);
    if (model == RemoteModel::Moval) {
        g_liveData.deviceKind = kDeviceMoval;
        g_liveData.sampleRate = 500;
    }

    CPacketStateMachine::DestroyInstance();
    CPacketStateMachine* machine = CPacketStateMachine::Instance();
    machine->owner = &state;
    machine->ownerLegacyA = ProcessTarvikClassicMessage;
    machine->ownerLegacyB = ProcessTarvikPlusMessage;
    for (const auto& entry : kMonitorHandlers)
        machine->Dispatcher().Register(entry.id, &state, entry.callback);

    for (auto _ : bench) {
        for (std::size_t i = 0; i < stream.size(); i += 1024) {
            const std::size_t n = std::min<std::size_t>(1024, stream.size() - i);
            const uint8_t* chunk = stream.data() + i;
            switch (path) {
            case Path::PacketMachine: machine->ProcessBytes(chunk, uint32_t(n)); break;
            case Path::TarvikStream: EcgTarvikStream(state, chunk, n); break;
            case Path::MovalStream: EcgMovalStream(state, chunk, n); break;
            }
        }
    }
    benchmark::DoNotOptimize(poster.posts);
    bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(stream.size()));
    // Samples per second of each waveform channel, in units of the remote's own rate.
    const double samples = model == RemoteModel::Moval ? 60.0 * 500 : 60.0 * 400;
    bench.counters["xRealTime"] = benchmark::Counter(double(bench.iterations()) * 60.0, benchmark::Counter::kIsRate);
    bench.counters["samples/s"] =
        benchmark::Counter(double(bench.iterations()) * samples, benchmark::Counter::kIsRate);
    CPacketStateMachine::DestroyInstance();
}

void BM_SelvoContainers(benchmark::State& s) { Run(s, RemoteModel::Selvo, Path::PacketMachine); }
void BM_BrindleContainers(benchmark::State& s) { Run(s, RemoteModel::Brindle, Path::PacketMachine); }
void BM_TarvikClassicLegacy(benchmark::State& s) { Run(s, RemoteModel::TarvikClassic, Path::PacketMachine); }
void BM_TarvikPlusLegacy(benchmark::State& s) { Run(s, RemoteModel::TarvikPlus, Path::PacketMachine); }
void BM_TarvikClassicStream(benchmark::State& s) { Run(s, RemoteModel::TarvikClassic, Path::TarvikStream); }
void BM_TarvikPlusStream(benchmark::State& s) { Run(s, RemoteModel::TarvikPlus, Path::TarvikStream); }
void BM_MovalStream(benchmark::State& s) { Run(s, RemoteModel::Moval, Path::MovalStream); }

} // namespace

BENCHMARK(BM_SelvoContainers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrindleContainers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TarvikClassicLegacy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TarvikPlusLegacy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TarvikClassicStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TarvikPlusStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovalStream)->Unit(benchmark::kMillisecond);
