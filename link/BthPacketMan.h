#pragma once
// The receive pool: twenty 1024-byte buffers inside the object, a free list
// and a first-in-first-out list of filled buffers, under one lock. The
// serial listener fills buffers, the packet processor drains them; nothing
// is allocated per chunk.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

struct BthPacket {
    static constexpr uint32_t kCapacity = 1024;
    uint32_t length = 0;
    uint8_t data[kCapacity] = {};
};

class CBthPacketMan {
public:
    static constexpr std::size_t kBufferCount = 20;

    struct Counters {
        uint32_t taken = 0;        // free buffers handed out
        uint32_t queued = 0;       // filled buffers queued
        uint32_t filledTaken = 0;  // filled buffers handed out
        uint32_t returned = 0;     // buffers back on the free list
    };

    CBthPacketMan();
    CBthPacketMan(const CBthPacketMan&) = delete;
    CBthPacketMan& operator=(const CBthPacketMan&) = delete;
    virtual ~CBthPacketMan() = default;

    // The first free buffer with its length set to 1024; null when none.
    BthPacket* GetFreeBuffer();
    // Appends to the filled list (null ignored).
    void QueueFilledBuffer(BthPacket* buffer);
    // The oldest filled buffer; null when none.
    BthPacket* GetFilledBuffer();
    // Back to the free list.
    void ReleaseBuffer(BthPacket* buffer);
    std::size_t HasFilledBuffer() const;
    std::size_t FreeCount() const;
    // Empties both lists and makes every buffer free again, in order. A
    // buffer someone still holds stays theirs: it comes back when they queue
    // or release it, so no buffer is ever handed out twice.
    void Reset();
    Counters GetCounters() const;

private:
    // A small ring of buffer indices.
    struct IndexQueue {
        std::array<uint8_t, kBufferCount> entries {};
        std::size_t head = 0;
        std::size_t count = 0;
        void Clear() { head = count = 0; }
        void Push(uint8_t index) { entries[(head + count++) % kBufferCount] = index; }
        uint8_t Pop()
        {
            const uint8_t index = entries[head];
            head = (head + 1) % kBufferCount;
            --count;
            return index;
        }
    };
    enum class Where : uint8_t { Free, Filled, Held };

    // Index of a pool buffer; -1 for anything else.
    int IndexOf(const BthPacket* buffer) const;

    mutable std::mutex m_lock;
    std::array<BthPacket, kBufferCount> m_buffers;
    std::array<Where, kBufferCount> m_where {};
    IndexQueue m_free;
    IndexQueue m_filled;
    Counters m_counters;
};
