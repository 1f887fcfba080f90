#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/QuorinAppCore.h"
#include "config/qt/ConfigGeneralDlg.h"
#include "config/qt/ConfigTabDlg.h"
#include "link/LiveData.h"
#include "platform/FolderChooser.h"

namespace {

class GeneralPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLiveStore();
        m_app.SetDefaultSettings();
        m_app.m_config = m_app.m_factoryConfig;
    }
    void TearDown() override { ResetLiveStore(); }

    ConfigGeneralDlg& Open(ConfigMode mode, bool bluetoothUsable = false, bool demo = false, int programs = 0)
    {
        ConfigTabDlg::Setup setup;
        setup.app = &m_app;
        setup.prompter = m_prompter.get();
        setup.folderChooser = &m_folders;
        setup.mode = mode;
        m_dialog = std::make_unique<ConfigTabDlg>(setup, FillWorkingCopy(m_app.m_config, bluetoothUsable));
        m_dialog->TabCtrl().services.demo = demo;
        m_dialog->TabCtrl().services.ecgProgramsPresent = programs;
        m_dialog->OnInitDialog();
        return *static_cast<ConfigGeneralDlg*>(m_dialog->TabCtrl().Page(kPageGeneral));
    }
    ConfigWorkingCopy& Copy() { return m_dialog->TabCtrl().WorkingCopy(); }
    ConfigGeneralDlg& Page() { return *static_cast<ConfigGeneralDlg*>(m_dialog->TabCtrl().Page(kPageGeneral)); }
    bool Shown(int id) { return Page().Control(id)->isVisibleTo(&Page()); }
    QCheckBox* Box(int id) { return qobject_cast<QCheckBox*>(Page().Control(id)); }
    QComboBox* List(int id) { return qobject_cast<QComboBox*>(Page().Control(id)); }
    // As the user picks an entry.
    void Choose(int id, const char* text)
    {
        QComboBox* list = List(id);
        const int index = list->findText(text);
        ASSERT_GE(index, 0) << text;
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    std::vector<std::string> Entries(int id)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < List(id)->count(); ++i)
            entries.push_back(List(id)->itemText(i).toStdString());
        return entries;
    }
    void ExpectShown(const std::vector<int>& shown, const std::vector<int>& hidden)
    {
        for (const int id : shown)
            EXPECT_TRUE(Shown(id)) << id;
        for (const int id : hidden)
            EXPECT_FALSE(Shown(id)) << id;
    }

    CQuorinAppCore m_app{{}};
    std::unique_ptr<CScriptedPrompter> m_prompter = std::make_unique<CScriptedPrompter>();
    CScriptedFolderChooser m_folders;
    std::unique_ptr<ConfigTabDlg> m_dialog;
};

const std::vector<int> kInstallationWide = {5640, 3400, 3410, 5350, 5380, 4820, 3720, 3920, 4780, 3930,
                                            3860, 3850, 3940, 3970, 1369, 1346, 1377, 4252, 3990};

}  // namespace

TEST_F(GeneralPage, TheDefaultsShowTheInstallationSettings)
{
    struct Case {
        bool bluetoothUsable;
        int32_t winBluetooth;
        int32_t autoSave;
        int programs;
        bool portChecked;
        std::vector<int> shown, hidden;
    } const cases[] = {
        // The box shows the automatic port that OK stores, with or without
        // the system's own Bluetooth support.
        {false, 1, 1, 3, false, {5640, 6050, 5710, 3900, 5410, 3890}, {6110, 4220, 1352, 3990}},
        {true, 1, 0, 1, false, {5640, 3400, 1356}, {6110, 4220, 6050, 5710, 3900, 5410, 3890, 1352, 3990}},
        {true, 0, 1, 2, true, {6110, 4220, 6050}, {3900}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programs);
        m_app.m_config.winBluetooth = c.winBluetooth;
        m_app.m_config.autoSave = c.autoSave;
        Open(kConfigDefaults, c.bluetoothUsable, false, c.programs);
        EXPECT_EQ(Box(5640)->isChecked(), c.portChecked);
        ExpectShown(c.shown, c.hidden);
        Box(3940)->click();
        EXPECT_EQ(Shown(6050), c.autoSave == 0);
        EXPECT_EQ(Copy().autoSave, c.autoSave == 0 ? 1 : 0);
    }
}

// "Specify Com Port Number?" shows what OK stores as "WinBluetooth" (0 when
// checked), and a port it names must be one.
TEST_F(GeneralPage, TheComPortBoxShowsWhatOkStores)
{
    struct Case {
        bool bluetoothUsable;
        int32_t winBluetooth, portNum;
        bool click;          // the box, before typing
        const char* typed;   // into the port, when it shows
        bool checked;        // after the click
        int32_t storedWinBluetooth, storedPort;
        bool refused;
    } const cases[] = {
        {false, 1, 0, false, nullptr, false, 1, 0, false},
        {false, 1, 0, true, "7", true, 0, 7, false},
        {true, 1, 3, true, "0", true, 1, 3, true},
        {true, 0, 4, false, "0", true, 0, 4, true},
        {true, 0, 4, true, nullptr, false, 1, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.winBluetooth << " " << c.click << " " << (c.typed ? c.typed : "-"));
        m_app.m_config.winBluetooth = c.winBluetooth;
        m_app.m_config.portNum = c.portNum;
        m_prompter = std::make_unique<CScriptedPrompter>();
        ConfigGeneralDlg& page = Open(kConfigDefaults, c.bluetoothUsable);
        if (c.click)
            Box(5640)->click();
        EXPECT_EQ(Box(5640)->isChecked(), c.checked);
        EXPECT_EQ(Shown(4220), c.checked);
        if (c.typed != nullptr) {
            auto* port = qobject_cast<QLineEdit*>(page.Control(4220));
            port->selectAll();
            QTest::keyClicks(port, c.typed);
        }
        m_dialog->accept();
        ASSERT_TRUE(m_dialog->Result().has_value());
        EXPECT_EQ(m_dialog->Result()->config.winBluetooth, c.storedWinBluetooth);
        EXPECT_EQ(m_dialog->Result()->config.portNum, c.storedPort);
        const auto prompts = m_prompter->Prompts();
        ASSERT_EQ(prompts.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(prompts[0].caption, "Com Port Error");
        }
    }
}

TEST_F(GeneralPage, TheCurrentSettingsShowWhatTheRemoteMeasures)
{
    // The grid box is not among them: it shows alone, in its frame.
    const std::vector<int> ecg = {4320, 4380, 4360, 1365, 3840, 3830, 1367, 4230, 4041, 4251};
    struct Case {
        int32_t kind;
        uint16_t bits;
        bool demo;
        std::vector<int> shown, hidden;
    } const cases[] = {
        {kDeviceTarvik, 0x7F, false, {3710, 5550, 5590, 4041, 4251, 4360, 4250}, {5610}},
        {kDeviceTarvikPlus, 0x7F, false, {3710, 5610}, {}},
        {kDeviceTarvikPlus, 0x3F, true, {3710, 5550}, {5610, 4360}},
        // Moval: no waveform boxes, no RR/CO2/O2 sweep.
        {kDeviceMoval, 0x01, false, {4041, 4251, 4230}, {3710, 5550, 5590, 5610, 4040, 4250}},
        {kDeviceSelvo, 0x01, false, ecg, {4040, 4250, 5610, 5550, 5590, 3780}},
        // A box shown by its own bit keeps its frame in sight.
        {kDeviceSelvo, 0x66, false, {3710, 5550, 5590, 5610, 4040, 4250, 3780}, ecg},
        {kDeviceBrindle, 0x10, false, {4330, 1366}, {3710, 3780, 4040, 4320, 1365, 1367, 4041}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.bits);
        g_liveData.deviceKind = c.kind;
        g_liveData.featureBits = c.bits;
        g_liveData.gasModuleKind = 2;
        ConfigGeneralDlg& page = Open(kConfigCurrent, false, c.demo);
        ExpectShown(c.shown, c.hidden);
        for (const int id : kInstallationWide)
            EXPECT_FALSE(page.Control(id)->isVisibleTo(&page)) << id;
        EXPECT_TRUE(Shown(1356));
    }
}

TEST_F(GeneralPage, AgentListsFollowTheGasModule)
{
    struct Case {
        ConfigMode mode;
        int32_t kind;
        uint16_t bits;
        uint8_t moduleKind;
        uint8_t available[5];
        std::vector<std::string> primary;
        bool secondaryShown;
        bool frameShown;
    } const cases[] = {
        {kConfigDefaults, kDeviceSelvo, 0x20, 2, {}, {"Halothane", "Isoflurane", "Sevoflurane"}, true, true},
        {kConfigCurrent, kDeviceSelvo, 0x20, 2, {1, 1, 1, 0, 1}, {"Halothane", "Isoflurane"}, false, true},
        {kConfigCurrent, kDeviceSelvo, 0x20, 0, {}, {"Sevoflurane Only"}, false, true},
        {kConfigCurrent, kDeviceSelvo, 0x60, 4, {}, {}, false, true},
        // Without CO2, or on a Brindle, there is no gas module.
        {kConfigDefaults, kDeviceSelvo, 0x01, 2, {}, {}, false, false},
        {kConfigCurrent, kDeviceBrindle, 0x20, 3, {}, {}, false, false},
    };
    m_app.m_config.showHalothane = 1;
    m_app.m_config.primaryAgent = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.moduleKind) << " " << c.bits);
        g_liveData.deviceKind = c.kind;
        g_liveData.featureBits = c.bits;
        g_liveData.gasModuleKind = c.moduleKind;
        for (int i = 0; i < 5; ++i)
            g_liveData.agentAvailable[i] = c.available[i];
        Open(c.mode);
        // The lists are the page's own: the module's kind stays as it reported.
        EXPECT_EQ(g_liveData.gasModuleKind, c.moduleKind);
        EXPECT_EQ(Entries(3790), c.primary);
        EXPECT_EQ(Shown(3790), !c.primary.empty());
        EXPECT_EQ(Shown(3800), c.secondaryShown);
        EXPECT_EQ(Shown(3780), c.frameShown);
        const bool fixedAgent = c.primary.size() == 1;
        EXPECT_EQ(List(3790)->currentText().toStdString(), c.primary.empty() || fixedAgent ? "" : "Isoflurane");
        m_dialog->reject();
        EXPECT_EQ(g_liveData.gasModuleKind, c.moduleKind);
    }
}

TEST_F(GeneralPage, AnAgentChoiceStaysInTheWorkingCopy)
{
    // Two agents: the lists never name the same one, nor show a refused choice.
    g_liveData.featureBits = kFeatureCO2;
    Open(kConfigDefaults);
    Choose(3800, "Isoflurane");
    EXPECT_EQ(Copy().secondaryAgent, 4);
    EXPECT_EQ(List(3800)->currentText(), "Sevoflurane");
    Choose(3790, "Sevoflurane");
    EXPECT_EQ(Copy().primaryAgent, 3);
    Choose(3800, "Isoflurane");
    EXPECT_EQ(Copy().secondaryAgent, 4);

    // One selectable agent: the live store keeps measuring its own, on
    // Cancel and on OK alike (the view puts the choice in force).
    for (const bool accept : {false, true}) {
        g_liveData.gasModuleKind = 2;
        g_liveData.primaryAgent = 3;
        for (auto& available : g_liveData.agentAvailable)
            available = 1;
        Open(kConfigCurrent);
        Choose(3790, "Sevoflurane");
        EXPECT_EQ(Copy().primaryAgent, 4);
        if (accept) {
            m_dialog->accept();
            ASSERT_TRUE(m_dialog->Result().has_value());
            EXPECT_EQ(m_dialog->Result()->config.primaryAgent, 4);
        } else {
            m_dialog->reject();
        }
        EXPECT_EQ(g_liveData.primaryAgent, 3);
    }
}

TEST_F(GeneralPage, HighHeartRatesAndTheLowPassFilterAsk)
{
    enum Action { kCheckHighRates, kUncheckHighRates, kCheckLow, kUncheckHigh, kCheckHigh };
    struct Case {
        int32_t highRates, bandwidth;
        Action action;
        std::vector<int> answers;
        std::vector<std::string> captions;
        int32_t highRatesAfter, bandwidthAfter;
    } const cases[] = {
        {0, 0, kCheckHighRates, {kIdCancel}, {"High Heart Rate Setting"}, 0, 0},
        {0, 1, kCheckHighRates, {kIdOk, kIdYes}, {"High Heart Rate Setting", "Bandwidth Setting"}, 1, 0},
        {0, 1, kCheckHighRates, {kIdOk, kIdNo}, {"High Heart Rate Setting", "Bandwidth Setting"}, 1, 1},
        {0, 0, kCheckHighRates, {kIdOk}, {"High Heart Rate Setting"}, 1, 0},
        {1, 0, kUncheckHighRates, {}, {}, 0, 0},
        {1, 0, kCheckLow, {kIdYes}, {"Bandwidth Setting"}, 1, 0},
        {1, 0, kUncheckHigh, {kIdNo}, {"Bandwidth Setting"}, 1, 1},
        {0, 0, kCheckLow, {}, {}, 0, 1},
        {1, 1, kCheckHigh, {}, {}, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << " " << c.answers.size());
        m_app.m_config.heartRatesAbove400 = c.highRates;
        m_app.m_config.bandwidth = c.bandwidth;
        m_prompter = std::make_unique<CScriptedPrompter>();
        for (const int answer : c.answers)
            m_prompter->QueueAnswer(answer);
        Open(kConfigDefaults);
        const int clicked[] = {4360, 4360, 3840, 3830, 3830};
        Box(clicked[c.action])->click();
        std::vector<std::string> captions;
        for (const auto& prompt : m_prompter->Prompts())
            captions.push_back(prompt.caption);
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(Copy().heartRatesAbove400, c.highRatesAfter);
        EXPECT_EQ(Copy().bandwidth, c.bandwidthAfter);
        EXPECT_EQ(Box(4360)->isChecked(), c.highRatesAfter == 1);
        EXPECT_EQ(Box(3840)->isChecked(), c.bandwidthAfter == 1);
        EXPECT_EQ(Box(3830)->isChecked(), c.bandwidthAfter == 0);
    }
}

TEST_F(GeneralPage, NoPairEverShowsBothBoxes)
{
    struct Pair {
        int ids[2];
        int32_t ConfigWorkingCopy::*field;
        int32_t values[2];
    } const pairs[] = {
        {{3860, 3850}, &ConfigWorkingCopy::notch, {0, 1}},
        {{3840, 3830}, &ConfigWorkingCopy::bandwidth, {1, 0}},
        {{3870, 3880}, &ConfigWorkingCopy::twoPageReport, {0, 1}},
        {{5410, 3890}, &ConfigWorkingCopy::reviewer, {1, 0}},
        {{6050, 5710}, &ConfigWorkingCopy::recordMode, {1, 0}},
    };
    m_app.m_config.heartRatesAbove400 = 1;  // the low-pass pair asks; Yes keeps High
    Open(kConfigDefaults);
    for (const Pair& pair : pairs)
        for (const int box : {0, 0, 1, 1, 0, 1}) {
            SCOPED_TRACE(pair.ids[box]);
            Box(pair.ids[box])->click();
            const bool first = Box(pair.ids[0])->isChecked();
            EXPECT_NE(first, Box(pair.ids[1])->isChecked());
            EXPECT_EQ(Copy().*pair.field, pair.values[first ? 0 : 1]);
        }
}

TEST_F(GeneralPage, SelectDirectoryTakesAFolderThatCanBeMadeAndWritten)
{
    char pattern[] = "/tmp/quorin-general-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string root = pattern;
    struct Case {
        std::optional<std::string> chosen;
        bool taken;
        bool error;
    };
    std::vector<Case> cases = {
        {std::nullopt, false, false},
        {root + "/new", true, false},
        {root, true, false},
        {root + "/missing/child", false, true},
    };
    // Folders that exist but take no file: /proc even for root, a folder
    // without write permission for anybody else.
    if (std::filesystem::exists("/proc/self"))
        cases.push_back({"/proc", false, true});
    const std::string readOnly = root + "/read-only";
    std::filesystem::create_directory(readOnly);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() != 0)
        cases.push_back({readOnly, false, true});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.value_or("cancelled"));
        m_app.m_config.recordPath = "/previous";
        m_prompter = std::make_unique<CScriptedPrompter>();
        m_folders = {};
        m_folders.QueueAnswer(c.chosen);
        ConfigGeneralDlg& page = Open(kConfigDefaults);
        page.OnSelectDirectory();
        ASSERT_EQ(m_folders.Requests().size(), 1u);
        EXPECT_EQ(m_folders.Requests()[0].title, "Select Recorded ECG Destination folder");
        EXPECT_EQ(m_folders.Requests()[0].startFolder, "/previous");
        const std::string expected = c.taken ? *c.chosen : "/previous";
        EXPECT_EQ(Copy().recordPath, expected);
        EXPECT_EQ(qobject_cast<QLineEdit*>(page.Control(5380))->text().toStdString(), expected);
        if (c.taken) {
            EXPECT_TRUE(std::filesystem::is_directory(expected));
        }
        const auto prompts = m_prompter->Prompts();
        ASSERT_EQ(prompts.size(), c.error ? 1u : 0u);
        if (c.error) {
            EXPECT_EQ(prompts[0].text, "Selected Folder does not exists or can not be created!");
            EXPECT_EQ(prompts[0].caption, "Recorded ECG Folder Error");
        }
    }
    std::filesystem::remove_all(root);
}

TEST_F(GeneralPage, ListsEditsAndBoxesStoreTheirValues)
{
    m_app.m_config.ecgSweep = 3;        // no entry of its own
    m_app.m_config.eventCapture = 90;   // shows the first entry
    m_app.m_config.autoAVImark = 0;
    ConfigGeneralDlg& page = Open(kConfigDefaults, true);
    EXPECT_EQ(List(4230)->currentIndex(), -1);
    EXPECT_EQ(List(4820)->currentText(), "1 Minute");
    struct Case {
        int id;
        const char* entry;
        int32_t ConfigWorkingCopy::*field;
        int32_t value;
    } const cases[] = {
        {4230, "200 mm/sec", &ConfigWorkingCopy::ecgSweep, 8},
        {4250, "6.25 mm/sec", &ConfigWorkingCopy::co2Sweep, 1},
        {4800, "Every 15 Minutes", &ConfigWorkingCopy::autoTrend, 900},
        {4820, "2 Minutes", &ConfigWorkingCopy::eventCapture, 120},
        {1351, "30 min", &ConfigWorkingCopy::alarmSnooze, 1800},
        {4251, "1", &ConfigWorkingCopy::maxEcgWaveforms, 1},
        {4780, "Equine", &ConfigWorkingCopy::species, 2},
        {4252, "oz", &ConfigWorkingCopy::defaultWtUnit, 3},
        {4782, "Profile 2", &ConfigWorkingCopy::soundProfile, 2},
    };
    for (const Case& c : cases) {
        Choose(c.id, c.entry);
        EXPECT_EQ(Copy().*c.field, c.value) << c.id;
    }

    auto* port = qobject_cast<QLineEdit*>(page.Control(4220));
    port->setText("12");
    EXPECT_EQ(Copy().portNum, 12);
    for (const int32_t automatic : {0, 1}) {
        Box(5640)->click();
        EXPECT_EQ(Copy().winBluetooth, automatic);
        EXPECT_EQ(Shown(6110), automatic == 0);
        EXPECT_EQ(Shown(4220), automatic == 0);
    }
    qobject_cast<QLineEdit*>(page.Control(3990))->setText("0042");
    EXPECT_EQ(Copy().hospital, "0042");
    Box(1356)->click();
    EXPECT_EQ(Copy().checkForUpdates, m_app.m_config.checkForUpdates != 0 ? 0 : 1);

    auto* avimark = m_dialog->TabCtrl().Page(kPageOEMSoftware)->findChild<QCheckBox*>("3940");
    ASSERT_NE(avimark, nullptr);
    EXPECT_EQ(avimark->text(), "Auto Populate New Patient Information from AVImark");
    avimark->click();
    EXPECT_EQ(Copy().autoAVImark, 1);
}
