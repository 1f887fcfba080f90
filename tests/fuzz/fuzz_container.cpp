// Arbitrary bytes through the packet state machine into every decoder that
// hangs off it: the id-tagged message handlers and the Tarvik legacy
// callbacks. Byte 0 chooses the chunk size, byte 1 the settings.
#include "DecodeFuzz.h"
#include "link/MonitorMessages.h"
#include "link/PacketStateMachine.h"
#include "link/TarvikPackets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::Harness harness;
    if (size < 2)
        return 0;
    const std::size_t chunk = 1 + std::size_t(data[0]) * 4;
    harness.Start(data[1]);

    CPacketStateMachine::DestroyInstance();
    CPacketStateMachine* machine = CPacketStateMachine::Instance();
    machine->owner = &harness.state;
    machine->ownerLegacyA = ProcessTarvikClassicMessage;
    machine->ownerLegacyB = ProcessTarvikPlusMessage;
    for (const auto& entry : kMonitorHandlers)
        machine->Dispatcher().Register(entry.id, &harness.state, entry.callback);

    fuzz::FeedInChunks(data + 2, size - 2, chunk, [&](const uint8_t* p, std::size_t n) {
        machine->ProcessBytes(p, uint32_t(n));
        harness.CheckInvariants();
    });
    CPacketStateMachine::DestroyInstance();
    return 0;
}
