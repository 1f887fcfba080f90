// Which commands are open and checked, at the edges of their rules, and the
// decisions behind their handlers.
#include <gtest/gtest.h>

#include "app/MenuCommands.h"
#include "app/ValueHelpers.h"
#include "link/LiveData.h"
#include "view/CommandActions.h"
#include "view/CommandRules.h"

using namespace menu;

TEST(CommandRules, EachCommandAtTheEdgesOfItsRule)
{
    RemoteConfiguration config;
    config.rMarker = 1;
    config.reviewer = 0;
    auto live = [&](int32_t kind, uint16_t bits) {
        CommandContext c;
        c.deviceKind = kind;
        c.featureBits = bits;
        c.live = true;
        c.config = &config;
        return c;
    };
    struct Case {
        const char* what;
        uint32_t id;
        CommandContext context;
        bool enabled;
        bool checked;
    };
    CommandContext demo = live(kDeviceTarvikPlus, kFeatureNibp);
    demo.demoMode = true;
    demo.live = false;
    CommandContext connected = live(kDeviceTarvik, kFeatureEcg);
    connected.connected = true;
    CommandContext movalText = live(kDeviceTarvik, kFeatureEcg);
    movalText.movalTextMode = true;
    CommandContext terminal = live(kDeviceTarvikPlus, kFeatureEcg);
    terminal.terminalOpen = true;
    CommandContext episodes = live(kDeviceTarvik, kFeatureEcg);
    episodes.hasEpisodes = true;
    episodes.ecgProgramsPresent = 3;
    CommandContext noProgram = episodes;
    noProgram.ecgProgramsPresent = 0;
    CommandContext exotic = demo;
    exotic.exoticHeartRates = true;
    CommandContext recording = live(kDeviceTarvik, kFeatureEcg);
    recording.recording = true;
    const Case cases[] = {
        {"sweep cycle, Brindle", kSweepCycle, live(kDeviceBrindle, kFeatureEcg), false, false},
        {"sweep cycle, Selvo fb 8", kSweepCycle, live(kDeviceSelvo, 8), false, false},
        {"sweep cycle, Selvo ECG", kSweepCycle, live(kDeviceSelvo, kFeatureEcg), true, false},
        {"gain, Selvo without ECG", kGainCycle, live(kDeviceSelvo, kFeatureSpO2), false, false},
        {"gain, Selvo ECG and CO2", kGainDialog, live(kDeviceSelvo, kFeatureEcg | kFeatureCO2), false, false},
        {"filter, Selvo without ECG", kFilterDialog, live(kDeviceSelvo, kFeatureTemp), false, false},
        {"sweep dialog, Selvo fb 8", kSweepDialog, live(kDeviceSelvo, 8), true, false},
        {"marker checked", kRWaveMarker, live(kDeviceTarvik, kFeatureEcg), true, true},
        {"marker, Selvo fb 8", kRWaveMarker, live(kDeviceSelvo, 8), false, false},
        {"waveforms, Moval", kWaveforms, live(kDeviceMoval, kFeatureEcg), false, false},
        {"waveforms, Selvo SpO2", kWaveforms, live(kDeviceSelvo, kFeatureSpO2), false, false},
        {"waveforms, not live", kWaveforms, CommandContext{}, false, false},
        {"print, demo", kPrint, demo, true, false},
        {"print, Moval text", kPrint, movalText, false, false},
        {"print, Brindle", kPrint, live(kDeviceBrindle, kFeatureNibp), false, false},
        {"default configuration, connected", kDefaultConfiguration, connected, false, false},
        {"default configuration, idle", kDefaultConfiguration, CommandContext{}, true, false},
        {"demo configuration", kDemoConfiguration, demo, true, false},
        {"demo configuration, exotic", kDemoConfiguration, exotic, false, false},
        {"demo configuration, not demo", kDemoConfiguration, live(kDeviceTarvik, 0), false, false},
        {"dental, Tarvik Plus", kDental, live(kDeviceTarvikPlus, 0), true, false},
        {"dental, Selvo ECG", kDental, live(kDeviceSelvo, kFeatureEcg), true, false},
        {"dental, Selvo without ECG", kDental, live(kDeviceSelvo, kFeatureSpO2), false, false},
        {"dental, terminal open", kDental, terminal, false, false},
        {"dental, demo", kDental, demo, false, false},
        {"BP, demo with NIBP", kBloodPressure, demo, true, false},
        {"BP, live without NIBP", kBloodPressure, live(kDeviceTarvik, kFeatureEcg), false, false},
        {"review, both programs", kReview, episodes, true, false},
        {"review, no program", kReview, noProgram, false, false},
        {"service, live", kService, live(kDeviceSelvo, kFeatureEcg), true, false},
        {"service, demo", kService, demo, false, false},
        {"service, terminal open", kService, terminal, false, false},
        {"record, recording", kRecord, recording, true, true},
        {"record, not live", kRecord, CommandContext{}, false, false},
        {"HR from SpO2, Selvo", kHrFromSpO2, live(kDeviceSelvo, kFeatureSpO2), false, false},
        {"HR from SpO2, Tarvik SpO2", kHrFromSpO2, live(kDeviceTarvik, kFeatureSpO2), true, false},
        {"agents, module 3", kAgents, [&] { auto c = live(kDeviceTarvikPlus, 0); c.gasModuleKind = 3; return c; }(),
         true, false},
        {"set agent", kSetAgent, live(kDeviceTarvik, 0), false, false},
        {"play/halt, demo", kPlayHalt, demo, false, false},
        {"atmospheric pressure, Brindle", kAtmosphericPressure, live(kDeviceBrindle, kFeatureCO2), false, false},
        {"atmospheric pressure, CO2", kAtmosphericPressure, live(kDeviceTarvikPlus, kFeatureCO2), true, false},
    };
    for (const Case& c : cases) {
        const CommandState state = CommandRule(c.id, c.context);
        EXPECT_EQ(state.enabled, c.enabled) << c.what;
        EXPECT_EQ(state.checked, c.checked) << c.what;
    }
    // Both programs found: "Reviewer" 0 picks the second.
    EXPECT_EQ(ReviewProgram(3, 0), 2);
    EXPECT_EQ(ReviewProgram(3, 1), 1);
    EXPECT_EQ(ReviewProgram(1, 0), 1);
    EXPECT_EQ(ReviewProgram(0, 1), 0);
}

TEST(CommandActions, CyclesCaptionsAndWaits)
{
    const int32_t sweeps[][2] = {{1, 2}, {2, 4}, {4, 8}, {8, 1}, {3, 2}, {0, 2}};
    for (const auto& s : sweeps)
        EXPECT_EQ(NextSweep(s[0]), s[1]) << s[0];
    const int32_t gains[][2] = {{0, 1}, {3, 4}, {4, 0}, {9, 0}};
    for (const auto& g : gains)
        EXPECT_EQ(NextGain(g[0]), g[1]) << g[0];
    EXPECT_EQ(BpCuffCaption(6, false), " BP (mmHg) Cuff: Adult");
    EXPECT_EQ(BpCuffCaption(5, true), " BP(mmHg) Cuff-#8");
    EXPECT_EQ(BpCuffCaption(7, false), std::nullopt);
    EXPECT_EQ(FormatTimeSpan(90061), "1:01:01:01");
    EXPECT_EQ(FormatTimeSpan(-5), "0:00:00:00");
}

TEST(CommandActions, ProbeZeroingByGasStatusSource)
{
    using Box = ProbeZeroing::Box;
    struct Case {
        uint8_t source, byte4, byte10;
        uint32_t probeMs;
        uint8_t probeState;
        Box box;
        bool sendNow;
    };
    const Case cases[] = {
        {2, 0x10, 0, 0, 0, Box::NotReady, false},
        {2, 0x00, 0, 0, 0, Box::Instructions, true},
        {1, 0, 0, 14 * 60 * 1000, 0, Box::WarmingUp, false},
        {1, 0, 1, 14 * 60 * 1000, 0, Box::Ask, false},   // byte 10 set: no wait
        {1, 0, 0, 15 * 60 * 1000, 0, Box::Ask, false},
        {1, 0, 0, 15 * 60 * 1000, 1, Box::None, false},
        {0, 0, 0, 0, 0, Box::None, false},
    };
    for (const Case& c : cases) {
        uint8_t gas[kGasStatusSize] = {};
        gas[9] = c.source;
        gas[4] = c.byte4;
        gas[10] = c.byte10;
        const ProbeZeroing z = DecideProbeZeroing(gas, c.probeMs, c.probeState);
        EXPECT_EQ(z.box, c.box) << int(c.source) << "/" << c.probeMs;
        EXPECT_EQ(z.sendNow, c.sendNow);
    }
    uint8_t gas[kGasStatusSize] = {};
    gas[9] = 1;
    EXPECT_EQ(DecideProbeZeroing(gas, 61000, 0).text.rfind("CO2 probe has only been connected for 0:00:01:01\n", 0),
              0u);
}

TEST(CommandActions, VersionPollingPerModel)
{
    struct Case {
        int32_t kind;
        bool matched;
        bool keep, text, framed;
        uint8_t moval;
    };
    const Case cases[] = {
        {kDeviceTarvikPlus, false, true, true, false, 1}, {kDeviceSelvo, false, true, false, true, 0},
        {kDeviceBrindle, false, true, false, true, 0},    {kDeviceSelvo, true, false, false, false, 0},
        {kDeviceMoval, false, false, false, false, 0},    {kDeviceTarvik, false, false, false, false, 0},
    };
    for (const Case& c : cases) {
        const VersionPoll p = DecideVersionPoll(c.kind, c.matched);
        EXPECT_EQ(p.keepPolling, c.keep) << c.kind;
        EXPECT_EQ(p.requestText, c.text) << c.kind;
        EXPECT_EQ(p.requestFramed, c.framed) << c.kind;
        EXPECT_EQ(p.movalTextMode, c.moval) << c.kind;
    }
}
