#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/LiveData.h"
#include "view/EventQueue.h"

namespace {

using Ring = std::array<SampleFrame, kSampleRingSize>;

CEcgEvent Event(uint8_t code, int16_t limit)
{
    CEcgEvent event;
    event.code = code;
    event.limitValue = limit;
    return event;
}

// Codes and limits of the events stamped on frames [start, start + count).
std::vector<int> Stamped(const Ring& ring, int32_t start, int32_t count)
{
    std::vector<int> found;
    for (int32_t i = 0; i < count; ++i) {
        const CEcgEvent& event = ring[(start + i) & kSampleRingMask].event;
        if (event.code != 0)
            found.push_back(event.code * 1000 + event.limitValue);
    }
    return found;
}

}  // namespace

TEST(EventQueue, EventsWaitForFreePublishedFramesAndLandInOrder)
{
    const struct {
        const char* name;
        int32_t read, write;     // when the events are placed
        std::vector<int32_t> taken;  // frames (from read) already carrying an event
        int events;
        int32_t consumed;        // frames then consumed from read
        std::size_t pendingAfterPlace;
    } cases[] = {
        {"empty ring", 100, 100, {}, 3, 5, 3},
        {"one free frame", 100, 101, {}, 3, 5, 2},
        {"taken frames skipped", 100, 104, {0, 2}, 3, 5, 1},
        {"across the wrap", 32766, 1, {}, 2, 4, 0},
        {"more than the frames consumed", 7, 7, {}, 4, 2, 4},
    };
    for (const auto& c : cases) {
        auto ring = std::make_unique<Ring>();
        for (const int32_t t : c.taken)
            (*ring)[(c.read + t) & kSampleRingMask].event.code = CEcgEvent::kPrint;
        CEventQueue queue;
        std::vector<int> placed;
        for (int i = 0; i < c.events; ++i) {
            const CEcgEvent event = Event(uint8_t(0x80 | i), int16_t(10 + i));
            queue.Place(*ring, c.read, c.write, event);
            placed.push_back(event.code * 1000 + event.limitValue);
        }
        EXPECT_EQ(queue.Pending(), c.pendingAfterPlace) << c.name;
        queue.DrainInto(*ring, c.read, c.consumed);

        std::vector<int> landed = Stamped(*ring, c.read, kSampleRingSize);
        std::erase(landed, CEcgEvent::kPrint * 1000);
        const std::size_t waiting = queue.Pending();
        EXPECT_EQ(landed.size() + waiting, placed.size()) << c.name;  // none lost
        placed.resize(landed.size());
        EXPECT_EQ(landed, placed) << c.name;  // in order
        for (const int32_t t : c.taken)
            EXPECT_EQ((*ring)[(c.read + t) & kSampleRingMask].event.code, CEcgEvent::kPrint) << c.name;
        EXPECT_EQ(queue.TakeDropped(), 0u) << c.name;
    }
}

TEST(EventQueue, BeyondItsBoundTheOldestAreDroppedAndCounted)
{
    auto ring = std::make_unique<Ring>();
    CEventQueue queue;
    const int total = static_cast<int>(CEventQueue::kCapacity) + 6;
    for (int i = 0; i < total; ++i)
        queue.Place(*ring, 0, 0, Event(CEcgEvent::kMarker, int16_t(i)));
    EXPECT_EQ(queue.Pending(), CEventQueue::kCapacity);
    EXPECT_EQ(queue.TakeDropped(), 6u);
    EXPECT_EQ(queue.TakeDropped(), 0u);

    queue.DrainInto(*ring, 0, total);
    EXPECT_EQ(queue.Pending(), 0u);
    for (int i = 0; i < static_cast<int>(CEventQueue::kCapacity); ++i)
        EXPECT_EQ((*ring)[i].event.limitValue, 6 + i) << i;
}
