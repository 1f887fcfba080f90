#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "link/CharacterStateMachine.h"
#include "sim/Framing.h"

namespace {

// Records every frame callback; answers kLimit calls with `nextState`.
struct FrameLog {
    struct Call {
        Bytes frame;
        FrameCall why;
    };
    std::vector<Call> calls;
    std::vector<uint8_t> starts;
    uint8_t nextState = CCharacterStateMachine::kInFrame;

    static void OnStart(void* self, uint8_t state) { static_cast<FrameLog*>(self)->starts.push_back(state); }
    static uint8_t OnFrame(void* self, const uint8_t* frame, uint32_t length, uint8_t, FrameCall why)
    {
        FrameLog* log = static_cast<FrameLog*>(self);
        log->calls.push_back({Bytes(frame, frame + length), why});
        return log->nextState;
    }
};

class Framer : public ::testing::Test {
protected:
    void SetUp() override
    {
        framer.SetContext(&log);
        framer.SetStartCallback(&FrameLog::OnStart);
        framer.SetFrameCallback(&FrameLog::OnFrame);
    }
    void Feed(const Bytes& bytes, uint32_t limit = CCharacterStateMachine::kBufferSize)
    {
        for (uint8_t b : bytes)
            ASSERT_TRUE(framer.ProcessChar(b, limit));
    }

    FrameLog log;
    CCharacterStateMachine framer;
};

TEST_F(Framer, EscapesInsideAFrameStandForTheMarkAndTheEscape)
{
    Feed({0x11, 0xAA, 0x01, 0xA0, 0x0A, 0xA0, 0xA0, 0x02, 0xAA});
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].frame, (Bytes{0x01, 0xAA, 0xA0, 0x02}));
    EXPECT_EQ(log.calls[0].why, FrameCall::kNextFrame);
    // Bytes before the first mark are skipped; the second mark opens a frame.
    EXPECT_EQ(log.starts, (std::vector<uint8_t>{CCharacterStateMachine::kHunting, CCharacterStateMachine::kInFrame}));
    EXPECT_EQ(framer.State(), CCharacterStateMachine::kInFrame);
    EXPECT_EQ(framer.Length(), 0u);
}

TEST_F(Framer, StuffedFramesComeBackAsTheyWere)
{
    const Bytes frame{0xAA, 0xA0, 0x0A, 0x00, 0xAA, 0xAA, 0xA0, 0x7F};
    Bytes stream = StuffFrame(frame);
    stream.push_back(0xAA);
    Feed(stream);
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].frame, frame);
}

TEST_F(Framer, ABrokenEscapeDropsTheFrameAndTheNextMarkStartsAgain)
{
    Feed({0xAA, 0x05, 0xA0, 0x41, 0x06, 0x07, 0xAA, 0x03, 0x04, 0xAA});
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].frame, (Bytes{0x03, 0x04}));
}

TEST_F(Framer, AnEscapeMayBeFollowedByTheNextFrame)
{
    Feed({0xAA, 0x05, 0xA0, 0xAA, 0x06, 0xAA});
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0].frame, (Bytes{0x05}));
    EXPECT_EQ(log.calls[1].frame, (Bytes{0x06}));
}

TEST_F(Framer, ReachingTheLimitHandsOverTheFrameAndTakesTheAnsweredState)
{
    log.nextState = CCharacterStateMachine::kHunting;
    // The limit is reached by an escaped byte as well as by a plain one.
    Feed({0xAA, 0x01, 0xA0, 0x0A, 0x09, 0xAA, 0x02, 0x03, 0x04}, 2);
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0].frame, (Bytes{0x01, 0xAA}));
    EXPECT_EQ(log.calls[0].why, FrameCall::kLimit);
    EXPECT_EQ(log.calls[1].frame, (Bytes{0x02, 0x03}));
    EXPECT_EQ(framer.State(), CCharacterStateMachine::kHunting);

    // Answering "stay in the frame" keeps appending and calling.
    log.calls.clear();
    log.nextState = CCharacterStateMachine::kInFrame;
    Feed({0xAA, 0x01, 0x02, 0x03}, 2);
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[1].frame, (Bytes{0x01, 0x02, 0x03}));
}

TEST_F(Framer, ALimitAboveTheBufferIsRefusedAndChangesNothing)
{
    Feed({0xAA, 0x01});
    EXPECT_FALSE(framer.ProcessChar(0x02, CCharacterStateMachine::kBufferSize + 1));
    EXPECT_FALSE(framer.ProcessChar(0xAA, 0xFFFFFFFFu));
    EXPECT_EQ(framer.Length(), 1u);
    EXPECT_EQ(framer.State(), CCharacterStateMachine::kInFrame);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(Framer, AFrameThatFillsTheBufferIsHandedOverArchivedAndRestarted)
{
    Bytes stream{0xAA};
    stream.insert(stream.end(), CCharacterStateMachine::kBufferSize, 0x33);
    stream.push_back(0x44);  // processed after the restart: skipped while hunting
    stream.push_back(0xAA);
    stream.push_back(0x55);
    stream.push_back(0xAA);
    Feed(stream);
    // The full buffer reaches the limit first, then overflows on the next byte.
    ASSERT_EQ(log.calls.size(), 3u);
    EXPECT_EQ(log.calls[0].why, FrameCall::kLimit);
    EXPECT_EQ(log.calls[1].why, FrameCall::kOverflow);
    EXPECT_EQ(log.calls[1].frame.size(), CCharacterStateMachine::kBufferSize);
    EXPECT_EQ(log.calls[2].frame, (Bytes{0x55}));
    EXPECT_EQ(framer.ArchivedFrames(), 1u);
    const auto archived = framer.Archive().Snapshot();
    ASSERT_EQ(archived.size(), 1u);
    EXPECT_EQ(archived[0].Length(), CCharacterStateMachine::kBufferSize);
    EXPECT_EQ(archived[0].tag, 0u);
}

TEST_F(Framer, ArchiveAndResetKeepsTheBytesAndHunts)
{
    Feed({0xAA, 0x01, 0x02});
    framer.ArchiveAndReset();
    framer.ArchiveAndReset();  // nothing buffered: nothing archived
    EXPECT_EQ(framer.State(), CCharacterStateMachine::kHunting);
    EXPECT_EQ(framer.Length(), 0u);
    EXPECT_EQ(framer.ArchivedFrames(), 1u);
    const auto archived = framer.Archive().Snapshot();
    ASSERT_EQ(archived.size(), 1u);
    EXPECT_EQ(archived[0].bytes, (Bytes{0x01, 0x02}));
    Feed({0x03, 0xAA, 0x04, 0xAA});
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].frame, (Bytes{0x04}));
}

// Feeding runs must be the same as feeding byte by byte: same callbacks,
// same frames, same archive. Random streams rich in marks and escapes,
// random limits, callbacks that answer with every state.
TEST(FramerRuns, RunsBehaveExactlyLikeSingleBytes)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        Bytes stream(random() % 3000);
        for (uint8_t& b : stream) {
            const uint32_t pick = random() % 16;
            b = pick == 0 ? 0xAA : pick == 1 ? 0xA0 : pick == 2 ? 0x0A : uint8_t(random());
        }
        std::vector<uint32_t> limits(64);
        for (uint32_t& limit : limits)
            limit = random() % 4 == 0 ? 70000 : 1 + random() % 300;

        FrameLog byByte, byRun;
        CCharacterStateMachine one, other;
        for (auto [framer, log] : {std::pair{&one, &byByte}, std::pair{&other, &byRun}}) {
            framer->SetContext(log);
            framer->SetStartCallback(&FrameLog::OnStart);
            framer->SetFrameCallback([](void* self, const uint8_t* f, uint32_t n, uint8_t state, FrameCall why) {
                FrameLog* l = static_cast<FrameLog*>(self);
                FrameLog::OnFrame(self, f, n, state, why);
                return uint8_t(l->calls.size() % 4);  // 0, 1, 2 and an invalid state
            });
        }
        std::size_t i = 0, turn = 0;
        while (i < stream.size()) {
            const uint32_t limit = limits[turn++ % limits.size()];
            const uint32_t taken = other.ProcessRun(stream.data() + i, uint32_t(stream.size() - i), limit);
            ASSERT_GE(taken, 1u);
            for (uint32_t k = 0; k < taken; ++k)
                ASSERT_EQ(one.ProcessChar(stream[i + k], limit), limit <= CCharacterStateMachine::kBufferSize);
            i += taken;
            ASSERT_EQ(one.State(), other.State()) << "round " << round << " at " << i;
            ASSERT_EQ(one.Length(), other.Length()) << "round " << round << " at " << i;
        }
        ASSERT_EQ(byByte.starts, byRun.starts) << "round " << round;
        ASSERT_EQ(byByte.calls.size(), byRun.calls.size()) << "round " << round;
        for (std::size_t c = 0; c < byByte.calls.size(); ++c) {
            ASSERT_EQ(byByte.calls[c].frame, byRun.calls[c].frame) << "round " << round << " call " << c;
            ASSERT_EQ(byByte.calls[c].why, byRun.calls[c].why) << "round " << round << " call " << c;
        }
        ASSERT_EQ(one.ArchivedFrames(), other.ArchivedFrames()) << "round " << round;
    }
}

}  // namespace
