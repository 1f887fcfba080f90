#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "link/LiveData.h"
#include "link/OutgoingMessages.h"
#include "link/WriteQueue.h"
#include "platform/Serial.h"
#include "platform/Thread.h"
#include "sim/OutgoingFrames.h"
#include "view/CommandWriter.h"
#include "view/WriterThread.h"

namespace {

constexpr uint32_t P = 333;    // the period of every remote but a Moval
constexpr uint32_t H = P / 2;  // the second command's delay

// Keeps each write (from one thread at a time); a write sets `written`.
class FakePort : public ICommandPort, public CSerial {
public:
    int32_t Write(const void* data, std::size_t length, uint32_t*, SerialOverlapped*, uint32_t) override
    {
        const auto* bytes = static_cast<const uint8_t*>(data);
        writes.emplace_back(bytes, bytes + length);
        written.Set();
        return result;
    }
    bool PortOpen() override { return open; }
    int StreamProtocol() override { return protocol; }
    CSerial& Port() override { return *this; }

    std::vector<std::vector<uint8_t>> writes;
    std::atomic<bool> open{true};
    int protocol = 1;
    int32_t result = kSerialOk;
    CEvent written;
};

struct Sent {
    uint32_t ms;
    std::string plain;              // bytes outside frames
    std::vector<std::string> subs;  // framed: "line <text>" or "request"
};

// Runs the writer's passes on a fake clock until `untilMs`.
std::vector<Sent> Drive(CCommandWriter& writer, FakePort& port, uint32_t untilMs)
{
    std::vector<Sent> sent;
    for (uint32_t now = 0; now <= untilMs;) {
        port.writes.clear();
        const uint32_t wait = writer.Step(now);
        for (const auto& bytes : port.writes) {
            const OutStream stream = ParseOutgoing(bytes);
            Sent s{now, stream.plain, {}};
            for (const OutFrame& frame : stream.frames) {
                for (const OutSubMessage& sub : frame.subMessages)
                    s.subs.push_back(sub.id == kOutTextLine ? "line " + TextOfLine(sub)
                                     : sub.id == kOutRequest ? "request" : "other");
            }
            sent.push_back(s);
        }
        now += wait;
    }
    return sent;
}

void ExpectSent(const std::vector<Sent>& sent, const std::vector<Sent>& expected)
{
    ASSERT_EQ(sent.size(), expected.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sent[i].ms, expected[i].ms);
        EXPECT_EQ(sent[i].plain, expected[i].plain);
        EXPECT_EQ(sent[i].subs, expected[i].subs);
    }
}

class CommandWriter : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ResetLiveStore();
        ResetOutgoingSequences();
        g_versionPending = 0;
        g_liveData.writerHandover = 1;
    }

    FakePort port;
    CWriteQueue queue;
};

}  // namespace

TEST_F(CommandWriter, KeepAliveAtTheFirstCycleThenAfterEveryFourOrFiveCommandCycles)
{
    struct Case {
        int32_t deviceKind;
        int protocol;
        const char* keepAlive;
        uint32_t period;
        uint32_t cycles;  // from one keep-alive to the next
    };
    const Case cases[] = {
        {kDeviceTarvik, 1, "\x06", P, 5},
        {kDeviceMoval, 1, "ws\r", 200, 6},
        {kDeviceSelvo, 2, "\x06", P, 5},    // framed: raw all the same
        {kDeviceUnknown, 2, "\x06", P, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceKind);
        g_liveData.deviceKind = c.deviceKind;
        port.protocol = c.protocol;
        CCommandWriter writer(port, queue);
        const uint32_t gap = c.cycles * c.period;
        ExpectSent(Drive(writer, port, 2 * gap), {{0, c.keepAlive, {}}, {gap, c.keepAlive, {}}, {2 * gap, c.keepAlive, {}}});
    }

    // Nothing goes out while the firmware is being programmed, not even a
    // cycle's second command; that one goes afterwards.
    port.protocol = 1;
    queue.Push("bp 1\r");
    queue.Push("bp 0\r");
    CCommandWriter writer(port, queue);
    port.writes.clear();
    writer.Step(0);
    EXPECT_EQ(writer.Step(P), H);
    g_linkMode.store(kLinkProgramming);
    writer.Step(P + H);
    writer.Step(10 * P);
    EXPECT_EQ(port.writes.size(), 2u);  // the keep-alive and "bp 1"
    g_linkMode.store(kLinkDecode);
    writer.Step(11 * P);
    EXPECT_EQ(port.writes.back(), (std::vector<uint8_t>{'b', 'p', ' ', '0', '\r'}));
}

TEST_F(CommandWriter, FramedRemoteGetsTextMessagesTheVersionRequestOnceAndALoneKeepAliveRaw)
{
    port.protocol = 2;
    g_versionPending = 1;
    for (const char* command : {"sl 60\r", "\x06", "\x06"})
        queue.Push(command);
    CCommandWriter writer(port, queue);
    // A queued 0x06 goes raw only as a cycle's first command, and then
    // counts as the keep-alive: the next comes four command cycles later.
    ExpectSent(Drive(writer, port, 8 * P), {
        {0, "\x06", {}},
        {P, "", {"line sl 60"}},
        {P + H, "", {"line \x06"}},
        {P + H, "", {"request"}},
        {2 * P + H, "\x06", {}},
        {6 * P + H, "\x06", {}},
    });
    EXPECT_EQ(g_versionPending, 0);
}

TEST_F(CommandWriter, FiveQueuedCommandsLeaveTwoPerCycleTheSecondHalfAPeriodLater)
{
    for (const char* command : {"c1\r", "c2\r", "c3\r", "c4\r", "c5\r"})
        queue.Push(command);
    CCommandWriter writer(port, queue);
    ExpectSent(Drive(writer, port, 6 * P), {
        {0, "\x06", {}},
        {P, "c1\r", {}}, {P + H, "c2\r", {}},
        {2 * P + H, "c3\r", {}}, {2 * P + 2 * H, "c4\r", {}},
        {3 * P + 2 * H, "c5\r", {}},
        {5 * P + 2 * H, "\x06", {}},
    });
}

TEST_F(CommandWriter, FailedWritesAndCommandsLeftUnsentAreLogged)
{
    std::vector<std::string> lines;
    port.result = kSerialNotConnected;
    queue.Push("bp 1\r");
    queue.Push("bp 0\r");
    CCommandWriter writer(port, queue, [&lines](const char*, const std::string& text) { lines.push_back(text); });
    EXPECT_EQ(writer.Step(0), P);  // the keep-alive fails
    EXPECT_EQ(writer.Step(P), H);  // "bp 1" fails, "bp 0" waits
    writer.Finish();               // and never goes
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Keep-alive not sent, error 1167.",
                         "Command not sent, error 1167: \"bp 1\\r\".",
                         "Command not sent, the writer ended: \"bp 0\\r\".",
                     }));
}

TEST_F(CommandWriter, ThreadEndsWhenTheHandoverDropsThePortClosesOrAStopComes)
{
    enum class End { kHandover, kPort, kStop };
    for (const End end : {End::kHandover, End::kPort, End::kStop}) {
        SCOPED_TRACE(static_cast<int>(end));
        g_liveData.writerHandover = 1;
        port.open = true;
        port.written.ResetEvent();
        std::atomic<bool> ended{true};
        CWriterThread thread(ended);
        ASSERT_TRUE(StartCommandWriter(thread, port, queue, [] { return GetTickCount(); }));
        EXPECT_FALSE(ended.load());
        ASSERT_TRUE(port.written.Wait(5000));  // the first keep-alive
        if (end == End::kHandover)
            g_liveData.writerHandover = 0;
        else if (end == End::kPort)
            port.open = false;
        else
            thread.Stop();
        ASSERT_TRUE(thread.WaitEnded(5000));
        EXPECT_TRUE(ended.load());
        EXPECT_FALSE(thread.Running());
    }
}
