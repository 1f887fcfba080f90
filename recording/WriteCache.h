#pragma once
// Gathers the worker's small appends into writes of up to 1024 bytes. The
// bytes remember which file they belong to, so they can never be flushed
// into the next one.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

class CNorqWriteCache {
public:
    static constexpr std::size_t kCapacity = 1024;

    bool Fits(std::size_t size) const { return size <= kCapacity - m_fill; }
    void Add(uint32_t generation, const uint8_t* data, std::size_t size)
    {
        m_generation = generation;
        if (size > 0)
            std::memcpy(m_buffer.data() + m_fill, data, size);
        m_fill += size;
    }
    void Clear() { m_fill = 0; }

    const uint8_t* Data() const { return m_buffer.data(); }
    std::size_t Fill() const { return m_fill; }
    uint32_t Generation() const { return m_generation; }

private:
    std::array<uint8_t, kCapacity> m_buffer{};
    std::size_t m_fill = 0;
    uint32_t m_generation = 0;
};
