#pragma once
// Drives the process-wide packet state machine with handlers that record
// what they are given.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "link/PacketStateMachine.h"
#include "sim/Framing.h"

struct Delivered {
    uint16_t id;
    Bytes data;
    bool operator==(const Delivered&) const = default;
};

inline void PrintTo(const Delivered& d, std::ostream* os)
{
    *os << "{id " << d.id << ", " << d.data.size() << " bytes}";
}

struct LegacyPacket {
    int format;  // 'A' or 'B'
    Bytes bytes;
    bool operator==(const LegacyPacket&) const = default;
};

class PacketHarness {
public:
    PacketHarness()
    {
        CPacketStateMachine::DestroyInstance();
        machine = CPacketStateMachine::Instance();
        machine->owner = this;
        machine->ownerFrameStart = [](void* owner) { ++static_cast<PacketHarness*>(owner)->frameStarts; };
        machine->ownerLegacyA = [](void* owner, const uint8_t* p, uint32_t n) {
            static_cast<PacketHarness*>(owner)->legacy.push_back({'A', Bytes(p, p + n)});
        };
        machine->ownerLegacyB = [](void* owner, const uint8_t* p, uint32_t n) {
            static_cast<PacketHarness*>(owner)->legacy.push_back({'B', Bytes(p, p + n)});
        };
        for (uint16_t i = 0; i < 16; ++i)
            slots[i] = Slot{this, uint16_t(16 + i)};
    }
    ~PacketHarness() { CPacketStateMachine::DestroyInstance(); }
    PacketHarness(const PacketHarness&) = delete;
    PacketHarness& operator=(const PacketHarness&) = delete;

    void RegisterAllExcept(std::initializer_list<uint16_t> skip = {})
    {
        for (uint16_t id = 16; id <= 31; ++id) {
            bool skipped = false;
            for (uint16_t s : skip)
                skipped = skipped || s == id;
            if (!skipped)
                machine->Dispatcher().Register(id, &slots[id - 16], &Record);
        }
    }

    void Feed(const Bytes& bytes) { machine->ProcessBytes(bytes.data(), uint32_t(bytes.size())); }

    struct Slot {
        PacketHarness* harness;
        uint16_t id;
    };
    static void Record(void* owner, const uint8_t* data, uint16_t length)
    {
        Slot* slot = static_cast<Slot*>(owner);
        slot->harness->messages.push_back({slot->id, Bytes(data, data + length)});
    }

    CPacketStateMachine* machine = nullptr;
    std::array<Slot, 16> slots{};
    std::vector<Delivered> messages;
    std::vector<LegacyPacket> legacy;
    int frameStarts = 0;
};

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
