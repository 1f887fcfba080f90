#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "link/BthPacketMan.h"

TEST(ReceivePool, HandsOutTwentyBuffersThenNoneAndKeepsFilledOrder)
{
    CBthPacketMan pool;
    std::vector<BthPacket*> taken;
    std::set<BthPacket*> distinct;
    for (std::size_t i = 0; i < CBthPacketMan::kBufferCount; ++i) {
        BthPacket* b = pool.GetFreeBuffer();
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->length, BthPacket::kCapacity);
        taken.push_back(b);
        distinct.insert(b);
    }
    EXPECT_EQ(distinct.size(), CBthPacketMan::kBufferCount);
    EXPECT_EQ(pool.GetFreeBuffer(), nullptr);

    for (std::size_t i = 0; i < taken.size(); ++i) {
        taken[i]->length = static_cast<uint32_t>(i + 1);
        pool.QueueFilledBuffer(taken[i]);
    }
    EXPECT_EQ(pool.HasFilledBuffer(), CBthPacketMan::kBufferCount);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        BthPacket* b = pool.GetFilledBuffer();
        ASSERT_EQ(b, taken[i]) << "first in, first out";
        EXPECT_EQ(b->length, i + 1);
        pool.ReleaseBuffer(b);
    }
    EXPECT_EQ(pool.GetFilledBuffer(), nullptr);
    EXPECT_EQ(pool.FreeCount(), CBthPacketMan::kBufferCount);
    const auto counters = pool.GetCounters();
    EXPECT_EQ(counters.taken, 20u);
    EXPECT_EQ(counters.queued, 20u);
    EXPECT_EQ(counters.filledTaken, 20u);
    EXPECT_EQ(counters.returned, 20u);
}

TEST(ReceivePool, NoBufferIsEverHandedOutTwice)
{
    CBthPacketMan pool;
    BthPacket* a = pool.GetFreeBuffer();
    ASSERT_NE(a, nullptr);
    pool.ReleaseBuffer(a);
    pool.ReleaseBuffer(a);  // a second release is ignored
    pool.QueueFilledBuffer(a);  // so is queueing a buffer nobody holds
    BthPacket foreign;
    pool.ReleaseBuffer(&foreign);
    pool.QueueFilledBuffer(&foreign);
    pool.QueueFilledBuffer(nullptr);
    EXPECT_EQ(pool.HasFilledBuffer(), 0u);
    EXPECT_EQ(pool.FreeCount(), CBthPacketMan::kBufferCount);

    std::set<BthPacket*> seen;
    while (BthPacket* b = pool.GetFreeBuffer())
        EXPECT_TRUE(seen.insert(b).second);
    EXPECT_EQ(seen.size(), CBthPacketMan::kBufferCount);
}

TEST(ReceivePool, ResetFreesAllButWhatIsStillHeld)
{
    CBthPacketMan pool;
    BthPacket* held = pool.GetFreeBuffer();
    BthPacket* queued = pool.GetFreeBuffer();
    pool.QueueFilledBuffer(queued);
    pool.Reset();
    EXPECT_EQ(pool.HasFilledBuffer(), 0u) << "queued data of the old connection is dropped";
    EXPECT_EQ(pool.FreeCount(), CBthPacketMan::kBufferCount - 1);
    std::set<BthPacket*> free;
    while (BthPacket* b = pool.GetFreeBuffer())
        free.insert(b);
    EXPECT_EQ(free.count(held), 0u) << "a held buffer is not free while its holder still has it";
    EXPECT_EQ(free.count(queued), 1u);
    for (BthPacket* b : free)
        pool.ReleaseBuffer(b);
    pool.ReleaseBuffer(held);  // the holder gives it back later
    EXPECT_EQ(pool.FreeCount(), CBthPacketMan::kBufferCount);
}
