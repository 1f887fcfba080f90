#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/OutMessageLock.h"
#include "link/OutgoingMessages.h"
#include "link/RemoteCommands.h"
#include "link/WriteQueue.h"
#include "platform/Event.h"
#include "platform/Serial.h"
#include "sim/OutgoingFrames.h"
#include "sim/SimRemote.h"

namespace {

// A port that keeps what is written to it, one entry per Write.
class CapturePort : public CSerial {
public:
    int32_t Write(const void* data, std::size_t length, uint32_t* written, SerialOverlapped*,
                  uint32_t timeout) override
    {
        const auto* bytes = static_cast<const uint8_t*>(data);
        writes.emplace_back(bytes, bytes + length);
        timeouts.push_back(timeout);
        if (written != nullptr)
            *written = static_cast<uint32_t>(length);
        return result;
    }

    std::vector<uint8_t> All() const
    {
        std::vector<uint8_t> all;
        for (const auto& w : writes)
            all.insert(all.end(), w.begin(), w.end());
        return all;
    }

    int32_t result = kSerialOk;
    std::vector<std::vector<uint8_t>> writes;
    std::vector<uint32_t> timeouts;
};

class Outgoing : public ::testing::Test {
protected:
    void SetUp() override { ResetOutgoingSequences(); }
    void TearDown() override { ResetOutgoingSequences(); }

    // The one frame of the one write so far.
    OutFrame OnlyFrame()
    {
        EXPECT_EQ(port.writes.size(), 1u);
        const OutStream stream = ParseOutgoing(port.All());
        EXPECT_EQ(stream.frames.size(), 1u);
        EXPECT_TRUE(stream.plain.empty());
        return stream.frames.empty() ? OutFrame {} : stream.frames.front();
    }

    CapturePort port;
};

std::vector<std::string> LinesOf(const OutFrame& frame)
{
    std::vector<std::string> lines;
    for (const auto& sub : frame.subMessages) {
        EXPECT_EQ(sub.id, kOutTextLine);
        lines.push_back(TextOfLine(sub));
    }
    return lines;
}

}  // namespace

TEST_F(Outgoing, GoldenTextFrameThenTheNextSequence)
{
    ASSERT_EQ(SendTextLines("\rbp 1\r", port), kSerialOk);
    const std::vector<uint8_t> golden = {
        0xc0, 0x01, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0xe7, 0x01, 0x00, 0x00,
        0x10, 0x80, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x27, 0x01, 0x00, 0x00,
        0x04, 0x00, 0x00, 0x00, 0x62, 0x70, 0x20, 0x31, 0x00, 0x00, 0xc1};
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0], golden);
    EXPECT_EQ(port.timeouts[0], kOutWriteTimeoutMs);

    port.writes.clear();
    ASSERT_EQ(SendTextLines("\rbp 0\r", port), kSerialOk);
    const OutFrame next = OnlyFrame();
    EXPECT_EQ(next.sequence, 1u);
    ASSERT_EQ(next.subMessages.size(), 1u);
    EXPECT_EQ(next.subMessages[0].sequence, 1u);
}

TEST_F(Outgoing, TextLinesSplitAtCarriageReturnsPadOddTextAndSkipEmptyPieces)
{
    ASSERT_EQ(SendTextLines("\r\rsd 1000\rov\r\rabc", port), kSerialOk);
    const OutFrame frame = OnlyFrame();
    ASSERT_TRUE(frame.wellFormed);
    EXPECT_TRUE(frame.payloadSumOk);
    EXPECT_EQ(LinesOf(frame), (std::vector<std::string> {"sd 1000", "ov", "abc"}));
    EXPECT_EQ(frame.count, 3u);
    // Sub-message sequence numbers run on from one to the next.
    EXPECT_EQ(frame.subMessages[0].sequence, 0u);
    EXPECT_EQ(frame.subMessages[1].sequence, 1u);
    EXPECT_EQ(frame.subMessages[2].sequence, 2u);
    // "abc": length word, zero word, three letters, one pad byte.
    const OutSubMessage& odd = frame.subMessages[2];
    EXPECT_EQ(odd.length, 8u);
    EXPECT_EQ(odd.data, (std::vector<uint8_t> {3, 0, 0, 0, 'a', 'b', 'c', kOutPadByte}));
    EXPECT_TRUE(odd.sumOk);
    EXPECT_EQ(frame.payloadLength, 3 * kOutHeaderSize + (4 + 8) + (4 + 2) + 8);
}

TEST_F(Outgoing, EmptyTextSendsAContainerWithoutSubMessages)
{
    for (const char* text : {"", "\r\r\r"}) {
        port.writes.clear();
        ASSERT_EQ(SendTextLines(text, port), kSerialOk);
        const OutFrame frame = OnlyFrame();
        EXPECT_TRUE(frame.wellFormed);
        EXPECT_EQ(frame.count, 0u);
        EXPECT_EQ(frame.payloadLength, 0u);
        EXPECT_EQ(frame.container.size(), kOutHeaderSize);
    }
}

TEST_F(Outgoing, APieceThatDoesNotFitEndsTheList)
{
    const std::string fits(996, 'x');  // 12 + 12 + 4 + 996 = 1024
    ASSERT_EQ(SendTextLines(fits, port), kSerialOk);
    OutFrame frame = OnlyFrame();
    EXPECT_EQ(frame.container.size(), kOutContainerLimit);
    EXPECT_EQ(LinesOf(frame), std::vector<std::string> {fits});

    port.writes.clear();
    const std::string tooLong(997, 'y');  // padded to 998: two bytes over
    ASSERT_EQ(SendTextLines("first\r" + tooLong + "\rlast\r", port), kSerialOk);
    frame = OnlyFrame();
    EXPECT_EQ(LinesOf(frame), std::vector<std::string> {"first"}) << "the long piece and all after it are left";
}

TEST_F(Outgoing, StuffingEscapesEveryFramingByteAndNothingElse)
{
    ASSERT_EQ(SendTextLines(std::string("\xC0\x06", 2), port), kSerialOk);
    const std::vector<uint8_t> bytes = port.All();
    const std::vector<uint8_t> c0 = {0x7D, 0xE0}, ack = {0x7D, 0x26};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), c0.begin(), c0.end()), bytes.end());
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), ack.begin(), ack.end()), bytes.end());

    // Random texts over every byte value: the frame's inner bytes never
    // hold a raw framing byte, and the text comes back whole.
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 300);
        for (int i = 0; i < length; ++i) {
            const char c = static_cast<char>(random() % 256);
            text.push_back(c == '\r' ? '\n' : c);
        }
        port.writes.clear();
        ASSERT_EQ(SendTextLines(text, port), kSerialOk);
        const std::vector<uint8_t>& frame = port.writes.at(0);
        ASSERT_LE(frame.size(), kOutFrameLimit);
        EXPECT_EQ(frame.front(), kOutFrameStart);
        EXPECT_EQ(frame.back(), kOutFrameEnd);
        for (std::size_t i = 1; i + 1 < frame.size(); ++i) {
            if (frame[i] == kOutEscape) {
                ASSERT_TRUE(NeedsStuffing(static_cast<uint8_t>(frame[i + 1] ^ kOutEscapeXor)));
                ++i;
                continue;
            }
            ASSERT_FALSE(NeedsStuffing(frame[i])) << "raw byte " << int(frame[i]) << " at " << i;
        }
        const OutStream parsed = ParseOutgoing(frame);
        ASSERT_EQ(parsed.frames.size(), 1u);
        ASSERT_TRUE(parsed.frames[0].wellFormed);
        EXPECT_TRUE(parsed.frames[0].payloadSumOk);
        if (text.empty())
            EXPECT_EQ(parsed.frames[0].count, 0u);
        else
            EXPECT_EQ(LinesOf(parsed.frames[0]), std::vector<std::string> {text});
    }
}

TEST_F(Outgoing, WorstCaseStuffingStaysWithinTheFrameLimit)
{
    ASSERT_EQ(SendTextLines(std::string(996, '\x7D'), port), kSerialOk);
    const OutFrame frame = OnlyFrame();
    EXPECT_TRUE(frame.wellFormed);
    EXPECT_LE(port.writes[0].size(), kOutFrameLimit);
    EXPECT_GT(port.writes[0].size(), 2 * 996u);
}

TEST_F(Outgoing, RequestAndSetValueMessages)
{
    ASSERT_EQ(SendRequestMessage(port), kSerialOk);
    OutFrame frame = OnlyFrame();
    ASSERT_EQ(frame.subMessages.size(), 1u);
    EXPECT_EQ(frame.subMessages[0].id, kOutRequest);
    EXPECT_EQ(frame.subMessages[0].length, 0u);
    EXPECT_EQ(frame.payloadLength, 12u);

    port.writes.clear();
    ASSERT_EQ(SendSetValueMessage(10, port), kSerialOk);
    frame = OnlyFrame();
    ASSERT_EQ(frame.subMessages.size(), 1u);
    EXPECT_EQ(frame.subMessages[0].id, kOutSetValue);
    EXPECT_EQ(frame.subMessages[0].data, (std::vector<uint8_t> {10, 0}));
    EXPECT_EQ(frame.payloadLength, 14u);
    EXPECT_EQ(frame.sequence, 1u);

    port.writes.clear();
    EXPECT_EQ(SendSetValueMessage(11, port), kSerialInvalidArg) << "refused, and not reported as sent";
    EXPECT_TRUE(port.writes.empty());
    ASSERT_EQ(SendSetValueMessage(0, port), kSerialOk);
    EXPECT_EQ(OnlyFrame().sequence, 2u) << "a refused value uses no sequence number";
}

TEST_F(Outgoing, FrameLengthsOutsideTheContainerAreRefused)
{
    std::lock_guard lock(g_outMessageLock);
    EXPECT_EQ(BuildOutgoingFrame(0).data, nullptr);
    EXPECT_EQ(BuildOutgoingFrame(kOutContainerLimit + 1).data, nullptr);
    const OutgoingFrame one = BuildOutgoingFrame(1);
    ASSERT_NE(one.data, nullptr);
    EXPECT_GE(one.length, 5u);
}

TEST_F(Outgoing, WriteFailuresComeBackToTheCaller)
{
    port.result = kSerialTimeout;
    EXPECT_EQ(SendTextLines("bp 1\r", port), kSerialTimeout);
    EXPECT_EQ(SendRawToRemote(port, "ws\r"), kSerialTimeout);
    EXPECT_EQ(SendRequestMessage(port), kSerialTimeout);
}

TEST_F(Outgoing, CommandsTravelFramedOnlyToContainerRemotesExceptTheKeepAlive)
{
    ASSERT_EQ(SendTextCommand(kCmdKeepAlive, port, 2), kSerialOk);
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0], (std::vector<uint8_t> {0x06}));

    ASSERT_EQ(SendTextCommand(kCmdBpStart, port, 2), kSerialOk);
    OutStream stream = ParseOutgoing(port.writes.at(1));
    ASSERT_EQ(stream.frames.size(), 1u);
    EXPECT_EQ(LinesOf(stream.frames[0]), std::vector<std::string> {"bp 1"});

    for (int protocol : {0, 1}) {
        port.writes.clear();
        ASSERT_EQ(SendTextCommand(kCmdMovalKeepAlive, port, protocol), kSerialOk);
        ASSERT_EQ(port.writes.size(), 1u);
        EXPECT_EQ(std::string(port.writes[0].begin(), port.writes[0].end()), "ws\r");
    }
}

TEST(RemoteCommandText, FormattedCommands)
{
    EXPECT_EQ(FormatBpSetupCommand(3, 5, 160), "sp 3 5 160\r");
    EXPECT_EQ(FormatRpCommand(kCmdRp02Verb, 1), "rp 02 1\r");
    EXPECT_EQ(FormatRpCommand(kCmdRp1Verb, -4), "rp 1 -4\r");
    EXPECT_EQ(std::string(kCmdFlashProgram), std::string("fp ") + kCmdFlashProgramArgument + "\r");
}

TEST(WriteQueue, FirstInFirstOutAndEmptyPopLeavesTheText)
{
    CWriteQueue queue;
    std::string text = "unchanged";
    EXPECT_FALSE(queue.Pop(text));
    EXPECT_EQ(text, "unchanged");
    queue.Push("one");
    queue.Push("two");
    ASSERT_TRUE(queue.Pop(text));
    EXPECT_EQ(text, "one");
    ASSERT_TRUE(queue.Pop(text));
    EXPECT_EQ(text, "two");
    EXPECT_FALSE(queue.Pop(text));
    EXPECT_EQ(text, "two");
}

TEST(WriteQueue, ManyPushersOnePopperLoseNothing)
{
    CWriteQueue queue;
    constexpr int kThreads = 4, kEach = 2000;
    std::vector<std::thread> pushers;
    for (int t = 0; t < kThreads; ++t)
        pushers.emplace_back([&queue, t] {
            for (int i = 0; i < kEach; ++i)
                queue.Push(std::to_string(t) + ":" + std::to_string(i));
        });
    std::vector<int> next(kThreads, 0);
    int popped = 0;
    std::string text;
    while (popped < kThreads * kEach) {
        if (!queue.Pop(text)) {
            std::this_thread::yield();
            continue;
        }
        const int t = std::stoi(text.substr(0, text.find(':')));
        const int i = std::stoi(text.substr(text.find(':') + 1));
        ASSERT_EQ(i, next[t]) << "each pusher's texts come out in order";
        ++next[t];
        ++popped;
    }
    for (auto& p : pushers)
        p.join();
    EXPECT_FALSE(queue.Pop(text));
}

TEST(OutgoingOverALine, FramedLinesAndPlainWritesFromTwoThreadsStayWhole)
{
    ResetOutgoingSequences();
    SimRemote remote;
    ASSERT_TRUE(remote.Ok());
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    constexpr int kEach = 300;
    const std::string plain = "PLAIN-TEXT-COMMAND-WITH-SOME-LENGTH;";
    std::thread framed([&] {
        for (int i = 0; i < kEach; ++i)
            ASSERT_EQ(SendTextLines("\rline " + std::to_string(i) + "\r" + std::string(200, 'z') + "\r", port),
                      kSerialOk);
    });
    std::thread raw([&] {
        for (int i = 0; i < kEach; ++i)
            ASSERT_EQ(SendRawToRemote(port, plain), kSerialOk);
    });
    framed.join();
    raw.join();
    ASSERT_TRUE(remote.WaitFor(
        [&](const std::vector<uint8_t>& got) {
            const OutStream s = ParseOutgoing(got);
            return s.frames.size() == kEach && s.plain.size() == kEach * plain.size();
        },
        10000));
    const OutStream stream = ParseOutgoing(remote.Received());
    EXPECT_FALSE(stream.unterminated);
    std::string expectedPlain;
    for (int i = 0; i < kEach; ++i)
        expectedPlain += plain;
    EXPECT_EQ(stream.plain, expectedPlain) << "every plain text contiguous, none inside a frame";
    for (int i = 0; i < kEach; ++i) {
        const OutFrame& frame = stream.frames[i];
        ASSERT_TRUE(frame.wellFormed) << i;
        EXPECT_TRUE(frame.payloadSumOk);
        EXPECT_EQ(frame.sequence, static_cast<uint32_t>(i));
        EXPECT_EQ(LinesOf(frame), (std::vector<std::string> {"line " + std::to_string(i), std::string(200, 'z')}));
        for (const auto& sub : frame.subMessages)
            EXPECT_TRUE(sub.sumOk);
    }
    ResetOutgoingSequences();
}
