// Arbitrary bytes through the packet state machine. The first byte chooses
// the chunk size (1..1017) and whether a resync comes every third chunk.
// Every delivered sub-message and legacy packet must lie inside the frame
// it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/ByteOrder.h"
#include "link/PacketStateMachine.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

void OnMessage(void* owner, const uint8_t* data, uint16_t length)
{
    const CCharacterStateMachine& framer = static_cast<CPacketStateMachine*>(owner)->Framer();
    const uint8_t* frameStart = framer.Buffer();
    const uint8_t* frameEnd = frameStart + framer.Length();
    Check(length > 0);
    Check(data >= frameStart + CPacketStateMachine::kHeaderLength + CPacketStateMachine::kSubHeaderLength);
    Check(data + length <= frameEnd);
    Check(ByteSum(data, length) == ReadLe32(data - 4));
}

void OnLegacy(void*, const uint8_t* packet, uint32_t length, uint32_t minLength, uint32_t maxLength)
{
    Check(length >= minLength && length <= maxLength);
    Check(ReadLe16(packet) == length);
    volatile uint32_t sink = ByteSum(packet, length);
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint32_t chunk = 1 + (data[0] & 0x7F) * 8;
    const bool resyncs = (data[0] & 0x80) != 0;

    CPacketStateMachine::DestroyInstance();
    CPacketStateMachine* machine = CPacketStateMachine::Instance();
    machine->owner = machine;
    machine->ownerLegacyA = [](void* o, const uint8_t* p, uint32_t n) { OnLegacy(o, p, n, 108, 236); };
    machine->ownerLegacyB = [](void* o, const uint8_t* p, uint32_t n) { OnLegacy(o, p, n, 164, 292); };
    for (uint32_t id = CMessageDispatcher::kLowestId; id <= CMessageDispatcher::kHighestId; ++id)
        machine->Dispatcher().Register(id, machine, &OnMessage);

    std::size_t offset = 1;
    for (uint32_t n = 0; offset < size; ++n) {
        const std::size_t take = size - offset < chunk ? size - offset : chunk;
        machine->ProcessBytes(data + offset, static_cast<uint32_t>(take));
        offset += take;
        if (resyncs && n % 3 == 2)
            machine->Resync();
    }
    CPacketStateMachine::DestroyInstance();
    return 0;
}
