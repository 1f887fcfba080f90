#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "AppTestSupport.h"
#include "app/NorqEventLogger.h"
#include "platform/Event.h"

namespace {

std::string Path(const std::string& section, const std::string& name)
{
    return MapSectionName(section) + "/" + name;
}

// Every value the start-up save must leave in the store.
std::set<std::string> SavedValuePaths(bool withRecordPath)
{
    std::set<std::string> paths;
    for (const char* name : {"CO2 Save", "Auto Save", "Save All BP Measurements", "Single Instance", "HR from SPO2",
             "BP Notify Tone", "Respiration Tone", "PortNum", "EcgSweep", "CO2Sweep", "Species", "CO2Scale",
             "Heart Rates above 400", "Notch", "Bandwidth", "R-Marker", "QRS Tone", "Grid", "Show SpO2", "Show Resp",
             "Alarm Tones", "Alarms", "Reviewer", "Show O2", "Auto AVImark", "WinBluetooth", "TwoPageReport",
             "RecordMode", "AutoTrend", "EventCapture", "AlarmSnooze", "DefaultWtUnit", "Show Desflurane",
             "Show Enflurane", "Show Halothane", "Show N2O", "O2 Environment", "Primary Agent", "Secondary Agent",
             "Check For Updates", "Sound Profile", "Recent Pointer", "Max ECG Waveforms"})
        paths.insert(Path("Defaults\\Values", name));
    if (withRecordPath)
        paths.insert(Path("Defaults\\Values", "RecordPath"));
    for (const char* name : {"Temp", "Halothane", "Enflurane", "Isoflurane", "Sevoflurane", "Desflurane", "CO2", "O2", "N2O"})
        paths.insert(Path("Defaults\\Units", name));
    for (const char* species : {"Canine", "Feline", "Equine", "Other"}) {
        paths.insert(Path(std::string("Defaults\\BP\\") + species, "Cuff Size"));
        paths.insert(Path(std::string("Defaults\\Alarms\\") + species, "Gain"));
        for (const char* parameter : kAlarmParameterNames)
            for (const char* value : {"High", "Low", "High Enable", "Low Enable"})
                paths.insert(Path(std::string("Defaults\\Alarms\\") + species + "\\" + parameter, value));
    }
    paths.insert(Path("Defaults\\BP\\Settings", "Interval"));
    paths.insert(Path("Defaults\\BP\\Settings", "Initial Pressure"));
    for (int i = 0; i < 25; ++i)
        paths.insert(Path("Defaults\\Values", "Recent" + std::to_string(i)));
    return paths;
}

std::set<std::string> KeysOf(const IProfileStore::Values& values)
{
    std::set<std::string> keys;
    for (const auto& [key, value] : values)
        keys.insert(key);
    return keys;
}

} // namespace

TEST(RemoteConfigurationRecord, HasItsMembersAndCopiesShareNothing)
{
    RemoteConfiguration config;
    int integers = 0, strings = 0;
    RemoteConfiguration::Zip(config, config, [&](const auto& member, const auto&) {
        if constexpr (std::is_same_v<std::decay_t<decltype(member)>, std::string>)
            ++strings;
        else
            ++integers;
    });
    EXPECT_EQ(integers, 452);
    EXPECT_EQ(strings, 35);

    config.clinic = "North Clinic";
    config.alarmLimits[2][5].high = 160;
    config.recent[24] = "last";
    RemoteConfiguration copy = config;
    EXPECT_EQ(copy, config);
    copy.clinic[0] = 'S';
    copy.alarmLimits[2][5].high = 1;
    EXPECT_EQ(config.clinic, "North Clinic");
    EXPECT_EQ(config.alarmLimits[2][5].high, 160);
    RemoteConfiguration assigned;
    assigned = config;
    EXPECT_EQ(assigned, config);
}

TEST(Settings, FirstRunOnAnEmptyStoreGivesFactoryValuesAndSavesEveryValue)
{
    AppOnMemoryStore t;
    t.StartUp();
    CQuorinAppCore& app = t.app;

    EXPECT_EQ(app.m_storedConfig, app.m_factoryConfig);
    EXPECT_EQ(app.m_config, app.m_factoryConfig);
    EXPECT_EQ(app.m_confirmedConfig, app.m_factoryConfig);
    EXPECT_EQ(app.RecordFolder(), app.EpisodeFolder());
    EXPECT_EQ(app.m_config.recordPath, app.EpisodeFolder());

    EXPECT_EQ(KeysOf(t.Store()->ReadAll()), SavedValuePaths(true))
        << "every saved value, and nothing else (no practice texts, no probe uses, no empty hospital)";
    // What is stored reads back as the factory value.
    EXPECT_EQ(t.Store()->ReadValue(Path("Defaults\\Values", "EventCapture")), "300");
    EXPECT_EQ(t.Store()->ReadValue(Path("Defaults\\Alarms\\Feline\\HR", "High")), "200");
}

TEST(Settings, FactoryTablesHoldTheDocumentedValues)
{
    AppOnMemoryStore t;
    t.app.SetDefaultSettings();
    const RemoteConfiguration& f = t.app.m_factoryConfig;

    auto limit = [&](int species, int parameter) {
        const AlarmLimit& l = f.alarmLimits[species][parameter];
        return std::vector<int32_t>{l.high, l.low, l.highEnable, l.lowEnable};
    };
    EXPECT_EQ(limit(0, 0), (std::vector<int32_t>{140, 80, 1, 1}));
    EXPECT_EQ(limit(1, 0), (std::vector<int32_t>{200, 100, 1, 1}));
    EXPECT_EQ(limit(2, 0), (std::vector<int32_t>{160, 40, 1, 1}));
    EXPECT_EQ(limit(3, 0), (std::vector<int32_t>{240, 40, 1, 1}));
    EXPECT_EQ(limit(3, 1), (std::vector<int32_t>{1030, 950, 1, 1}));
    EXPECT_EQ(limit(1, 3), (std::vector<int32_t>{100, 92, 0, 1}));
    EXPECT_EQ(limit(2, 4), (std::vector<int32_t>{20, 0, 1, 0}));
    EXPECT_EQ(limit(1, 5), (std::vector<int32_t>{170, 120, 1, 1}));
    EXPECT_EQ(limit(0, 6), (std::vector<int32_t>{110, 55, 1, 1}));
    EXPECT_EQ(limit(2, 7), (std::vector<int32_t>{120, 60, 1, 1}));
    EXPECT_EQ(limit(0, 8), (std::vector<int32_t>{10, 3, 1, 0}));
    EXPECT_EQ(limit(1, 9), (std::vector<int32_t>{999, 210, 1, 1}));
    EXPECT_EQ(limit(2, 11), (std::vector<int32_t>{53, 39, 1, 1}));
    EXPECT_EQ(limit(3, 12), (std::vector<int32_t>{999, 180, 1, 1}));
    EXPECT_EQ(limit(0, 16), (std::vector<int32_t>{50, 10, 1, 1}));
    EXPECT_EQ(limit(1, 17), (std::vector<int32_t>{80, 10, 1, 1}));
    EXPECT_EQ(limit(2, 23), (std::vector<int32_t>{180, 10, 1, 1}));
    EXPECT_EQ(std::vector<int32_t>(f.units, f.units + 9), (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 0, 1, 1}));
    EXPECT_EQ(f.backgroundColor, 0x000000u);
    EXPECT_EQ(f.separatorColor, 0xA4A4A4u);
    EXPECT_EQ(f.gridColor, 0x404040u);
    EXPECT_EQ(f.showResp2, 1);
    EXPECT_EQ(f.eventCapture, 300);
    EXPECT_EQ(f.initialPressure, 160);
}

namespace {

struct ClampCase {
    const char* section;
    const char* name;
    const char* stored;
    int32_t RemoteConfiguration::*member;
    int32_t expected;
};

} // namespace

TEST(Settings, OutOfRangeValuesAreReplacedOnLoad)
{
    using R = RemoteConfiguration;
    const char* V = "Defaults\\Values";
    const ClampCase cases[] = {
        {V, "Species", "4", &R::species, 0},
        {V, "Species", "3", &R::species, 3},
        {V, "Species", "-1", &R::species, 0},
        {V, "EcgSweep", "9", &R::ecgSweep, 1},
        {V, "EcgSweep", "8", &R::ecgSweep, 8},
        {V, "EcgSweep", "-1", &R::ecgSweep, 1},
        {V, "CO2Sweep", "5", &R::co2Sweep, 2},
        {V, "CO2Sweep", "4", &R::co2Sweep, 4},
        {V, "RecordMode", "2", &R::recordMode, 1},
        {V, "RecordMode", "0", &R::recordMode, 0},
        {V, "WinBluetooth", "7", &R::winBluetooth, 1},
        {V, "WinBluetooth", "0", &R::winBluetooth, 0},
        {V, "TwoPageReport", "-5", &R::twoPageReport, 1},
        {V, "TwoPageReport", "not a number", &R::twoPageReport, 0},
        // Nothing else is checked.
        {V, "PortNum", "-1", &R::portNum, -1},
        {V, "Max ECG Waveforms", "99", &R::maxEcgWaveforms, 99},
    };
    for (const ClampCase& c : cases) {
        AppOnMemoryStore t;
        t.Put(c.section, c.name, c.stored);
        t.StartUp();
        EXPECT_EQ(t.app.m_storedConfig.*c.member, c.expected) << c.name << " stored as " << c.stored;
        EXPECT_EQ(t.app.m_config.*c.member, c.expected) << c.name << " stored as " << c.stored;
    }
}

TEST(Settings, ValuesUsedLaterAsDivisorStepOrIndexGoToTheirFactoryValue)
{
    using R = RemoteConfiguration;
    const char* V = "Defaults\\Values";
    const char* B = "Defaults\\BP\\Settings";
    const ClampCase cases[] = {
        {V, "EcgSweep", "0", &R::ecgSweep, 1},
        {V, "CO2Sweep", "0", &R::co2Sweep, 2},
        {B, "Interval", "8", &R::bpInterval, 3},
        {B, "Interval", "-1", &R::bpInterval, 3},
        {B, "Interval", "7", &R::bpInterval, 7},
        {B, "Interval", "0", &R::bpInterval, 0},
        {V, "Recent Pointer", "25", &R::recentPointer, 0},
        {V, "Recent Pointer", "-2", &R::recentPointer, 0},
        {V, "Recent Pointer", "24", &R::recentPointer, 24},
        {V, "Primary Agent", "0", &R::primaryAgent, 3},
        {V, "Primary Agent", "6", &R::primaryAgent, 3},
        {V, "Primary Agent", "5", &R::primaryAgent, 5},
        {V, "Primary Agent", "1", &R::primaryAgent, 1},
        {V, "Secondary Agent", "0", &R::secondaryAgent, 4},
        {V, "Secondary Agent", "-3", &R::secondaryAgent, 4},
        {V, "Secondary Agent", "2", &R::secondaryAgent, 2},
    };
    for (const ClampCase& c : cases) {
        AppOnMemoryStore t;
        t.Put(c.section, c.name, c.stored);
        t.StartUp();
        EXPECT_EQ(t.app.m_config.*c.member, c.expected) << c.name << " stored as " << c.stored;
        // The corrected value is what the start-up save leaves behind.
        EXPECT_EQ(t.Store()->ReadValue(Path(c.section, c.name)), std::to_string(c.expected)) << c.name;
    }

    for (const int species : {0, 3}) {
        AppOnMemoryStore t;
        const std::string name = kSpeciesNames[species];
        t.Put("Defaults\\Alarms\\" + name, "Gain", "5");
        t.Put("Defaults\\BP\\" + name, "Cuff Size", "7");
        t.StartUp();
        EXPECT_EQ(t.app.m_config.gain[species], 1) << name;
        EXPECT_EQ(t.app.m_config.cuffSize[species], 2) << name;
    }
    AppOnMemoryStore edge;
    edge.Put("Defaults\\Alarms\\Feline", "Gain", "4");
    edge.Put("Defaults\\BP\\Feline", "Cuff Size", "6");
    edge.Put("Defaults\\Alarms\\Equine", "Gain", "-1");
    edge.Put("Defaults\\BP\\Equine", "Cuff Size", "0");
    edge.StartUp();
    EXPECT_EQ(edge.app.m_config.gain[1], 4);
    EXPECT_EQ(edge.app.m_config.cuffSize[1], 6);
    EXPECT_EQ(edge.app.m_config.gain[2], 1);
    EXPECT_EQ(edge.app.m_config.cuffSize[2], 0);
}

TEST(Settings, SetUpValuesSentToTheRemoteOutsideTheDialogsRangeGoToTheirFactoryValueWithALogLine)
{
    TempFolder documents;
    const char* before = std::getenv("XDG_DOCUMENTS_DIR");
    const std::string documentsBefore = before != nullptr ? before : "";
    setenv("XDG_DOCUMENTS_DIR", documents.Path().c_str(), 1);
    CNorqEventLogger::RearmForTests();
    size_t logSeen = 0;
    auto newLog = [&logSeen] {
        CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
        if (logger == nullptr || !logger->WaitForWriter(5000))
            return std::string();
        std::stringstream text;
        text << std::ifstream(logger->FullPath()).rdbuf();
        const std::string all = text.str();
        const std::string fresh = all.substr(std::min(logSeen, all.size()));
        logSeen = all.size();
        return fresh;
    };

    using R = RemoteConfiguration;
    using Read = int32_t (*)(const R&);
    const Read pressure = [](const R& c) { return c.initialPressure; };
    const Read canineApnea = [](const R& c) { return c.alarmLimits[0][4].high; };
    const Read otherApnea = [](const R& c) { return c.alarmLimits[3][4].high; };
    const char* B = "Defaults\\BP\\Settings";
    const char* canine = "Defaults\\Alarms\\Canine\\Apnea";
    const char* other = "Defaults\\Alarms\\Other\\Apnea";
    const struct {
        const char* section;
        const char* name;
        const char* stored;
        Read read;
        int32_t expected;
    } cases[] = {
        {B, "Initial Pressure", "4000", pressure, 160},
        {B, "Initial Pressure", "-1", pressure, 160},
        {B, "Initial Pressure", "301", pressure, 160},
        {B, "Initial Pressure", "300", pressure, 300},
        {B, "Initial Pressure", "0", pressure, 0},
        {canine, "High", "0", canineApnea, 20},
        {canine, "High", "19", canineApnea, 20},
        {canine, "High", "61", canineApnea, 20},
        {canine, "High", "60", canineApnea, 60},
        {other, "High", "-5", otherApnea, 20},
        {other, "High", "45", otherApnea, 45},
    };
    for (const auto& c : cases) {
        AppOnMemoryStore t;
        t.Put(c.section, c.name, c.stored);
        t.StartUp();
        const std::string what = std::string(c.section) + "\\" + c.name + " stored as " + c.stored;
        EXPECT_EQ(c.read(t.app.m_config), c.expected) << what;
        EXPECT_EQ(c.read(t.app.m_storedConfig), c.expected) << what;
        EXPECT_EQ(t.Store()->ReadValue(Path(c.section, c.name)), std::to_string(c.expected)) << what;
        // What was stored stays in the log once the save has replaced it.
        const bool replaced = std::to_string(c.expected) != c.stored;
        const std::string line = "\"" + std::string(c.section) + "\\" + c.name + "\" held " + c.stored + ",";
        EXPECT_EQ(newLog().find(line) != std::string::npos, replaced) << what;
    }
    CNorqEventLogger::RearmForTests();
    if (before != nullptr)
        setenv("XDG_DOCUMENTS_DIR", documentsBefore.c_str(), 1);
    else
        unsetenv("XDG_DOCUMENTS_DIR");
}

TEST(Settings, WinBluetoothSavesAsZeroOrOne)
{
    AppOnMemoryStore t;
    t.Put("Defaults\\Values", "WinBluetooth", "7");
    t.StartUp();
    EXPECT_EQ(t.Store()->ReadValue(Path("Defaults\\Values", "WinBluetooth")), "1");
    t.app.m_storedConfig.twoPageReport = -9;
    ASSERT_TRUE(t.app.SaveSettings());
    EXPECT_EQ(t.Store()->ReadValue(Path("Defaults\\Values", "TwoPageReport")), "1");
}

TEST(Settings, SoundProfileSelectsTheViewColours)
{
    struct Case { const char* profile; COLORREF background, separator, grid; };
    const Case cases[] = {
        {"1", 0x1E0F00, 0xFFFFFF, 0x910505},
        {"2", 0x052204, 0x5A78FF, 0x3C6E6E},
        {"3", 0x190032, 0xFF4040, 0x323280},
        {"7", 0x000000, 0xA4A4A4, 0x404040},
        {"-1", 0x000000, 0xA4A4A4, 0x404040},
    };
    for (const Case& c : cases) {
        AppOnMemoryStore t;
        t.Put("Defaults\\Values", "Sound Profile", c.profile);
        t.StartUp();
        const RemoteConfiguration& config = t.app.m_config;
        EXPECT_EQ(config.backgroundColor, c.background) << c.profile;
        EXPECT_EQ(config.separatorColor, c.separator) << c.profile;
        EXPECT_EQ(config.gridColor, c.grid) << c.profile;
        EXPECT_EQ(std::to_string(config.soundProfile), c.profile) << "the profile itself is kept";
    }
}

TEST(Settings, RecordFolderFallsBackWhenRecordPathCannotBeUsed)
{
    {
        AppOnMemoryStore t;
        const std::string unreachable = t.folder / "missing-parent/records";
        t.Put("Defaults\\Values", "RecordPath", unreachable);
        t.StartUp();
        EXPECT_EQ(t.app.RecordFolder(), t.app.EpisodeFolder());
        EXPECT_EQ(t.app.m_config.recordPath, unreachable) << "RecordPath keeps its text";
        EXPECT_FALSE(std::filesystem::exists(t.folder / "missing-parent")) << "no parents are made";
    }
    {
        AppOnMemoryStore t;
        const std::string fresh = t.folder / "records";
        t.Put("Defaults\\Values", "RecordPath", fresh);
        t.StartUp();
        EXPECT_EQ(t.app.RecordFolder(), fresh);
        EXPECT_TRUE(std::filesystem::is_directory(fresh));
        t.app.LoadSettings();
        EXPECT_EQ(t.app.RecordFolder(), fresh) << "an existing folder is used";
    }
    {
        AppOnMemoryStore t;
        const std::string file = t.folder / "a-file";
        std::ofstream(file) << "x";
        t.Put("Defaults\\Values", "RecordPath", file);
        t.StartUp();
        EXPECT_EQ(t.app.RecordFolder(), t.app.EpisodeFolder()) << "a file is no folder to record into";
    }
    {
        AppOnMemoryStore t;
        t.Put("Defaults\\Values", "RecordPath", "");
        t.StartUp();
        EXPECT_EQ(t.app.RecordFolder(), t.app.EpisodeFolder());
        EXPECT_EQ(t.app.m_config.recordPath, "");
    }
}

TEST(Settings, EmptyHospitalOrRecordPathLeavesTheOlderValue)
{
    AppOnMemoryStore t;
    t.Put("Defaults\\Values", "Hospital", "H-17");
    t.Put("Defaults\\Values", "RecordPath", t.folder / "old-records");
    t.StartUp();
    EXPECT_EQ(t.app.m_config.hospital, "H-17");

    t.app.m_storedConfig.hospital.clear();
    t.app.m_storedConfig.recordPath.clear();
    ASSERT_TRUE(t.app.SaveSettings());
    EXPECT_EQ(t.Store()->ReadValue(Path("Defaults\\Values", "Hospital")), "H-17");
    EXPECT_EQ(t.Store()->ReadValue(Path("Defaults\\Values", "RecordPath")), t.folder / "old-records");
}

TEST(Settings, EverySavedMemberSurvivesASaveAndALoad)
{
    AppOnMemoryStore first;
    first.app.SetDefaultSettings();

    // Change every member, then bring those with a range back inside it.
    RemoteConfiguration changed = first.app.m_factoryConfig;
    int n = 1000;
    RemoteConfiguration::Zip(changed, changed, [&n](auto& member, auto&) {
        if constexpr (std::is_same_v<std::decay_t<decltype(member)>, std::string>)
            member = "text " + std::to_string(n++);
        else
            member = static_cast<std::decay_t<decltype(member)>>(n++);
    });
    changed.ecgSweep = 8;
    changed.co2Sweep = 4;
    changed.species = 2;
    changed.recordMode = 0;
    changed.winBluetooth = 0;
    changed.twoPageReport = 1;
    changed.primaryAgent = 5;
    changed.secondaryAgent = 1;
    changed.bpInterval = 6;
    changed.recentPointer = 17;
    changed.soundProfile = 3;
    changed.initialPressure = 250;
    for (int s = 0; s < kSpeciesCount; ++s) {
        changed.gain[s] = s == 1 ? 4 : s;
        changed.cuffSize[s] = 3 + s;
        changed.alarmLimits[s][4].high = 30 + s;
    }
    changed.recordPath = first.folder / "chosen";
    int unchanged = 0;
    RemoteConfiguration::Zip(changed, first.app.m_factoryConfig, [&](const auto& a, const auto& b) {
        unchanged += a == b ? 1 : 0;
    });
    ASSERT_EQ(unchanged, 0);

    first.app.m_config = changed;
    first.app.m_storedConfig = changed;
    ASSERT_TRUE(first.app.SaveSettings());
    ASSERT_TRUE(first.app.SaveClinicInfo());
    first.app.m_storedConfig.gasProbeUses = changed.gasProbeUses;
    ASSERT_TRUE(first.Store()->WriteProfileInt("Defaults\\Values", "Gas Probe Uses", changed.gasProbeUses));

    AppOnMemoryStore second;
    ASSERT_TRUE(second.Store()->ReplaceAll(first.Store()->ReadAll()));
    second.app.SetDefaultSettings();
    second.app.LoadSettings();

    RemoteConfiguration expected = changed;
    expected.showResp2 = changed.showResp;                          // loaded from "Show Resp"
    expected.spareFlag = second.app.m_factoryConfig.spareFlag;      // never stored
    expected.SetColorsFromProfile(3);
    EXPECT_EQ(second.app.m_storedConfig, expected);
    EXPECT_EQ(second.app.m_config, expected);
    EXPECT_EQ(second.app.m_confirmedConfig, expected);
}

TEST(Settings, RecentListAndPracticeTextsAreSavedOnTheirOwn)
{
    AppOnMemoryStore t;
    t.app.SetDefaultSettings();
    t.app.LoadSettings();
    t.app.m_config.recent[3] = "Rex|Smith";
    t.app.m_config.recentPointer = 4;
    t.app.m_config.clinic = "Hill Vets";
    t.app.m_config.email = "desk@hill.example";
    t.app.m_config.portNum = 12;

    ASSERT_TRUE(t.app.SaveRecentList());
    EXPECT_EQ(t.app.m_storedConfig.recent[3], "Rex|Smith");
    EXPECT_EQ(t.app.m_storedConfig.recentPointer, 4);
    EXPECT_EQ(t.app.m_storedConfig.clinic, "") << "only the recent list is copied";
    ASSERT_TRUE(t.app.SaveClinicInfo());

    const auto values = t.Store()->ReadAll();
    EXPECT_EQ(values.size(), 25u + 1u + 8u);
    EXPECT_EQ(values.at(Path("Defaults\\Values", "Recent3")), "Rex|Smith");
    EXPECT_EQ(values.at(Path("Defaults\\Values", "Recent Pointer")), "4");
    EXPECT_EQ(values.at(Path("Defaults\\Values", "Clinic")), "Hill Vets");
    EXPECT_EQ(values.at(Path("Defaults\\Values", "Email")), "desk@hill.example");
    EXPECT_EQ(values.at(Path("Defaults\\Values", "Zip")), "");
    EXPECT_EQ(values.count(Path("Defaults\\Values", "PortNum")), 0u);
}

TEST(Settings, AStoreThatRefusesWritesReportsTheFailedSave)
{
    AppOnMemoryStore t;
    t.app.SetDefaultSettings();
    t.app.LoadSettings();
    t.Store()->SetReadOnly(true);
    EXPECT_FALSE(t.app.SaveSettings());
    EXPECT_FALSE(t.app.SaveRecentList());
    EXPECT_FALSE(t.app.SaveClinicInfo());

    CQuorinAppCore noStore({});
    noStore.SetDefaultSettings();
    noStore.LoadSettings();
    EXPECT_EQ(noStore.m_config, noStore.m_factoryConfig) << "no store: factory values";
    EXPECT_FALSE(noStore.SaveSettings());
}

TEST(SettingsFiles, ExportChangeImportRestoresAndDropsValuesNotInTheFile)
{
    AppOnMemoryStore t;
    t.StartUp();
    const std::string file = t.folder / "clinic.Quorin";
    std::ofstream(file) << "an old export";

    ASSERT_TRUE(t.app.BackupSettings("HKCU", kProgramKey, file));
    const IProfileStore::Values exported = t.Store()->ReadAll();

    t.app.m_storedConfig.portNum = 7;
    ASSERT_TRUE(t.app.SaveSettings());
    t.Put("Defaults\\Values", "Added Later", "1");

    ASSERT_TRUE(t.app.RestoreSettings("hkcu", file, kProgramKey));
    EXPECT_EQ(t.Store()->ReadAll(), exported);
    t.app.LoadSettings();
    EXPECT_EQ(t.app.m_config.portNum, 0);
}

TEST(SettingsFiles, ExportOfAMissingOrEmptyKeyFails)
{
    AppOnMemoryStore t;
    t.StartUp();
    const std::string file = t.folder / "out.Quorin";
    EXPECT_FALSE(t.app.BackupSettings("HKCU", "Software\\Nobody\\nothing", file));
    EXPECT_FALSE(t.app.BackupSettings("HKLM", kProgramKey, file)) << "another root is the system's store";
    t.keys.Key(SettingsScope::User, "Software\\Norq Technology\\empty");
    EXPECT_FALSE(t.app.BackupSettings("HKCU", "Software\\Norq Technology\\empty", file));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(SettingsFiles, AMissingOrGarbageImportChangesNothing)
{
    AppOnMemoryStore t;
    t.StartUp();
    const IProfileStore::Values before = t.Store()->ReadAll();

    EXPECT_FALSE(t.app.RestoreSettings("HKCU", t.folder / "none.Quorin", kProgramKey));
    std::ofstream(t.folder / "garbage.Quorin") << "\x01\x02 not settings\n[x\n";
    EXPECT_FALSE(t.app.RestoreSettings("HKCU", t.folder / "garbage.Quorin", kProgramKey));
    EXPECT_EQ(t.Store()->ReadAll(), before);
}

TEST(Settings, WorkersReadIntegersWhileTheUiThreadReplacesTheRecord)
{
    AppOnMemoryStore t;
    t.StartUp();
    RemoteConfiguration a = t.app.m_config, b = t.app.m_config;
    a.portNum = 3;
    b.portNum = 4;
    std::atomic<bool> stop{false};
    CEvent readerStarted;
    std::atomic<int> unexpected{0};
    std::thread reader([&] {
        readerStarted.Set();
        while (!stop.load()) {
            const int32_t port = LoadRelaxed(t.app.m_config.portNum);
            if (port != 0 && port != 3 && port != 4)
                ++unexpected;
        }
    });
    ASSERT_TRUE(readerStarted.Wait(10000));
    for (int i = 0; i < 2000; ++i)
        t.app.m_config = (i % 2 == 0) ? a : b;
    stop = true;
    reader.join();
    EXPECT_EQ(unexpected.load(), 0);
    EXPECT_EQ(t.app.m_config.portNum, 4);
}
