#pragma once
// Events the view stamps on the sample ring (the remote's marks, limit and
// apnea alarms). A frame holds one event, and only a published frame not yet
// consumed is the view's to stamp: the link resets a frame when it writes
// it. An event that finds no such free frame waits here and lands, in
// order, on the next frames the view consumes that carry none.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>

#include "link/LiveData.h"

class CEventQueue {
public:
    // Beyond this many waiting events the oldest is dropped and counted.
    static constexpr std::size_t kCapacity = 64;

    using Ring = std::span<SampleFrame, kSampleRingSize>;

    // Stamps the event on the first free frame from `read` up to `write`
    // (published, not consumed), after any that wait; else it waits.
    void Place(Ring ring, int32_t read, int32_t write, const CEcgEvent& event);

    // Called before the view consumes `count` frames from `start`: the
    // waiting events go, in order, into those of them without an event.
    void DrainInto(Ring ring, int32_t start, int32_t count);

    std::size_t Pending() const { return m_pending.size(); }

    // Events dropped since the last call (for the session log).
    uint64_t TakeDropped();

private:
    std::deque<CEcgEvent> m_pending;
    uint64_t m_dropped = 0;
};
