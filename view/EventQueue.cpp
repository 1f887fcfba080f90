#include "view/EventQueue.h"

void CEventQueue::Place(Ring ring, int32_t read, int32_t write, const CEcgEvent& event)
{
    if (m_pending.size() >= kCapacity) {
        // The newest events tell what happens now; the oldest go.
        m_pending.pop_front();
        ++m_dropped;
    }
    m_pending.push_back(event);
    DrainInto(ring, read, RingUnreadCount(write, read));
}

void CEventQueue::DrainInto(Ring ring, int32_t start, int32_t count)
{
    for (int32_t i = 0; i < count && !m_pending.empty(); ++i) {
        CEcgEvent& slot = ring[static_cast<std::size_t>((start + i) & kSampleRingMask)].event;
        if (slot.code != 0)
            continue;
        slot = m_pending.front();
        m_pending.pop_front();
    }
}

uint64_t CEventQueue::TakeDropped()
{
    const uint64_t dropped = m_dropped;
    m_dropped = 0;
    return dropped;
}
