// The terminal and firmware programming over a pseudo-terminal: the link's
// listener feeds the lines, the simulated remote answers each one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "link/FirmwareFile.h"
#include "link/OutgoingMessages.h"
#include "link/RemoteCommands.h"
#include "link/SerialMoval.h"
#include "link/TermDlgTables.h"
#include "sim/SimRemote.h"
#include "tests/link/LinkHarness.h"
#include "tests/link/TermHarness.h"

namespace {

constexpr WindowHandle kView = 0x200;
constexpr WindowHandle kTermWindow = 0x300;
constexpr int kWaitMs = 10000;

std::string AsText(const std::vector<uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

bool WaitForMode(int mode)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (g_linkMode.load() != mode) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

class TermOverLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(remote.Ok());
        FreshLiveState();
        g_linkMode = kLinkDecode;
        link = std::make_unique<CSerialMovalMFC>(&poster, kView, sink.Function());
        owner = std::make_unique<FakeTermOwner>(*link);
        terminal = std::make_unique<CTK_TermDlg>(*owner);
        link->SetTerminal(&terminal->Text());
        link->SetProgrammingFeed(terminal.get());
        ASSERT_TRUE(link->ResetLinkState());
        FreshLiveState();
        ASSERT_EQ(link->Open(remote.DevicePath().c_str(), kView, 0), kSerialOk);
        folder = std::filesystem::temp_directory_path() / ("line-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        link.reset();
        std::filesystem::remove_all(folder);
        g_linkMode = kLinkDecode;
        FreshLiveState();
    }
    void Open(int32_t kind, std::optional<std::string> file = {})
    {
        g_liveData.deviceKind = kind;
        LendWindow(*terminal, steps, prompter, &ended, [file] { return file; });
        terminal->SetFullAuthority(true);
        terminal->OnInitDialog();
    }
    // What the command writer would do with the queue.
    void Write()
    {
        for (const std::string& text : owner->Drain())
            ASSERT_EQ(SendRawToRemote(*link, text), kSerialOk);
    }
    bool Received(const std::string& text)
    {
        return remote.WaitFor([&](const std::vector<uint8_t>& r) { return AsText(r) == text; }, kWaitMs);
    }

    SimRemote remote;
    QueuePoster poster;
    LogSink sink;
    std::unique_ptr<CSerialMovalMFC> link;
    std::unique_ptr<FakeTermOwner> owner;
    std::unique_ptr<CTK_TermDlg> terminal;
    FakeSteps steps;
    CScriptedPrompter prompter;
    int ended = 0;
    std::filesystem::path folder;
};

TEST_F(TermOverLine, AMovalTerminalStartsShowsTheRemotesTextAndSendsTypedLines)
{
    const uint32_t newString = RegisterWindowMessage("CTK_TERMDLG_NEWSTRING");
    terminal->Text().SetWindow(&poster, kTermWindow, newString);
    Open(kDeviceMoval);
    EXPECT_EQ(g_linkMode.load(), kLinkDrop);
    steps.Advance(400);
    // Enter before the start has finished only clears the line.
    terminal->SetInputText("zz");
    terminal->OnEnter(true);
    EXPECT_EQ(terminal->InputText(), "");
    steps.Advance(1800);
    EXPECT_EQ(g_linkMode.load(), kLinkTerminal);
    ASSERT_TRUE(Received("\rws\rws\rwd 0\rov\rl0\r")) << AsText(remote.Received());

    ASSERT_TRUE(remote.Send("Batt 3.9V\r\n"));
    std::string shown;
    while (shown.find("Batt 3.9V\r\n") == std::string::npos) {
        const std::optional<PostedMessage> post = poster.Take(kWaitMs);
        ASSERT_TRUE(post);
        if (post->message != newString)
            continue;
        auto* text = reinterpret_cast<std::string*>(post->wParam);
        shown = *text;
        delete text;
        delete reinterpret_cast<TermSelection*>(post->lParam);
    }

    remote.ClearReceived();
    terminal->SetInputText("oe");
    terminal->OnEnter(true);
    terminal->OnQuit();
    EXPECT_TRUE(Received("oe\rwd 1\rl0\r")) << AsText(remote.Received());
    EXPECT_FALSE(terminal->IsShown());
    EXPECT_EQ(ended, 1);
    terminal->Text().SetWindow(nullptr, 0, 0);
    while (std::optional<PostedMessage> post = poster.Take(0)) {
        if (post->message == newString) {
            delete reinterpret_cast<std::string*>(post->wParam);
            delete reinterpret_cast<TermSelection*>(post->lParam);
        }
    }
}

TEST_F(TermOverLine, EachLineGoesOutWhenTheRemoteAnswersTheLastOneClosesTheRun)
{
    struct Case {
        int32_t kind;
        const char* file;
        const char* version;
    };
    for (const Case c : {Case{kDeviceSelvo, "Selvo_2.10.rmt", "Software: Selvo_Rev_2.1\r\n"},
                         Case{kDeviceTarvikPlus, "Tarvik+_3.rmt", "Software: Tarvik+_Rev_3.0\r\n"}}) {
        SCOPED_TRACE(c.file);
        std::string text = "@4000\n";
        for (int i = 0; i < 300; ++i)
            text += (i % 2 != 0 ? "5A" : "c3") + std::string(i % 16 == 15 ? "\n" : " ");
        text += "@FFE0\n00 44\nq\n";
        std::ofstream((folder / c.file).string(), std::ios::binary) << text;
        std::vector<std::string> lines;
        ASSERT_TRUE(ParseFirmwareText(text, lines).Ok());

        remote.ClearReceived();
        g_liveData.batteryLevel = 0;
        terminal->Text().ClearReceiveBuffer();
        terminal->Text().AppendReceiveBuffer(c.version, std::strlen(c.version));
        Open(c.kind, (folder / c.file).string());
        prompter.QueueAnswer(kIdYes);
        terminal->OnButton(kTermProgram);
        steps.Advance(1000);
        Write();
        steps.Advance(10000);
        ASSERT_EQ(g_linkMode.load(), kLinkProgramming);
        std::string expected = std::string(kCmdFlashProgram) + "@";
        ASSERT_TRUE(Received(expected)) << AsText(remote.Received());
        for (const std::string& line : lines) {
            ASSERT_TRUE(remote.Send(">"));
            expected += line;
            ASSERT_TRUE(Received(expected)) << line;
        }
        std::optional<PostedMessage> post;
        do {
            post = poster.Take(kWaitMs);
        } while (post && post->message != RegisterWindowMessage(kProgrammingCompleteMessage));
        ASSERT_TRUE(post);
        EXPECT_EQ(g_linkMode.load(), kLinkDrop);
        terminal->OnProgrammingComplete();
        steps.Advance(1000);
        EXPECT_FALSE(terminal->IsProgramming());
        Write();
        EXPECT_TRUE(Received(expected + "wd 1\rl0\r"));
        g_linkMode = kLinkDecode;  // as the view does when the terminal has closed
    }
}

TEST_F(TermOverLine, ADamagedFileSendsNothing)
{
    std::ofstream((folder / "Selvo_1.rmt").string()) << "@4000\n0A 1B 2\nq\n";
    g_liveData.batteryLevel = 1;
    const std::string version = "Software: Selvo_Rev_1";
    terminal->Text().AppendReceiveBuffer(version.data(), version.size());
    Open(kDeviceSelvo, (folder / "Selvo_1.rmt").string());
    terminal->OnButton(kTermProgram);
    steps.Advance(20000);
    Write();
    ASSERT_EQ(SendRawToRemote(*link, "MARK"), kSerialOk);
    EXPECT_TRUE(Received("MARK")) << AsText(remote.Received());
    EXPECT_EQ(g_linkMode.load(), kLinkDecode);
    ASSERT_EQ(prompter.Prompts().size(), 1u);
    EXPECT_EQ(prompter.Prompts()[0].caption, "Programming Remote Error");
}

TEST_F(TermOverLine, QuittingAQuietRunStopsTheFeedingAtTheNextChunk)
{
    std::ofstream((folder / "Brindle_1.rmt").string()) << "@4000\n0A\nq\n";
    g_liveData.batteryLevel = 2;
    const std::string version = "Software: Brindle_Rev_1";
    terminal->Text().AppendReceiveBuffer(version.data(), version.size());
    Open(kDeviceBrindle, (folder / "Brindle_1.rmt").string());
    prompter.QueueAnswer(kIdYes);
    terminal->OnButton(kTermProgram);
    steps.Advance(1000);
    Write();
    steps.Advance(10000);
    const std::string started = std::string(kCmdFlashProgram) + "@";
    ASSERT_TRUE(Received(started));
    prompter.QueueAnswer(kIdYes);
    terminal->OnQuit();
    EXPECT_FALSE(terminal->IsShown());
    EXPECT_EQ(g_linkMode.load(), kLinkProgramming);
    ASSERT_TRUE(remote.Send(">"));
    EXPECT_TRUE(WaitForMode(kLinkDecode));
    Write();
    ASSERT_EQ(SendRawToRemote(*link, "MARK"), kSerialOk);
    EXPECT_TRUE(Received(started + "wd 1\rl0\rMARK")) << AsText(remote.Received());
}

}  // namespace
