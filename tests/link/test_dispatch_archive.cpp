#include <gtest/gtest.h>

#include <thread>

#include "PacketHarness.h"
#include "link/MessageDispatcher.h"
#include "link/PacketArchive.h"
#include "platform/Event.h"

namespace {

int g_calls[2];
void First(void*, const uint8_t*, uint16_t) { ++g_calls[0]; }
void Second(void*, const uint8_t*, uint16_t) { ++g_calls[1]; }

TEST(MessageDispatcher, RegistersOnlyIds16To31AndReplacesOnReRegistration)
{
    CMessageDispatcher dispatcher;
    int owner = 0;
    for (uint32_t id : {0u, 15u, 32u, 0x8010u, 0xFFFFFFFFu}) {
        dispatcher.Register(id, &owner, &First);
        EXPECT_EQ(dispatcher.Lookup(id), nullptr) << id;
    }
    for (uint32_t id = 16; id <= 31; ++id)
        EXPECT_EQ(dispatcher.Lookup(id), nullptr);

    dispatcher.Register(16, &owner, &First);
    dispatcher.Register(31, &owner, &First);
    dispatcher.Register(31, &owner, &Second);
    ASSERT_NE(dispatcher.Lookup(16), nullptr);
    ASSERT_NE(dispatcher.Lookup(31), nullptr);
    EXPECT_EQ(dispatcher.Lookup(17), nullptr);
    EXPECT_EQ(dispatcher.Lookup(31)->Id(), 31u);
    EXPECT_EQ(dispatcher.Lookup(31)->Owner(), &owner);
    g_calls[0] = g_calls[1] = 0;
    dispatcher.Lookup(31)->Callback()(&owner, nullptr, 0);
    EXPECT_EQ(g_calls[0], 0);
    EXPECT_EQ(g_calls[1], 1);
}

TEST(PacketArchive, KeepsCopiesOfTheNewestTwenty)
{
    CNorqSerialDataPacketArchive archive;
    for (uint32_t i = 0; i < 25; ++i) {
        Bytes bytes(i + 1, uint8_t(i));
        ASSERT_TRUE(AddToArchive(&archive, 100 + i, bytes.data(), uint32_t(bytes.size())));
        bytes.assign(bytes.size(), 0xEE);  // the archive holds its own copy
    }
    const auto kept = archive.Snapshot();
    ASSERT_EQ(kept.size(), 20u);
    for (uint32_t k = 0; k < 20; ++k) {
        const uint32_t i = k + 5;
        EXPECT_EQ(kept[k].tag, 100 + i);
        EXPECT_EQ(kept[k].bytes, Bytes(i + 1, uint8_t(i)));
    }
}

TEST(PacketArchive, RefusesMissingDataAndImpossibleLengths)
{
    CNorqSerialDataPacketArchive archive;
    Bytes big(CNorqSerialDataPacketArchive::kMaxLength + 1, 0x5A);
    EXPECT_FALSE(AddToArchive(nullptr, 0, big.data(), 1));
    EXPECT_FALSE(AddToArchive(&archive, 0, nullptr, 1));
    EXPECT_FALSE(AddToArchive(&archive, 0, big.data(), 0));
    EXPECT_FALSE(AddToArchive(&archive, 0, big.data(), uint32_t(big.size())));
    EXPECT_EQ(archive.Size(), 0u);
    EXPECT_TRUE(AddToArchive(&archive, 0, big.data(), CNorqSerialDataPacketArchive::kMaxLength));
    EXPECT_EQ(archive.Size(), 1u);
}

TEST(PacketArchive, EveryChunkIsKeptTaggedWithItsCount)
{
    PacketHarness h;
    h.RegisterAllExcept();
    const Bytes frame = FrameContainer({BuildSubMessage(0x10, {1, 2, 3})});
    for (std::size_t i = 0; i < frame.size(); i += 4)
        h.Feed(Bytes(frame.begin() + i, frame.begin() + std::min(frame.size(), i + 4)));
    h.Feed({});  // nothing to keep
    const auto kept = h.machine->Archive().Snapshot();
    const std::size_t chunks = (frame.size() + 3) / 4;
    ASSERT_EQ(kept.size(), std::min<std::size_t>(chunks, 20));
    Bytes joined;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        EXPECT_EQ(kept[k].tag, chunks - kept.size() + k);
        joined.insert(joined.end(), kept[k].bytes.begin(), kept[k].bytes.end());
    }
    EXPECT_EQ(joined, Bytes(frame.end() - joined.size(), frame.end()));
    EXPECT_EQ(h.machine->ChunkCount(), chunks);
    EXPECT_EQ(h.messages.size(), 1u);
}

TEST(PacketMachine, OneInstanceUntilDestroyed)
{
    CPacketStateMachine::DestroyInstance();
    CPacketStateMachine* first = CPacketStateMachine::Instance();
    EXPECT_EQ(CPacketStateMachine::Instance(), first);
    first->Dispatcher().Register(0x10, first, &First);
    CPacketStateMachine::DestroyInstance();
    CPacketStateMachine* second = CPacketStateMachine::Instance();
    // A fresh machine: no handlers, detecting.
    EXPECT_EQ(second->Dispatcher().Lookup(0x10), nullptr);
    EXPECT_EQ(second->DetectedMode(), CPacketStateMachine::kDetecting);
    CPacketStateMachine::DestroyInstance();
}

TEST(PacketMachine, ResyncKeepsThePendingBytesAndDetectsAfresh)
{
    PacketHarness h;
    h.RegisterAllExcept();
    Bytes partial = FrameContainer({BuildSubMessage(0x10, {1, 2, 3, 4})});
    partial.resize(partial.size() - 3);
    h.Feed(Concat({FrameContainer({BuildSubMessage(0x11, {1})}), partial}));
    ASSERT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kContainer);
    const std::size_t archivedBefore = h.machine->Framer().Archive().Size();

    h.machine->Resync();
    EXPECT_TRUE(h.machine->ResyncPending());
    const Bytes a = BuildLegacyPacket(LegacyFormat::A, Bytes(108, 0x31));
    h.Feed(StuffFrame(a));
    EXPECT_FALSE(h.machine->ResyncPending());
    EXPECT_EQ(h.machine->DetectedMode(), CPacketStateMachine::kLegacyA);
    EXPECT_EQ(h.machine->ChunkCount(), 1u);
    EXPECT_EQ(h.legacy, (std::vector<LegacyPacket>{{'A', a}}));
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x11, {1}}}));
    // The abandoned bytes went to the framer's archive, then the packet.
    const auto archived = h.machine->Framer().Archive().Snapshot();
    ASSERT_EQ(archived.size(), archivedBefore + 2);
    EXPECT_EQ(archived[archivedBefore].Length(), 14u + 12u + 1u);
    EXPECT_EQ(archived.back().bytes, a);
}

// The port is opened (and Resync called) on another thread than the one
// decoding: a dispatch in progress ends after its current sub-message and
// the next chunk starts detection afresh.
TEST(PacketMachine, ResyncFromAnotherThreadEndsTheDispatchInProgress)
{
    struct Rendezvous {
        CEvent inHandler;
        CEvent resynced;
        int calls = 0;
    } meeting;
    PacketHarness h;
    h.RegisterAllExcept();
    h.machine->Dispatcher().Register(0x10, &meeting, [](void* owner, const uint8_t*, uint16_t) {
        Rendezvous* r = static_cast<Rendezvous*>(owner);
        ++r->calls;
        r->inHandler.Set();
        EXPECT_TRUE(r->resynced.Wait(10000));
    });

    std::thread opener([&] {
        ASSERT_TRUE(meeting.inHandler.Wait(10000));
        CPacketStateMachine::Instance()->Resync();
        meeting.resynced.Set();
    });
    h.Feed(FrameContainer({BuildSubMessage(0x10, {1}), BuildSubMessage(0x11, {2}), BuildSubMessage(0x12, {3})}));
    opener.join();
    EXPECT_EQ(meeting.calls, 1);
    EXPECT_TRUE(h.messages.empty());

    const Bytes a = BuildLegacyPacket(LegacyFormat::A, Bytes(108, 0x44));
    h.Feed(StuffFrame(a));
    EXPECT_EQ(h.legacy, (std::vector<LegacyPacket>{{'A', a}}));
}

// A resync asked for before a container completes, within the chunk being
// decoded, keeps that container from being dispatched.
TEST(PacketMachine, ResyncBeforeTheContainerCompletesStopsItsDispatch)
{
    PacketHarness h;
    h.RegisterAllExcept();
    h.machine->ownerFrameStart = [](void* owner) {
        PacketHarness* harness = static_cast<PacketHarness*>(owner);
        if (harness->frameStarts++ == 0)
            harness->machine->Resync();
    };
    const Bytes frame = FrameContainer({BuildSubMessage(0x10, {1})});
    h.Feed(frame);
    EXPECT_TRUE(h.messages.empty());
    h.Feed(frame);
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1}}}));
}

// Resync racing with a busy decoder: no data race, and the machine is
// sound afterwards.
TEST(PacketMachine, ResyncWhileDecodingIsRaceFree)
{
    PacketHarness h;
    h.RegisterAllExcept();
    const Bytes frame = FrameContainer({BuildSubMessage(0x10, {1, 2}), BuildSubMessage(0x11, {3})});
    Bytes stream;
    for (int i = 0; i < 200; ++i)
        stream.insert(stream.end(), frame.begin(), frame.end());
    CEvent started;
    std::thread decoder([&] {
        started.Set();
        for (std::size_t i = 0; i < stream.size(); i += 64)
            h.machine->ProcessBytes(stream.data() + i, uint32_t(std::min<std::size_t>(64, stream.size() - i)));
    });
    ASSERT_TRUE(started.Wait(10000));
    for (int i = 0; i < 100; ++i)
        h.machine->Resync();
    decoder.join();

    // Some containers were lost to the resyncs, never split or corrupted.
    ASSERT_LE(h.messages.size(), 400u);
    for (std::size_t i = 0; i < h.messages.size(); ++i)
        ASSERT_TRUE(h.messages[i] == (Delivered{0x10, {1, 2}}) || h.messages[i] == (Delivered{0x11, {3}})) << i;
    h.messages.clear();
    h.machine->Resync();
    h.Feed(frame);
    EXPECT_EQ(h.messages, (std::vector<Delivered>{{0x10, {1, 2}}, {0x11, {3}}}));
}

}  // namespace
