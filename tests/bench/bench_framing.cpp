// Throughput of the packet state machine on a container stream and on a
// legacy packet stream, fed in 1024-byte chunks as the receive pool does.
#include <benchmark/benchmark.h>

#include "link/PacketStateMachine.h"
#include "sim/Framing.h"

namespace {

void Sink(void* owner, const uint8_t*, uint16_t length) { *static_cast<uint64_t*>(owner) += length; }

void Run(benchmark::State& state, const Bytes& stream)
{
    CPacketStateMachine::DestroyInstance();
    CPacketStateMachine* machine = CPacketStateMachine::Instance();
    uint64_t delivered = 0;
    machine->owner = &delivered;
    machine->ownerLegacyA = [](void* owner, const uint8_t*, uint32_t n) { *static_cast<uint64_t*>(owner) += n; };
    for (uint32_t id = 16; id <= 31; ++id)
        machine->Dispatcher().Register(id, &delivered, &Sink);
    for (auto _ : state) {
        for (std::size_t i = 0; i < stream.size(); i += 1024) {
            const std::size_t n = std::min<std::size_t>(1024, stream.size() - i);
            machine->ProcessBytes(stream.data() + i, uint32_t(n));
        }
    }
    benchmark::DoNotOptimize(delivered);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(stream.size()));
    CPacketStateMachine::DestroyInstance();
}

void BM_ContainerStream(benchmark::State& state)
{
    // One second of a typical remote: 40 containers of waveform and value messages.
    Bytes stream;
    for (uint32_t c = 0; c < 40; ++c) {
        Bytes wave(120), values(48);
        for (std::size_t i = 0; i < wave.size(); ++i)
            wave[i] = uint8_t(c * 31 + i * 7);
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = uint8_t(c + i);
        const Bytes frame = FrameContainer({BuildSubMessage(0x10, wave, c), BuildSubMessage(0x11, values, c)}, c);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    Run(state, stream);
}
BENCHMARK(BM_ContainerStream);

void BM_LegacyStream(benchmark::State& state)
{
    Bytes stream;
    for (uint32_t p = 0; p < 40; ++p) {
        Bytes packet(108);
        for (std::size_t i = 0; i < packet.size(); ++i)
            packet[i] = uint8_t(p * 17 + i * 5);
        const Bytes frame = StuffFrame(BuildLegacyPacket(LegacyFormat::A, packet));
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    Run(state, stream);
}
BENCHMARK(BM_LegacyStream);

}  // namespace
