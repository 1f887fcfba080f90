#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "link/LiveData.h"
#include "link/RemoteCommands.h"
#include "link/TermDlgTables.h"
#include "tests/link/LinkHarness.h"
#include "tests/link/TermHarness.h"

namespace {

using Texts = std::vector<std::string>;

class TermDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreshLiveState();
        g_linkMode = kLinkDecode;
        for (auto& byte : g_gasStatus)
            byte = 0;
    }
    void TearDown() override
    {
        g_linkMode = kLinkDecode;
        FreshLiveState();
    }
    // The terminal opened for a model, with a window lent.
    void Open(int32_t kind, bool full = true)
    {
        g_liveData.deviceKind = kind;
        LendWindow(terminal, steps, prompter, &ended, [this]() -> std::optional<std::string> { return chosen; });
        terminal.SetFullAuthority(full);
        terminal.OnInitDialog();
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        for (const auto& prompt : prompter.Prompts())
            captions.push_back(prompt.caption);
        return captions;
    }

    CSerial port;  // never opened: only Moval writes to it
    FakeTermOwner owner{port};
    CTK_TermDlg terminal{owner};
    FakeSteps steps;
    CScriptedPrompter prompter;
    int ended = 0;
    std::optional<std::string> chosen;
};

TEST_F(TermDlgTest, EachModelAndAuthorityShowsItsControlsRowsAndTitle)
{
    struct Case {
        int32_t kind;
        bool full;
        std::vector<int> shown;
        std::vector<int> hidden;
        std::size_t rows;
        const char* name;
    };
    const Case cases[] = {
        {kDeviceTarvik, false, {740, 750, 920, 1020}, {730, 820, 910, 1010, 1368, 1460, 970}, 10, "Norq-TC"},
        {kDeviceTarvik, true, {730, 820, 910}, {1010, 1368, 1460, 940}, 10, "Norq-TC"},
        {kDeviceMoval, true, {730, 880}, {1010, 970, 995}, 5, "Norq-MV"},
        {kDeviceTarvikPlus, false, {1010, 1460}, {940, 970, 990, 910, 1368}, 12, "Norq-TK"},
        {kDeviceSelvo, true, {940, 970, 995, 910, 1010, 1460}, {1368}, 12, "Norq-SL"},
        {kDeviceBrindle, false, {1368, 1010, 740}, {890, 940, 960, 730, 1460, 970}, 4, "Norq-BR"},
        {kDeviceBrindle, true, {890, 940, 960, 910}, {730, 790, 1460, 995}, 4, "Norq-BR"},
        {kDeviceUnknown, false, {730, 1010, 1368, 1460, 970}, {}, 0, ""},
    };
    for (const Case& c : cases) {
        Open(c.kind, c.full);
        for (const int id : c.shown)
            EXPECT_TRUE(terminal.IsControlVisible(id)) << c.kind << " " << id;
        for (const int id : c.hidden)
            EXPECT_FALSE(terminal.IsControlVisible(id)) << c.kind << " " << id;
        for (const int id : {kTermOutput, kTermInput, kTermQuit})
            EXPECT_TRUE(terminal.IsControlVisible(id)) << c.kind << " " << id;
        EXPECT_EQ(terminal.OutputRows().size(), c.rows) << c.kind;
        EXPECT_EQ(terminal.DeviceName(), c.name);
        EXPECT_EQ(terminal.Title(), c.full ? kTermTitleFull : kTermTitleProvisional);
        EXPECT_TRUE(terminal.IsShown());
        steps.Advance(5000);  // the Moval start
    }
}

TEST_F(TermDlgTest, OutputRowsSendTheirCommandsByModel)
{
    struct Case {
        int32_t kind;
        const char* row;
        Texts sent;
        Texts afterPause;
    };
    const Case cases[] = {
        {kDeviceTarvik, "Ecg Values", {kCmdOutEcg}, {}},
        {kDeviceSelvo, "ecg VALUES", {kCmdOutEcg}, {}},
        {kDeviceSelvo, "SpO2 Values", {}, {}},
        {kDeviceTarvikPlus, "Temperature", {kCmdOutTemp}, {}},
        {kDeviceBrindle, "Temperature", {kCmdOutTempCo2}, {}},
        {kDeviceSelvo, "CO2 Values", {kCmdOutSlow}, {kCmdOutCo2Values}},
        {kDeviceBrindle, "CO2 Values", {}, {}},
        {kDeviceBrindle, "Pressure Values", {kCmdOutPleth}, {}},
        {kDeviceTarvikPlus, "BP Values", {kCmdOutBp}, {}},
        {kDeviceSelvo, "BP Values", {}, {}},
        {kDeviceTarvik, "Something else", {kCmdTermDisplayOff}, {}},
    };
    for (const Case& c : cases) {
        Open(c.kind);
        terminal.OnOutputRow(c.row);
        EXPECT_EQ(owner.Drain(), c.sent) << c.kind << " " << c.row;
        steps.Advance(99);
        EXPECT_EQ(owner.Drain(), Texts{}) << c.row;
        steps.Advance(1);
        EXPECT_EQ(owner.Drain(), c.afterPause) << c.kind << " " << c.row;
    }
}

TEST_F(TermDlgTest, HeartAndBreathRatesPrintEverySecondUntilAnotherRow)
{
    Open(kDeviceTarvik);
    g_liveData.hrFromEcg = 88;
    g_liveData.hrFromSpO2 = 91;
    g_liveData.heartRateSource = 1;
    g_respRate = 14;
    terminal.OnOutputRow("HR-RR");
    EXPECT_EQ(owner.Drain(), Texts{kCmdTermDisplayOff});
    steps.Advance(2000);
    std::string shown;
    for (const auto& chunk : terminal.Text().Chunks())
        shown += chunk;
    EXPECT_EQ(shown, "HR=91 BPM  RR= 14\r\nHR=91 BPM  RR= 14\r\n");
    terminal.OnOutputRow("Voltage Values");
    terminal.Text().ClearOutput();
    steps.Advance(3000);
    EXPECT_TRUE(terminal.Text().Chunks().empty());
}

TEST_F(TermDlgTest, SaveSetupSendsTheFilledRowsThenPausesAndOtherActionsWait)
{
    Open(kDeviceSelvo);
    terminal.SetBoxText(kTermHardware, "H3");
    terminal.SetBoxText(kTermDeviceNumber, "0042");
    terminal.SetBoxText(kTermMfg, "Norq");
    terminal.OnButton(kTermSaveSetup);
    EXPECT_EQ(owner.Drain(), (Texts{"\rsh H3\r", "\rsi Norq-SL0042\r", "\rsm Norq\r", "cs\r"}));
    terminal.OnButton(kTermHelp);  // waits for the sequence
    steps.Advance(299);
    EXPECT_EQ(owner.Drain(), Texts{});
    steps.Advance(1);
    EXPECT_EQ(owner.Drain(), Texts{"cr\r"});
    steps.Advance(100);
    EXPECT_EQ(owner.Drain(), Texts{kCmdVersionRequest});
    EXPECT_EQ(terminal.BoxText(kTermHardware), "");
    EXPECT_TRUE(terminal.Busy());
    steps.Advance(100);
    EXPECT_FALSE(terminal.Busy());
    EXPECT_EQ(owner.Drain(), Texts{kCmdHelp});

    // With every row empty there is no "cs"; nothing at all while the link
    // is down.
    terminal.OnButton(kTermSaveSetup);
    steps.Advance(1000);
    EXPECT_EQ(owner.Drain(), (Texts{"cr\r", kCmdVersionRequest}));
    owner.live = false;
    terminal.SetBoxText(kTermSerial, "77");
    terminal.OnButton(kTermSaveSetup);
    steps.Advance(1000);
    EXPECT_EQ(owner.Drain(), Texts{});
}

TEST_F(TermDlgTest, Co2ZeroingWaitsForTheProbe)
{
    struct Case {
        uint8_t type;
        uint32_t probeMs;
        uint8_t byte10;
        uint8_t byte4;
        uint8_t probeState;
        std::vector<std::string> captions;
        bool sent;
    };
    const std::string zero = "Gas Probe Zeroing Instructions";
    const std::string done = "Verification: Command Sent";
    const Case cases[] = {
        {1, 14 * 60000 + 59000, 0, 0, 0, {"Please Wait: CO2 probe warming up"}, false},
        {1, 14 * 60000 + 59500, 0, 0, 0, {zero, done}, true},
        {1, 15 * 60000, 0, 0, 1, {zero, done}, true},
        {1, 60000, 1, 0, 0, {zero, done}, true},
        {2, 0, 0, 0x10, 0, {"Please Wait: CO2 probe stabilizing."}, false},
        {2, 0, 0, 0xEF, 0, {zero, done}, true},
        {0, 3600000, 0, 0, 0, {}, false},
    };
    for (const Case& c : cases) {
        Open(kDeviceTarvikPlus);
        CScriptedPrompter answers;
        LendWindow(terminal, steps, answers);
        g_gasStatus[9] = c.type;
        g_gasStatus[10] = c.byte10;
        g_gasStatus[4] = c.byte4;
        g_gasStatus[5] = 0xA5;
        g_liveData.co2ProbeState = c.probeState;
        owner.probeMs = c.probeMs;
        terminal.OnButton(kTermCo2Zero);
        std::vector<std::string> captions;
        for (const auto& prompt : answers.Prompts())
            captions.push_back(prompt.caption);
        EXPECT_EQ(captions, c.captions) << int(c.type) << " " << c.probeMs;
        EXPECT_EQ(owner.Drain(), c.sent ? Texts{kCmdGasProbeZero} : Texts{}) << int(c.type) << " " << c.probeMs;
        const std::string first = answers.Prompts().empty() ? std::string() : answers.Prompts()[0].text;
        if (c.probeMs == 14 * 60000 + 59000) {
            EXPECT_NE(first.find("0:00:14:59\n"), std::string::npos) << first;
        }
        if (c.byte4 == 0x10) {
            EXPECT_NE(first.find("Status: 10 a5 00 00\n"), std::string::npos) << first;
        }
        if (c.sent) {
            EXPECT_EQ(first.find("sampling line") != std::string::npos, c.probeState != 0);
        }
    }
}

TEST_F(TermDlgTest, EnterSendsTheTypedLineOnlyFromTheInputLine)
{
    Open(kDeviceSelvo);
    terminal.SetInputText("ov");
    terminal.OnEnter(false);
    EXPECT_EQ(owner.Drain(), Texts{});
    EXPECT_EQ(terminal.InputText(), "ov");
    terminal.OnEnter(true);
    EXPECT_EQ(owner.Drain(), (Texts{kCmdKeepAlive, "ov\r"}));
    EXPECT_EQ(terminal.InputText(), "");
}

TEST_F(TermDlgTest, ProgrammingIsRefusedBeforeAnythingIsSent)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("term-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "Selvo_4.rmt");
    std::ofstream(folder / "Selvo_2.rmt") << "@4000\n0A 1B\n0Z\nq\n";
    std::ofstream(folder / "Selvo_3.rmt") << "@4000\n0A 1B\nq\n";
    std::ofstream(folder / "Tarvik+_1.rmt") << "@4000\nq\n";
    const std::string version = "Software: Selvo_Rev_2.1\r\n";
    struct Case {
        const char* name;
        int32_t kind;
        int16_t battery;
        std::string buffer;
        bool recording;
        std::optional<std::string> file;
        std::string caption;  // of the refusal; empty: none
        std::string text;     // a part of it
    };
    const std::string instructions = "Programming Instructions";
    const std::string error = "Programming Remote Error";
    const Case cases[] = {
        {"Tarvik classic", kDeviceTarvik, 0, version, false, {}, "", ""},
        {"Moval", kDeviceMoval, 0, version, false, {}, "", ""},
        {"Tarvik Plus on battery", kDeviceTarvikPlus, 1, version, false, {}, instructions, "AC adaptor"},
        {"Selvo at level 3", kDeviceSelvo, 3, version, false, {}, instructions, "75%"},
        {"no version", kDeviceSelvo, 2, "Hardware: 3", false, {}, instructions, "software version"},
        {"recording", kDeviceSelvo, 0, version, true, {}, instructions, "stop the recording"},
        {"cancelled", kDeviceSelvo, 0, version, false, std::nullopt, "", ""},
        {"missing file", kDeviceSelvo, 0, version, false, (folder / "Selvo_9.rmt").string(), "", ""},
        {"wrong name", kDeviceSelvo, 0, version, false, (folder / "Tarvik+_1.rmt").string(), error, "'Selvo_xxx.rmt'"},
        {"damaged", kDeviceSelvo, 0, version, false, (folder / "Selvo_2.rmt").string(), error, "line 3 holds '0Z'"},
        {"a folder", kDeviceSelvo, 0, version, false, (folder / "Selvo_4.rmt").string(), error, "is not a file"},
        {"answered No", kDeviceSelvo, 0, version, false, (folder / "Selvo_3.rmt").string(), instructions, "Selvo_3.rmt"},
    };
    for (const Case& c : cases) {
        Open(c.kind);
        CScriptedPrompter answers;
        answers.QueueAnswer(kIdNo);
        LendWindow(terminal, steps, answers, nullptr, [&] { return c.file; });
        g_liveData.batteryLevel = c.battery;
        owner.recording = c.recording;
        terminal.Text().ClearReceiveBuffer();
        terminal.Text().AppendReceiveBuffer(c.buffer.data(), c.buffer.size());
        steps.Advance(5000);  // the Moval start
        const int mode = g_linkMode.load();
        terminal.OnButton(kTermProgram);
        steps.Advance(20000);
        const auto prompts = answers.Prompts();
        if (c.caption.empty()) {
            EXPECT_TRUE(prompts.empty()) << c.name << ": " << (prompts.empty() ? "" : prompts[0].text);
        } else {
            ASSERT_EQ(prompts.size(), 1u) << c.name;
            EXPECT_EQ(prompts[0].caption, c.caption) << c.name;
            EXPECT_NE(prompts[0].text.find(c.text), std::string::npos) << c.name << ": " << prompts[0].text;
        }
        EXPECT_EQ(owner.Drain(), Texts{}) << c.name;
        EXPECT_FALSE(terminal.IsProgramming()) << c.name;
        EXPECT_EQ(g_linkMode.load(), mode) << c.name;
    }
    std::filesystem::remove_all(folder);
}

TEST_F(TermDlgTest, AProgrammingRunEndsOnlyAfterItsCompleteBoxAndQuitAsksMeanwhile)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("run-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "Selvo_5.rmt";
    std::ofstream(file) << "@4000\n0A 1B\nq\n";
    chosen = file.string();
    Open(kDeviceSelvo);
    const std::string version = "Software: Selvo_Rev_2.1";
    terminal.Text().AppendReceiveBuffer(version.data(), version.size());
    prompter.QueueAnswer(kIdYes);  // the confirmation
    terminal.OnButton(kTermProgram);
    EXPECT_TRUE(terminal.IsProgramming());
    steps.Advance(1000);
    EXPECT_EQ(owner.Drain(), Texts{kCmdFlashProgram});
    steps.Advance(2000);
    EXPECT_EQ(g_linkMode.load(), kLinkDrop);
    EXPECT_FALSE(terminal.IsControlVisible(kTermInput));
    EXPECT_TRUE(terminal.IsControlVisible(kTermOutput));
    terminal.OnButton(kTermHelp);  // waits for the switch-over, and then goes
    steps.Advance(8000);
    EXPECT_EQ(g_linkMode.load(), kLinkProgramming);
    EXPECT_EQ(terminal.CurrentLine(), "4000\r");
    EXPECT_EQ(owner.Drain(), Texts{kCmdHelp});

    // Quit while the lines are fed: "No" keeps the terminal.
    prompter.QueueAnswer(kIdNo);
    terminal.OnQuit();
    EXPECT_TRUE(terminal.IsShown());
    EXPECT_EQ(Captions().back(), "Warning");

    // The link has sent "q": the terminal waits for the box to close.
    g_linkMode = kLinkDrop;
    steps.Advance(5000);
    EXPECT_TRUE(terminal.IsProgramming());
    EXPECT_EQ(ended, 0);
    terminal.OnProgrammingComplete();
    EXPECT_EQ(Captions().back(), "Programming Complete");
    steps.Advance(1000);
    EXPECT_FALSE(terminal.IsProgramming());
    EXPECT_FALSE(terminal.IsShown());
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(owner.Drain(), (Texts{kCmdTermWatchdogOn, kCmdTermDisplayOff}));
    std::filesystem::remove_all(folder);
}

TEST_F(TermDlgTest, QuitAnsweredYesWhileProgrammingEndsTheRun)
{
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("BPBrindle_" + std::to_string(::getpid()) + ".rmt");
    std::ofstream(file) << "@4000 q";
    chosen = file.string();
    Open(kDeviceBrindle);
    const std::string version = "Software: Brindle_Rev_1";
    terminal.Text().AppendReceiveBuffer(version.data(), version.size());
    prompter.QueueAnswer(kIdYes);
    terminal.OnButton(kTermProgram);
    steps.Advance(11000);
    ASSERT_EQ(g_linkMode.load(), kLinkProgramming);
    prompter.QueueAnswer(kIdYes);
    terminal.OnQuit();
    EXPECT_FALSE(terminal.IsShown());
    EXPECT_FALSE(terminal.IsProgramming());
    EXPECT_FALSE(terminal.TimerRunning(2));
    EXPECT_EQ(ended, 1);
    std::filesystem::remove(file);
}

}  // namespace
