// The service terminal's text: output chunks and their posts, and the
// receive buffer of the last 400 characters.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "link/TermTextModel.h"
#include "platform/WindowMessages.h"

namespace {

constexpr WindowHandle kDialog = 0x670;

struct TakenOutput {
    std::string text;
    TermSelection selection;
};

// Takes one "CTK_TERMDLG_NEWSTRING" post and frees its payload.
std::optional<TakenOutput> TakeOutput(QueuePoster& poster, uint32_t message)
{
    auto posted = poster.Take(0);
    if (!posted)
        return std::nullopt;
    EXPECT_EQ(posted->message, message);
    EXPECT_EQ(posted->target, kDialog);
    std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(posted->wParam));
    std::unique_ptr<TermSelection> selection(reinterpret_cast<TermSelection*>(posted->lParam));
    return TakenOutput{*text, *selection};
}

class TermText : public ::testing::Test {
protected:
    void SetUp() override
    {
        message = RegisterWindowMessage("CTK_TERMDLG_NEWSTRING");
        model.SetWindow(&poster, kDialog, message);
    }
    void TearDown() override
    {
        while (TakeOutput(poster, message)) {
        }
    }
    QueuePoster poster;
    CTermTextModel model;
    uint32_t message = 0;
};

} // namespace

TEST_F(TermText, CarriageReturnsAreSkippedAndLineFeedsBecomeCrLf)
{
    model.AppendOutput("abc\r\n", 5);
    const auto chunks = model.Chunks();
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0], "abc\r\n");
    const auto posted = TakeOutput(poster, message);
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->text, "abc\r\n");
    EXPECT_EQ(posted->selection.start, 32767);
    EXPECT_EQ(posted->selection.end, 32767);
    EXPECT_FALSE(TakeOutput(poster, message));
}

TEST_F(TermText, LongTextIsCutIntoChunksOfElevenAndEachPostCarriesTheWholeList)
{
    const std::string text = "0123456789abcdefghijklmno"; // 25 characters
    model.AppendOutput(text.data(), text.size());
    const auto chunks = model.Chunks();
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0], text.substr(0, 11));
    EXPECT_EQ(chunks[1], text.substr(11, 11));
    EXPECT_EQ(chunks[2], text.substr(22));
    EXPECT_EQ(TakeOutput(poster, message)->text, text.substr(0, 11));
    EXPECT_EQ(TakeOutput(poster, message)->text, text.substr(0, 22));
    EXPECT_EQ(TakeOutput(poster, message)->text, text);
}

TEST_F(TermText, TheChunkAfterTheHundredAndTwentyEighthPushesOutTheFirst)
{
    for (int i = 0; i < 129; ++i) {
        const std::string line = "L" + std::to_string(i);
        model.AppendOutput(line.data(), line.size());
    }
    const auto chunks = model.Chunks();
    ASSERT_EQ(chunks.size(), 128u);
    EXPECT_EQ(chunks.front(), "L1");
    EXPECT_EQ(chunks.back(), "L128");
}

TEST_F(TermText, NothingIsPostedWithoutAWindowAndAFailedPostFreesItsPayload)
{
    CTermTextModel detached;
    detached.AppendOutput("hello", 5);
    EXPECT_EQ(detached.Chunks().size(), 1u);

    struct Refusing : IMessagePoster {
        bool Post(const PostedMessage&) override { return false; }
    } refusing;
    detached.SetWindow(&refusing, kDialog, message);
    detached.AppendOutput("world", 5); // leak-free under ASan
    EXPECT_EQ(detached.Chunks().size(), 2u);
}

TEST_F(TermText, ReceiveBufferKeepsTheLastFourHundredCharacters)
{
    std::string first(300, 'a'), second(300, 'b');
    first[299] = 'A';
    model.AppendReceiveBuffer(first.data(), first.size());
    model.AppendReceiveBuffer(second.data(), second.size());
    const std::string held = model.GetReceiveBuffer();
    ASSERT_EQ(held.size(), 400u);
    EXPECT_EQ(held, first.substr(200) + second);

    // A text longer than the buffer leaves its own end.
    std::string longText(450, 'x');
    longText.replace(440, 10, "0123456789");
    model.AppendReceiveBuffer(longText.data(), longText.size());
    EXPECT_EQ(model.GetReceiveBuffer(), longText.substr(50));

    model.ClearReceiveBuffer();
    EXPECT_TRUE(model.GetReceiveBuffer().empty());
}

TEST_F(TermText, WritersOnTwoThreadsKeepEveryChunkWhole)
{
    auto writer = [this](char c) {
        const std::string text(11, c);
        for (int i = 0; i < 60; ++i)
            model.AppendOutput(text.data(), text.size());
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    const auto chunks = model.Chunks();
    ASSERT_EQ(chunks.size(), 120u);
    for (const auto& chunk : chunks)
        EXPECT_TRUE(chunk == std::string(11, 'a') || chunk == std::string(11, 'b')) << chunk;
}
