#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "link/BthPacketMan.h"
#include "link/DecodeState.h"
#include "link/ProgrammingFeed.h"
#include "link/ReceiveChunks.h"
#include "link/SerialMoval.h"
#include "link/TermTextModel.h"
#include "platform/Event.h"
#include "tests/link/LinkHarness.h"

namespace {

constexpr WindowHandle kView = 0x77;

// Scripted chunks in, written lines out. Once the chunks are used up a read
// gives nothing, with `readError` (and closes the port first when
// `closedByFailedRead`); every write gives `writeError`.
class ScriptedPort : public IReceivePort {
public:
    bool PortOpen() override { return open; }
    int32_t ReadChunk(uint8_t* buffer, uint32_t capacity, uint32_t& read) override
    {
        read = 0;
        if (chunks.empty()) {
            if (readError != kSerialOk && closedByFailedRead)
                open = false;
            return readError;
        }
        const std::string chunk = chunks.front();
        chunks.pop_front();
        read = static_cast<uint32_t>(std::min<std::size_t>(chunk.size(), capacity));
        std::copy(chunk.begin(), chunk.begin() + read, buffer);
        ++reads;
        if (closeAfterReads > 0 && reads == closeAfterReads)
            open = false;
        return 0;
    }
    int32_t WriteBytes(const void* data, std::size_t length) override
    {
        if (writeError != kSerialOk)
            return writeError;
        written.emplace_back(static_cast<const char*>(data), length);
        return kSerialOk;
    }

    int32_t readError = kSerialOk;
    bool closedByFailedRead = false;
    int32_t writeError = kSerialOk;
    bool open = true;
    int reads = 0;
    int closeAfterReads = 0;
    std::deque<std::string> chunks;
    std::vector<std::string> written;
};

class LineTable : public IProgrammingFeed {
public:
    std::string_view CurrentLine() const override
    {
        return index < lines.size() ? std::string_view(lines[index]) : std::string_view {};
    }
    void AdvanceLine() override
    {
        if (index < lines.size())
            ++index;
    }
    std::vector<std::string> lines;
    std::size_t index = 0;
};

class ChunkLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreshLiveState();
        decode.poster = &poster;
        decode.targetWindow = kView;
        decode.terminal = &terminal;
        sink.Attach(decode);
        targets.pool = &pool;
        targets.packetEvent = &packetEvent;
        targets.decode = &decode;
        targets.programming = &table;
        targets.programmingCompleteMessage = RegisterWindowMessage(kProgrammingCompleteMessage);
    }
    void TearDown() override { FreshLiveState(); }

    std::vector<std::string> Queued()
    {
        std::vector<std::string> out;
        while (BthPacket* b = pool.GetFilledBuffer()) {
            out.emplace_back(reinterpret_cast<char*>(b->data), b->length);
            pool.ReleaseBuffer(b);
        }
        return out;
    }

    QueuePoster poster;
    CTermTextModel terminal;
    DecodeState decode;
    CBthPacketMan pool;
    CEvent packetEvent;
    LineTable table;
    ReceiveTargets targets;
    LogSink sink;
    ScriptedPort port;
};

const std::string kTag = "CSerialMoval::OnEvent|";

}  // namespace

TEST_F(ChunkLoop, DecodeModeQueuesEachChunkUntilAReadGivesNothing)
{
    port.chunks = {"first", "second", std::string(1024, 'x')};
    ReceiveChunks(port, targets);
    EXPECT_EQ(Queued(), (std::vector<std::string> {"first", "second", std::string(1024, 'x')}));
    EXPECT_TRUE(packetEvent.Wait(0));
    EXPECT_EQ(port.reads, 3);
    EXPECT_EQ(pool.FreeCount(), CBthPacketMan::kBufferCount) << "the empty read's buffer went back";
}

TEST_F(ChunkLoop, WithEveryBufferQueuedTheNextChunkIsLoggedAndDropped)
{
    for (std::size_t i = 0; i < CBthPacketMan::kBufferCount; ++i)
        port.chunks.push_back("chunk" + std::to_string(i));
    port.chunks.push_back("one too many");
    ReceiveChunks(port, targets);
    const std::vector<std::string> queued = Queued();
    ASSERT_EQ(queued.size(), CBthPacketMan::kBufferCount);
    EXPECT_EQ(queued.back(), "chunk19");
    EXPECT_EQ(port.reads, 21) << "the extra chunk was still read out of the driver";
    // The text a technician searches the log for, exactly as it has always read.
    const std::string exhausted =
        "All Bluetooth Input Packet Buffers in use.  Dump incoming data.  (data processing has slowed - if "
        "prolonged, this can cause a disconnect)";
    EXPECT_GE(sink.Count(kTag + exhausted), 1u);
}

TEST_F(ChunkLoop, DropModeReturnsTheBuffers)
{
    g_linkMode = kLinkDrop;
    port.chunks = {"ignored", "also ignored"};
    ReceiveChunks(port, targets);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(pool.FreeCount(), CBthPacketMan::kBufferCount);
}

TEST_F(ChunkLoop, TerminalModeShowsTheTextInTheTerminal)
{
    g_linkMode = kLinkTerminal;
    port.chunks = {"HR=80\n", "ok"};
    ReceiveChunks(port, targets);
    std::string shown;
    for (const auto& chunk : terminal.Chunks())
        shown += chunk;
    EXPECT_EQ(shown, "HR=80\r\nok");
    EXPECT_TRUE(Queued().empty());
}

TEST_F(ChunkLoop, ProgrammingFeedsOneLinePerChunkAndEndsAtTheQLine)
{
    terminal.SetShown(true);
    g_linkMode = kLinkProgramming;
    table.lines = {"4000\r", "0A1B\r", "q\r", "never\r"};
    port.chunks = {".", ".", ".", "."};
    port.closeAfterReads = 0;
    ReceiveChunks(port, targets);
    EXPECT_EQ(port.written, (std::vector<std::string> {"4000\r", "0A1B\r", "q\r"}));
    EXPECT_EQ(g_linkMode.load(), kLinkDrop) << "after the q line received bytes are dropped";
    // The box is the UI thread's: only a post went out.
    const auto post = poster.Take(0);
    ASSERT_TRUE(post.has_value());
    EXPECT_EQ(post->target, kView);
    EXPECT_EQ(post->message, targets.programmingCompleteMessage);
    EXPECT_FALSE(poster.Take(0).has_value());
}

TEST_F(ChunkLoop, ProgrammingStopsWhenTheTerminalIsClosedOrTheTableEnds)
{
    g_linkMode = kLinkProgramming;
    table.lines = {"4000\r"};
    port.chunks = {"."};
    ReceiveChunks(port, targets);
    EXPECT_TRUE(port.written.empty()) << "no line goes out once the terminal is gone";
    EXPECT_EQ(g_linkMode.load(), kLinkDecode);

    terminal.SetShown(true);
    g_linkMode = kLinkProgramming;
    port.chunks = {".", ".", "."};
    ReceiveChunks(port, targets);
    EXPECT_EQ(port.written, (std::vector<std::string> {"4000\r"}));
    EXPECT_EQ(table.index, 1u) << "the index never passes the table's end";
    EXPECT_EQ(g_linkMode.load(), kLinkDrop);
    EXPECT_EQ(sink.Count(kTag + "Programming stopped: no firmware line left to send."), 1u);
}

TEST_F(ChunkLoop, AFailedReadOrFirmwareLineStopsAndIsLoggedOnce)
{
    const std::string readFailed = kTag + "Reading the port failed (error 31: The serial device is not working.)";
    const std::string lineFailed =
        kTag + "Programming stopped: the firmware line could not be sent (error 1460: The operation timed out.)";
    struct Case {
        const char* name;
        int mode;
        std::vector<std::string> lines;               // the firmware table
        std::vector<std::deque<std::string>> calls;   // the chunks of each listener call
        int32_t readError;                            // of the read after the chunks
        bool closedByFailedRead;
        int32_t writeError;
        std::vector<std::string> queued;
        int modeAfter;
        std::size_t lineIndex;
        std::vector<std::string> logged;
    };
    const Case cases[] = {
        // Logged once while it lasts; after a good read a failure is news again.
        {"read fails", kLinkDecode, {}, {{"a"}, {}, {"b"}}, kSerialDeviceFailure, false, kSerialOk,
         {"a", "b"}, kLinkDecode, 0, {readFailed, readFailed}},
        {"read cut short by Close", kLinkDecode, {}, {{"a"}}, kSerialAborted, true, kSerialOk,
         {"a"}, kLinkDecode, 0, {}},
        {"firmware line refused", kLinkProgramming, {"4000\r", "q\r"}, {{".", "."}}, kSerialOk, false,
         kSerialTimeout, {}, kLinkDrop, 0, {lineFailed}},
        {"last firmware line refused", kLinkProgramming, {"q\r"}, {{"."}}, kSerialOk, false, kSerialTimeout,
         {}, kLinkDrop, 0, {lineFailed}},
    };
    terminal.SetShown(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort scripted;
        scripted.readError = c.readError;
        scripted.closedByFailedRead = c.closedByFailedRead;
        scripted.writeError = c.writeError;
        LineTable lines;
        lines.lines = c.lines;
        targets.programming = &lines;
        targets.loggedReadError = kSerialOk;
        sink.Clear();
        g_linkMode = c.mode;
        for (const auto& chunks : c.calls) {
            scripted.chunks = chunks;
            ReceiveChunks(scripted, targets);
        }
        EXPECT_EQ(Queued(), c.queued);
        EXPECT_EQ(pool.FreeCount(), CBthPacketMan::kBufferCount);
        EXPECT_TRUE(scripted.written.empty());
        EXPECT_EQ(g_linkMode.load(), c.modeAfter);
        EXPECT_EQ(lines.index, c.lineIndex) << "a line not sent is not passed over";
        EXPECT_EQ(sink.Lines(), c.logged);
        EXPECT_FALSE(poster.Take(0).has_value()) << "no programming-complete post";
    }
}

TEST_F(ChunkLoop, StopsWhenThePortCloses)
{
    port.chunks = {"a", "b", "c"};
    port.closeAfterReads = 1;
    ReceiveChunks(port, targets);
    EXPECT_EQ(port.reads, 1);
    EXPECT_EQ(Queued(), std::vector<std::string> {"a"});
}

TEST(LinkEvents, EveryEventBitHasItsLogLine)
{
    FreshLiveState();
    QueuePoster poster;
    LogSink sink;
    {
        CSerialMoval link(&poster, 0, sink.Function());
        link.OnEvent(CSerial::kEventBreak | CSerial::kEventError | CSerial::kEventRxFlag | CSerial::kEventRing |
                         CSerial::kEventTxEmpty | CSerial::kEventCts | CSerial::kEventDsr | CSerial::kEventRlsd |
                         CSerial::kEventRxChar,
                     CSerial::kCommErrorFrame);
        link.StopPacketProcessor();
    }
    EXPECT_EQ(sink.Lines(), (std::vector<std::string> {
                                kTag + "An internal error occurred.",
                                kTag + "Break detected on input.",
                                kTag + "A line-status error occurred.",
                                kTag + "Event character has been received.",
                                kTag + "Ring detected.",
                                kTag + "All data is send.",
                                kTag + "CTS signal change: Off.",
                                kTag + "DSR signal change: Off.",
                                kTag + "RLSD signal change: Off.",
                            }));
    FreshLiveState();
}
