// The remote's on-screen menu on a fake view and a fake clock: which menu,
// the highlight, the items' actions and banners, the ids the remote is
// told, the expiry across the tick count's wrap.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MenuCommands.h"
#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "view/RemoteMenu.h"

namespace {

using Log = std::vector<std::string>;

class FakeMenuView : public IRemoteMenuView {
public:
    uint32_t Tick() const override { return now; }
    int32_t DeviceKind() const override { return kind; }
    uint16_t FeatureBits() const override { return kFeatureEcg; }
    bool DentalRejection() const override { return dental; }
    int StreamProtocol() const override { return protocol; }
    void SendMenuId(uint16_t id) override { ids.push_back(id); }
    void Redraw() override {}
    RemoteConfiguration& Config() override { return config; }
    int32_t Species() const override { return species; }
    int32_t GainIndex() const override { return gain; }
    void RunCommand(uint32_t id) override
    {
        // Each command's own effect, so that the banner reads it back.
        switch (id) {
        case menu::kGrid: config.grid = !config.grid; break;
        case menu::kSweepCycle: config.ecgSweep = 4; break;
        case menu::kGainCycle: gain = 3; break;
        case menu::kRWaveMarker: config.rMarker = !config.rMarker; break;
        case menu::kQrsTone: config.qrsTone = !config.qrsTone; break;
        default: break;
        }
        calls.push_back("command " + std::to_string(id));
    }
    void ToggleShowSpO2() override { Call("spo2", config.showSpO2 = !config.showSpO2); }
    void ToggleShowResp() override { Call("resp", config.showResp = !config.showResp); }
    void OnSilenceAlarm() override { calls.push_back("silence"); }
    void OnToggleAlarms() override { Call("alarms", config.alarms = !config.alarms); }
    bool Snoozing() const override { return snoozing; }
    void ShowBanner(const std::string& text) override { banners.push_back(text); }
    void PostEnableAlarmTone(bool on) override { calls.push_back(on ? "post tone on" : "post tone off"); }
    void PostInvalidate() override { calls.push_back("post invalidate"); }
    void ToggleRecordingFromRemote() override { Call("record", recording = !recording); }
    bool IsRecording() const override { return recording; }
    bool BloodPressureRunning() const override { return bpRunning; }
    void ToggleBloodPressure() override { Call("bp toggle", bpRunning = !bpRunning); }
    void StartBloodPressureWithChosenCuff() override { Call("bp start", bpRunning = true); }
    void SetPatientSpecies(int32_t code, const std::string& text) override
    {
        Call("species " + std::to_string(code) + " " + text, species = code);
    }
    void NewPatientFromRemote() override
    {
        calls.push_back("new patient");
        if (duringNewPatient)
            duringNewPatient();
    }
    void Call(const std::string& what, int32_t) { calls.push_back(what); }

    uint32_t now = 1000;
    int32_t kind = kDeviceTarvikPlus;
    int protocol = 2;
    bool dental = false;
    int32_t species = 0;
    int32_t gain = 1;
    bool snoozing = false;
    bool recording = false;
    bool bpRunning = false;
    RemoteConfiguration config;
    std::vector<uint16_t> ids;
    Log calls;
    Log banners;
    std::function<void()> duringNewPatient;
};

// Moves the highlight to `item` of the shown menu and selects it.
void Choose(CRemoteMenu& menu, int32_t item)
{
    while (menu.menuItem != item)
        menu.Next();
    menu.Select();
}

}  // namespace

TEST(RemoteMenu, EachKindGetsItsMenuAndTheHighlightWraps)
{
    const struct {
        int32_t kind;
        const RemoteMenu* menu;
        const char* first;
    } cases[] = {
        {kDeviceUnknown, &kRemoteMenu12, "SILENCE ALARM"}, {kDeviceTarvik, &kRemoteMenuA, "SPECIES..."},
        {kDeviceTarvikPlus, &kRemoteMenuB, "SPECIES..."},  {kDeviceMoval, &kRemoteMenu12, "SILENCE ALARM"},
        {kDeviceSelvo, &kRemoteMenuA, "SPECIES..."},       {kDeviceBrindle, &kRemoteMenuB, "SPECIES..."},
    };
    for (const auto& c : cases) {
        FakeMenuView view;
        view.kind = c.kind;
        CRemoteMenu menu(view);
        menu.Next();  // closed: nothing moves, nothing opens
        EXPECT_FALSE(menu.IsShown());
        menu.Select();
        ASSERT_EQ(menu.menuDescriptor, c.menu) << c.kind;
        const int32_t last = c.menu->count - 1;
        EXPECT_EQ(menu.menuItem, last);
        EXPECT_STREQ(c.menu->items[last], "EXIT...");
        EXPECT_STREQ(c.menu->items[0], c.first);
        menu.Next();
        EXPECT_EQ(menu.menuItem, 0);
        menu.Previous();
        EXPECT_EQ(menu.menuItem, last);
        EXPECT_EQ(view.ids, std::vector<uint16_t>{2});
    }
}

TEST(RemoteMenu, SelectKeepsShowsOrClosesAndTellsTheRemoteOnlyInContainers)
{
    struct Case {
        const char* what;
        int protocol;
        std::vector<int32_t> choices;  // items selected after the opening select
        const char* title;             // null: closed
        int32_t item;
        std::vector<uint16_t> ids;
    };
    const Case cases[] = {
        {"grid keeps grid", 2, {2}, "REMOTE MENU", 2, {2, 2}},
        {"species menu at EXIT", 2, {0}, "SPECIES MENU", 4, {2, 3}},
        {"species EXIT back", 2, {0, 4}, "REMOTE MENU", 12, {2, 3, 2}},
        {"new patient NO back", 2, {1, 1}, "REMOTE MENU", 12, {2, 10, 2}},
        {"EXIT closes", 2, {12}, nullptr, 0, {2, 0}},
        {"legacy stream: no ids", 1, {0, 4, 12}, nullptr, 0, {}},
        {"unknown stream: no ids", 0, {1}, "NEW PATIENT MENU", 2, {}},
    };
    for (const Case& c : cases) {
        FakeMenuView view;
        view.protocol = c.protocol;
        CRemoteMenu menu(view);
        menu.Select();
        for (const int32_t item : c.choices)
            Choose(menu, item);
        if (c.title == nullptr) {
            EXPECT_FALSE(menu.IsShown()) << c.what;
        } else {
            ASSERT_TRUE(menu.IsShown()) << c.what;
            EXPECT_STREQ(menu.menuDescriptor->title, c.title) << c.what;
            EXPECT_EQ(menu.menuItem, c.item) << c.what;
        }
        EXPECT_EQ(view.ids, c.ids) << c.what;
        for (const uint16_t id : view.ids)
            EXPECT_LE(id, 10) << c.what;
    }
}

TEST(RemoteMenu, EveryItemActsAndShowsItsBanner)
{
    struct Case {
        const char* what;
        int32_t kind;
        int32_t item;
        int32_t alarms, tones;
        bool snoozing;
        Log calls;
        Log banners;
    };
    const std::string grid = "command " + std::to_string(menu::kGrid);
    const Case cases[] = {
        {"silence, alarms on", kDeviceMoval, 0, 1, 1, false, {"post tone off", "post invalidate"}, {" Alarm Silenced "}},
        {"silence, alarms off", kDeviceMoval, 0, 0, 0, false, {"post invalidate"}, {" Alarm Enabled  "}},
        {"grid", kDeviceTarvikPlus, 2, 1, 1, false, {grid}, {" Grid ON "}},
        {"sweep", kDeviceTarvikPlus, 3, 1, 1, false, {"command 8690"}, {" Sweep: 100mm/sec "}},
        {"gain", kDeviceTarvikPlus, 4, 1, 1, false, {"command 8680"}, {" Gain: (x3.0) 30mm/mV "}},
        {"marker", kDeviceTarvikPlus, 5, 1, 1, false, {"command 8700"}, {" R-Wave Marker: ON "}},
        {"tone", kDeviceTarvikPlus, 6, 1, 1, false, {"command 8720"}, {" R-Wave Tone: ON "}},
        {"spo2", kDeviceTarvikPlus, 7, 1, 1, false, {"spo2"}, {" SpO2 Waveform: ON "}},
        {"resp", kDeviceTarvikPlus, 8, 1, 1, false, {"resp"}, {" RR Waveform: ON "}},
        {"alarms", kDeviceTarvikPlus, 9, 1, 1, false, {"alarms"}, {" Alarms: OFF "}},
        {"alarm tone on", kDeviceTarvikPlus, 10, 1, 1, false, {"silence"}, {" Alarm Silenced "}},
        {"alarm tone, snoozing", kDeviceTarvikPlus, 10, 1, 1, true, {}, {}},
        {"alarm tone off", kDeviceTarvikPlus, 10, 1, 0, false, {"silence"}, {" Alarm Tone Enabled  "}},
        {"alarm tone off, snoozed", kDeviceTarvik, 10, 1, 0, true, {"silence"}, {" Alarm Tone Disabled  "}},
        {"alarm tone, alarms off", kDeviceTarvik, 10, 0, 1, false, {}, {}},
        {"record", kDeviceTarvik, 11, 1, 1, false, {"record"}, {" Recording: ON "}},
        {"12-item alarms", kDeviceMoval, 8, 0, 1, false, {"alarms"}, {" Alarms: ON "}},
    };
    for (const Case& c : cases) {
        FakeMenuView view;
        view.kind = c.kind;
        view.snoozing = c.snoozing;
        view.config.alarms = c.alarms;
        view.config.alarmTones = c.tones;
        view.config.ecgSweep = 1;
        view.dental = true;  // the banner leaves the word out
        CRemoteMenu menu(view);
        menu.Select();
        Choose(menu, c.item);
        EXPECT_EQ(view.calls, c.calls) << c.what;
        EXPECT_EQ(view.banners, c.banners) << c.what;
        ASSERT_TRUE(menu.IsShown()) << c.what;
        EXPECT_EQ(menu.menuItem, c.item) << c.what;
    }
    // The 12-item menu's silence switches the tones themselves.
    FakeMenuView view;
    view.kind = kDeviceMoval;
    view.config.alarms = 1;
    view.config.alarmTones = 1;
    CRemoteMenu menu(view);
    menu.Select();
    Choose(menu, 0);
    EXPECT_EQ(view.config.alarmTones, 0);
}

TEST(RemoteMenu, SpeciesAndNewPatient)
{
    const struct {
        std::vector<int32_t> choices;  // after opening, from the 13-item menu
        Log calls;
    } cases[] = {
        {{0, 2}, {"species 2 Equine"}},
        {{0, 3}, {"species 3 Other"}},
        {{0, 4}, {}},
        {{1, 0}, {"new patient"}},
        {{1, 1}, {}},
    };
    for (const auto& c : cases) {
        FakeMenuView view;
        CRemoteMenu menu(view);
        menu.Select();
        for (const int32_t item : c.choices)
            Choose(menu, item);
        EXPECT_EQ(view.calls, c.calls);
        EXPECT_EQ(menu.menuDescriptor, &kRemoteMenuB);
    }

    // A second YES while the first one's dialogs run does nothing.
    FakeMenuView view;
    CRemoteMenu menu(view);
    int nested = 0;
    view.duringNewPatient = [&] {
        if (nested++ == 0)
            menu.Select();
    };
    menu.Select();
    Choose(menu, 1);
    Choose(menu, 0);
    EXPECT_EQ(view.calls, Log{"new patient"});
    EXPECT_EQ(nested, 1);
    Choose(menu, 1);
    Choose(menu, 0);  // the guard is down again
    EXPECT_EQ(view.calls, (Log{"new patient", "new patient"}));
}

TEST(RemoteMenu, CuffMenuFromTheBloodPressureButton)
{
    const struct {
        int32_t cuff;
        bool running;
        int32_t choose;  // -1: only the button
        int32_t highlighted;
        Log calls;
        int32_t cuffAfter;
        std::vector<uint16_t> ids;
    } cases[] = {
        {3, false, -1, 3, {}, 3, {1}},
        {9, false, -1, 7, {}, 9, {1}},
        {-1, false, -1, 7, {}, -1, {1}},
        {2, false, 5, 2, {"bp start"}, 5, {1, 0}},
        {2, false, 7, 2, {}, 2, {1, 0}},
        {2, true, -1, -1, {"bp toggle"}, 2, {0}},
    };
    for (const auto& c : cases) {
        FakeMenuView view;
        view.species = 1;
        view.config.cuffSize[1] = c.cuff;
        view.bpRunning = c.running;
        CRemoteMenu menu(view);
        menu.BloodPressureButton();
        if (c.highlighted >= 0) {
            ASSERT_EQ(menu.menuDescriptor, &kCuffMenu);
            EXPECT_EQ(menu.menuItem, c.highlighted);
        }
        if (c.choose >= 0)
            Choose(menu, c.choose);
        if (c.choose >= 0 || c.running) {
            EXPECT_FALSE(menu.IsShown()) << c.cuff;
        }
        EXPECT_EQ(view.calls, c.calls) << c.cuff;
        EXPECT_EQ(view.config.cuffSize[1], c.cuffAfter) << c.cuff;
        EXPECT_EQ(view.config.cuffSize[0], 0);  // only the patient's species
        EXPECT_EQ(view.ids, c.ids) << c.cuff;
    }
}

TEST(RemoteMenu, ClosesTenSecondsAfterTheLastButtonAcrossTheTickWrap)
{
    for (const uint32_t start : {1000u, 0xFFFFFFFFu - 4000u, 0xFFFFFFFFu}) {
        FakeMenuView view;
        view.now = start;
        CRemoteMenu menu(view);
        menu.Select();
        view.now = start + 6000;
        EXPECT_FALSE(menu.CloseIfExpired()) << start;
        menu.Next();  // a button starts the ten seconds again
        view.now = start + 6000 + kRemoteMenuTimeoutMs;
        EXPECT_FALSE(menu.CloseIfExpired()) << start;
        EXPECT_TRUE(menu.IsShown()) << start;
        view.now += 1;
        EXPECT_TRUE(menu.CloseIfExpired()) << start;
        EXPECT_FALSE(menu.IsShown()) << start;
        EXPECT_EQ(view.ids, (std::vector<uint16_t>{2, 0})) << start;
        EXPECT_FALSE(menu.CloseIfExpired()) << start;
    }
}
