#include "link/BthPacketMan.h"

CBthPacketMan::CBthPacketMan()
{
    Reset();
    m_counters = {};
}

int CBthPacketMan::IndexOf(const BthPacket* buffer) const
{
    if (buffer == nullptr)
        return -1;
    for (std::size_t i = 0; i < kBufferCount; ++i)
        if (&m_buffers[i] == buffer)
            return static_cast<int>(i);
    return -1;
}

BthPacket* CBthPacketMan::GetFreeBuffer()
{
    std::lock_guard lock(m_lock);
    if (m_free.count == 0)
        return nullptr;
    const uint8_t index = m_free.Pop();
    m_where[index] = Where::Held;
    ++m_counters.taken;
    m_buffers[index].length = BthPacket::kCapacity;
    return &m_buffers[index];
}

void CBthPacketMan::QueueFilledBuffer(BthPacket* buffer)
{
    std::lock_guard lock(m_lock);
    const int index = IndexOf(buffer);
    if (index < 0 || m_where[index] != Where::Held)
        return;  // not one of ours, or not handed out
    m_where[index] = Where::Filled;
    m_filled.Push(static_cast<uint8_t>(index));
    ++m_counters.queued;
}

BthPacket* CBthPacketMan::GetFilledBuffer()
{
    std::lock_guard lock(m_lock);
    if (m_filled.count == 0)
        return nullptr;
    const uint8_t index = m_filled.Pop();
    m_where[index] = Where::Held;
    ++m_counters.filledTaken;
    return &m_buffers[index];
}

void CBthPacketMan::ReleaseBuffer(BthPacket* buffer)
{
    std::lock_guard lock(m_lock);
    const int index = IndexOf(buffer);
    if (index < 0 || m_where[index] != Where::Held)
        return;  // a second release would put it on the list twice
    m_where[index] = Where::Free;
    m_free.Push(static_cast<uint8_t>(index));
    ++m_counters.returned;
}

std::size_t CBthPacketMan::HasFilledBuffer() const
{
    std::lock_guard lock(m_lock);
    return m_filled.count;
}

std::size_t CBthPacketMan::FreeCount() const
{
    std::lock_guard lock(m_lock);
    return m_free.count;
}

void CBthPacketMan::Reset()
{
    std::lock_guard lock(m_lock);
    m_free.Clear();
    m_filled.Clear();
    for (std::size_t i = 0; i < kBufferCount; ++i) {
        if (m_where[i] == Where::Held)
            continue;
        m_where[i] = Where::Free;
        m_free.Push(static_cast<uint8_t>(i));
    }
}

CBthPacketMan::Counters CBthPacketMan::GetCounters() const
{
    std::lock_guard lock(m_lock);
    return m_counters;
}
