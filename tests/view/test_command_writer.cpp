#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "link/LiveData.h"
#include "link/OutgoingMessages.h"
#include "link/WriteQueue.h"
#include "platform/Event.h"
#include "platform/Serial.h"
#include "platform/Thread.h"
#include "sim/OutgoingFrames.h"
#include "view/CommandWriter.h"
#include "view/WriterThread.h"

namespace {

constexpr uint32_t P = 333;      // the period of every remote but a Moval
constexpr uint32_t H = P / 2;    // the second command's delay
constexpr uint32_t kMovalP = 200;

// A port that keeps each write; a write sets `written`.
class FakePort : public ICommandPort, public CSerial {
public:
    int32_t Write(const void* data, std::size_t length, uint32_t* written, SerialOverlapped*, uint32_t) override
    {
        const auto* bytes = static_cast<const uint8_t*>(data);
        {
            std::lock_guard lock(mutex);
            writes.emplace_back(bytes, bytes + length);
        }
        if (written != nullptr)
            *written = static_cast<uint32_t>(length);
        this->written.Set();
        return result;
    }
    bool PortOpen() override { return open; }
    int StreamProtocol() override { return protocol; }
    CSerial& Port() override { return *this; }

    std::size_t WriteCount()
    {
        std::lock_guard lock(mutex);
        return writes.size();
    }

    std::mutex mutex;
    std::vector<std::vector<uint8_t>> writes;
    std::atomic<bool> open{true};
    int protocol = 1;
    int32_t result = kSerialOk;
    CEvent written;
};

struct Sent {
    uint32_t ms;
    std::vector<uint8_t> bytes;
};

// Runs the writer's passes on a fake clock until `untilMs`.
std::vector<Sent> Drive(CCommandWriter& writer, FakePort& port, uint32_t untilMs)
{
    std::vector<Sent> sent;
    for (uint32_t now = 0; now <= untilMs;) {
        const std::size_t before = port.writes.size();
        const uint32_t wait = writer.Step(now);
        for (std::size_t i = before; i < port.writes.size(); ++i)
            sent.push_back({now, port.writes[i]});
        now += wait;
    }
    return sent;
}

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
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
        const char* name;
        int32_t deviceKind;
        int protocol;
        const char* keepAlive;
        uint32_t period;
        uint32_t cycles;  // from one keep-alive to the next
    };
    const Case cases[] = {
        {"Tarvik", kDeviceTarvik, 1, "\x06", P, 5},
        {"Moval", kDeviceMoval, 1, "ws\r", kMovalP, 6},
        {"framed Selvo", kDeviceSelvo, 2, "\x06", P, 5},
        {"framed, kind not known yet", kDeviceUnknown, 2, "\x06", P, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_liveData.deviceKind = c.deviceKind;
        port.protocol = c.protocol;
        port.writes.clear();
        CCommandWriter writer(port, queue);
        EXPECT_EQ(writer.PeriodMs(), c.period);
        const std::vector<Sent> sent = Drive(writer, port, 2 * c.cycles * c.period);
        ASSERT_EQ(sent.size(), 3u);
        for (uint32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(sent[i].ms, i * c.cycles * c.period);
            EXPECT_EQ(sent[i].bytes, Bytes(c.keepAlive));  // raw, never framed
        }
    }

    // Nothing goes out while the firmware is being programmed.
    g_linkMode.store(kLinkProgramming);
    port.writes.clear();
    queue.Push("bp 1\r");
    CCommandWriter writer(port, queue);
    EXPECT_TRUE(Drive(writer, port, 10 * P).empty());
}

TEST_F(CommandWriter, FramedRemoteGetsTextMessagesAndALoneKeepAliveRawOnlyAsTheFirstCommand)
{
    g_liveData.deviceKind = kDeviceSelvo;
    port.protocol = 2;
    for (const char* command : {"sl 60\r", "\x06", "\x06"})
        queue.Push(command);
    CCommandWriter writer(port, queue);
    const std::vector<Sent> sent = Drive(writer, port, 8 * P);

    struct Expect {
        uint32_t ms;
        const char* raw;   // null: a frame with one text line
        const char* line;
    };
    // The queued 0x06 that opens the third cycle counts as a keep-alive, so
    // the next one comes four command cycles after it.
    const Expect expected[] = {
        {0, "\x06", nullptr}, {P, nullptr, "sl 60"}, {P + H, nullptr, "\x06"},
        {2 * P + H, "\x06", nullptr}, {6 * P + H, "\x06", nullptr},
    };
    ASSERT_EQ(sent.size(), std::size(expected));
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sent[i].ms, expected[i].ms);
        const OutStream stream = ParseOutgoing(sent[i].bytes);
        if (expected[i].raw != nullptr) {
            EXPECT_EQ(stream.plain, expected[i].raw);
            EXPECT_TRUE(stream.frames.empty());
            continue;
        }
        EXPECT_TRUE(stream.plain.empty());
        ASSERT_EQ(stream.frames.size(), 1u);
        ASSERT_EQ(stream.frames[0].subMessages.size(), 1u);
        EXPECT_EQ(stream.frames[0].subMessages[0].id, kOutTextLine);
        EXPECT_EQ(TextOfLine(stream.frames[0].subMessages[0]), expected[i].line);
    }
}

TEST_F(CommandWriter, FiveQueuedCommandsLeaveTwoPerCycleTheSecondHalfAPeriodLater)
{
    g_liveData.deviceKind = kDeviceTarvikPlus;
    for (const char* command : {"c1\r", "c2\r", "c3\r", "c4\r", "c5\r"})
        queue.Push(command);
    CCommandWriter writer(port, queue);
    const std::vector<Sent> sent = Drive(writer, port, 6 * P);

    const Sent expected[] = {
        {0, Bytes("\x06")},
        {P, Bytes("c1\r")}, {P + H, Bytes("c2\r")},
        {2 * P + H, Bytes("c3\r")}, {2 * P + 2 * H, Bytes("c4\r")},
        {3 * P + 2 * H, Bytes("c5\r")},
        {5 * P + 2 * H, Bytes("\x06")},
    };
    ASSERT_EQ(sent.size(), std::size(expected));
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].ms, expected[i].ms) << i;
        EXPECT_EQ(sent[i].bytes, expected[i].bytes) << i;
    }
}

TEST_F(CommandWriter, VersionRequestGoesOnceWithACommandCycleAndIsCleared)
{
    port.protocol = 2;
    g_versionPending = 1;
    CCommandWriter writer(port, queue);
    const std::vector<Sent> sent = Drive(writer, port, 4 * P);

    std::vector<uint32_t> requestTimes;
    for (const Sent& s : sent) {
        for (const OutFrame& frame : ParseOutgoing(s.bytes).frames) {
            ASSERT_EQ(frame.subMessages.size(), 1u);
            EXPECT_EQ(frame.subMessages[0].id, kOutRequest);
            requestTimes.push_back(s.ms);
        }
    }
    EXPECT_EQ(requestTimes, std::vector<uint32_t>{P});  // not with the keep-alive
    EXPECT_EQ(g_versionPending, 0);
}

TEST_F(CommandWriter, FailedWritesAndCommandsLeftUnsentAreLogged)
{
    std::vector<std::string> lines;
    const LinkLog log = [&lines](const char*, const std::string& text) { lines.push_back(text); };
    port.result = kSerialNotConnected;
    queue.Push("bp 1\r");
    queue.Push("bp 0\r");
    CCommandWriter writer(port, queue, log);
    EXPECT_EQ(writer.Step(0), P);  // the keep-alive fails
    EXPECT_EQ(writer.Step(P), H);  // "bp 1" fails, "bp 0" waits
    writer.Finish();               // and never goes
    const std::vector<std::string> expected = {
        "Keep-alive not sent, error 1167.",
        "Command not sent, error 1167: \"bp 1\\r\".",
        "Command not sent, the writer ended: \"bp 0\\r\".",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(CommandWriter, ThreadEndsWhenTheHandoverDropsOrThePortCloses)
{
    struct Case {
        const char* name;
        bool dropHandover;
        bool closePort;
    };
    const Case cases[] = {{"handover dropped", true, false}, {"port closed", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_liveData.writerHandover = 1;
        port.open = true;
        std::atomic<bool> ended{true};
        CWriterThread thread(ended);
        ASSERT_TRUE(StartCommandWriter(thread, port, queue, [] { return GetTickCount(); }));
        EXPECT_FALSE(ended.load());
        ASSERT_TRUE(port.written.Wait(5000));  // the first keep-alive
        EXPECT_TRUE(thread.Running());
        if (c.dropHandover)
            g_liveData.writerHandover = 0;
        if (c.closePort)
            port.open = false;
        ASSERT_TRUE(thread.WaitEnded(5000));
        EXPECT_TRUE(ended.load());
        EXPECT_FALSE(thread.Running());
    }

    // A stop ends a writer that would otherwise run on.
    g_liveData.writerHandover = 1;
    port.open = true;
    std::atomic<bool> ended{true};
    CWriterThread thread(ended);
    ASSERT_TRUE(StartCommandWriter(thread, port, queue, [] { return GetTickCount(); }));
    thread.Stop();
    EXPECT_TRUE(ended.load());
}
