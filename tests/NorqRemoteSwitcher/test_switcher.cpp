// The switcher's rules on a memory store: the first-run decision, the OS
// names, program starts and the remote list.
#include <gtest/gtest.h>

#include <set>

#include "NorqRemoteSwitcher/BluetoothStack.h"
#include "NorqRemoteSwitcher/RemoteTable.h"
#include "NorqRemoteSwitcher/ShellRun.h"
#include "NorqRemoteSwitcher/SwitcherMain.h"
#include "NorqRemoteSwitcher/WindowsVersion.h"
#include "app/SettingsNames.h"
#include "platform/MemoryProfileStore.h"

namespace {

class FakeStackProbe : public IBluetoothStackProbe {
public:
    explicit FakeStackProbe(std::set<std::string> present) : m_present(std::move(present)) {}
    bool FileExists(const std::string& path) const override
    {
        m_asked.push_back(path);
        return m_present.count(path) != 0;
    }
    mutable std::vector<std::string> m_asked;

private:
    std::set<std::string> m_present;
};

class FakeOsVersion : public IOsVersion {
public:
    FakeOsVersion(uint32_t platform, uint32_t major, uint32_t minor, std::optional<std::string> servicePack = "")
        : m_info{major, minor, platform, servicePack.value_or("")}
        , m_extendedAnswers(servicePack.has_value())
    {
    }
    bool Query(OsVersionInfo& info, bool extended) const override
    {
        if (extended && !m_extendedAnswers)
            return false;
        info = m_info;
        return true;
    }

private:
    OsVersionInfo m_info;
    bool m_extendedAnswers;
};

const FakeOsVersion kWindows7(2, 7, 0);
const std::string kSystem32 = "C:\\Windows\\System32\\";

std::string Path(const char* section, const std::string& name)
{
    return MapSectionName(section) + "/" + name;
}

} // namespace

TEST(SwitcherStart, FirstRunDecidesByTheControlPanelsFound)
{
    struct Row {
        bool other, local, system;
        int code;
    };
    const Row rows[] = {
        {true, false, true, 4}, {true, true, true, 4}, {true, true, false, 6}, {true, false, false, 1},
        {false, true, true, 5}, {false, true, false, 3}, {false, false, true, 2}, {false, false, false, 0},
    };
    for (const Row& row : rows) {
        std::set<std::string> present;
        if (row.other)
            present.insert(kSystem32 + "btcpl.cpl");
        if (row.local)
            present.insert(kSystem32 + "LocalCOM.cpl");
        if (row.system)
            present.insert(kSystem32 + "bthprops.cpl");
        const FakeStackProbe probe(present);
        EXPECT_EQ(DetectBluetoothStack(probe, kWindows7), row.code);

        CMemoryProfileStore store;
        CRegistryModule registry(&store);
        const bool startAtOnce = row.code == 0 || row.code == 2;
        EXPECT_EQ(UseWindowsBluetooth(registry, probe, kWindows7), startAtOnce) << row.code;
        EXPECT_EQ(store.ReadValue(Path(kSectionValues, kValueWinBluetooth)), startAtOnce ? "1" : "0");
        EXPECT_EQ(store.ReadValue(Path(kSectionRemotes, kValueRNum)),
                  startAtOnce ? std::nullopt : std::optional<std::string>("0"));
    }
}

TEST(SwitcherStart, Windows2000LooksForTwoPanelsInItsOwnFolder)
{
    const FakeStackProbe probe({"C:\\WinNT\\System32\\LocalCOM.cpl", "C:\\Windows\\System32\\bthprops.cpl"});
    EXPECT_EQ(DetectBluetoothStack(probe, FakeOsVersion(2, 5, 0)), 3);
    const std::vector<std::string> asked = {"C:\\WinNT\\System32\\btcpl.cpl", "C:\\WinNT\\System32\\LocalCOM.cpl"};
    EXPECT_EQ(probe.m_asked, asked);
}

TEST(SwitcherStart, LaterRunsFollowWinBluetoothAndKeepTheList)
{
    struct Row {
        const char* winBluetooth;
        bool remotesExist;
        bool startAtOnce;
    };
    const Row rows[] = {{"1", true, true}, {"0", true, false}, {"1", false, true}, {"0", false, false},
                        {"x", false, false}};
    const FakeStackProbe probe({kSystem32 + "btcpl.cpl"});
    for (const Row& row : rows) {
        CMemoryProfileStore store;
        ASSERT_TRUE(store.WriteValue(Path(kSectionValues, kValueWinBluetooth), row.winBluetooth));
        if (row.remotesExist) {
            ASSERT_TRUE(store.WriteValue(Path(kSectionRemotes, kValueRNum), "3"));
        }
        CRegistryModule registry(&store);
        EXPECT_EQ(UseWindowsBluetooth(registry, probe, kWindows7), row.startAtOnce) << row.winBluetooth;
        // The list is made when the form is to show, and never replaced.
        const char* rnum = row.remotesExist ? "3" : (row.startAtOnce ? nullptr : "0");
        EXPECT_EQ(store.ReadValue(Path(kSectionRemotes, kValueRNum)),
                  rnum ? std::optional<std::string>(rnum) : std::nullopt);
        EXPECT_TRUE(probe.m_asked.empty());
    }
    CRegistryModule none(nullptr);
    EXPECT_TRUE(UseWindowsBluetooth(none, probe, kWindows7));
}

TEST(SwitcherStart, OperatingSystemNamesAndCodes)
{
    struct Row {
        FakeOsVersion os;
        const char* name;
        const char* code;
    };
    const Row rows[] = {
        {{1, 4, 0}, "Windows 95", "251"},
        {{1, 4, 10}, "Windows 98", "252"},
        {{1, 4, 90}, "Windows Millennium", "253"},
        {{2, 3, 51}, "Windows NT 3.51", "254"},
        {{2, 4, 0}, "Windows NT 4.0", "255"},
        {{2, 5, 0}, "Windows 2000", "0"},
        {{2, 5, 1, std::nullopt}, "Windows XP", "1"},
        {{2, 5, 1, "Service Pack 1"}, "Windows XP SP1", "1"},
        {{2, 5, 1, "Service Pack 2"}, "Windows XP SP2", "2"},
        {{2, 5, 1, "Service Pack 3"}, "Windows XP SP1", "1"},
        {{2, 6, 0}, "Windows Vista", "3"},
        {{2, 7, 0}, "Windows 7", "4"},
        {{2, 10, 0}, "", "250"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GetWindowsVersion(1, row.os), row.name);
        EXPECT_EQ(GetWindowsVersion(2, row.os), row.code) << row.name;
    }
    EXPECT_EQ(GetServicePack(FakeOsVersion(2, 5, 1, std::nullopt)), "_error_");
    // This build's own answer.
    EXPECT_EQ(GetWindowsVersion(1, SystemOsVersion()), "");
    EXPECT_EQ(GetWindowsVersion(2, SystemOsVersion()), "250");
}

TEST(SwitcherStart, ShellRunNamesTheFileAndTheReason)
{
    const std::pair<int, const char*> failures[] = {
        {0, "Insufficent system memory or resources."}, {2, "File Not found."}, {3, "Invalid path."},
        {5, "File name association is incomplete or invalid."}, {8, "Insufficient memory To run the program."},
        {11, "Invalid EXE file or error in EXE image."}, {26, "A sharing violation occurred."},
        {27, "Incomplete or invalid file association."}, {28, "DDE time out."}, {29, "DDE transaction failed."},
        {30, "DDE busy."}, {31, "No association for file extension."}, {32, "A required DLL file is not found."},
    };
    for (const auto& [code, text] : failures) {
        CScriptedShellLauncher launcher;
        launcher.SetResult(code);
        CScriptedPrompter prompter;
        EXPECT_FALSE(ShellRun(launcher, prompter, "/opt/q/quorin", {}, "/opt/q")) << code;
        ASSERT_EQ(prompter.Prompts().size(), 1u);
        EXPECT_EQ(prompter.Prompts()[0].text, text);
        EXPECT_EQ(prompter.Prompts()[0].caption, "Error running /opt/q/quorin");
    }
    for (const int started : {42, 33, 1}) {
        CScriptedShellLauncher launcher;
        launcher.SetResult(started);
        CScriptedPrompter prompter;
        EXPECT_TRUE(ShellRun(launcher, prompter, "/opt/q/quorin", {"a"}, "/opt/q")) << started;
        EXPECT_TRUE(prompter.Prompts().empty());
        EXPECT_EQ(launcher.Requests().at(0).arguments, std::vector<std::string>{"a"});
    }
}

TEST(SwitcherStart, MainWithoutQuorinShowsOnlyTheSupportBox)
{
    CMemoryProfileStore store;
    CRegistryModule registry(&store);
    CScriptedPrompter prompter;
    CScriptedShellLauncher launcher;
    const CNoBluetoothStackProbe probe;
    SwitcherServices services{&registry, &prompter, &launcher, &probe, &SystemOsVersion(),
                              ::testing::TempDir() + "/no-such-folder"};
    EXPECT_EQ(Main(services), SwitcherStart::Ended);
    EXPECT_TRUE(launcher.Requests().empty());
    ASSERT_EQ(prompter.Prompts().size(), 1u);
    EXPECT_EQ(prompter.Prompts()[0].text, kSupportText);
    EXPECT_EQ(prompter.Prompts()[0].caption, "Error");
    // A first run here finds no stack: quorin finds the remote itself.
    EXPECT_EQ(store.ReadValue(Path(kSectionValues, kValueWinBluetooth)), "1");
}

TEST(RemoteTable, LoadKeepsTheStoredRangesAndSaveLeavesNothingBehind)
{
    CMemoryProfileStore store;
    CRegistryModule registry(&store);
    RemoteTable table;
    table.count = 5;
    for (int i = 0; i < 5; ++i)
        table.entries[static_cast<std::size_t>(i)] = {static_cast<int16_t>(i), "R" + std::to_string(i),
                                                      static_cast<int16_t>(10 + i), ""};
    table.entries[1].name = " 007 ";
    ASSERT_TRUE(SaveRemotes(registry, table));
    // A name of digits stays a text.
    EXPECT_EQ(store.ReadValue("Defaults/Remotes/RName2"), "007");

    table.count = 3;
    ASSERT_TRUE(SaveRemotes(registry, table));
    for (const char* gone : {"RType4", "RName4", "RPort4", "RType5", "RName5", "RPort5"})
        EXPECT_FALSE(store.ReadValue(std::string("Defaults/Remotes/") + gone)) << gone;

    // Stored values outside their ranges load as 0.
    struct Row {
        const char* path;
        const char* text;
        int count, type, port;
    };
    const Row rows[] = {
        {"Defaults/Remotes/RPort1", "1", 3, 0, 0},   {"Defaults/Remotes/RPort1", "2", 3, 0, 2},
        {"Defaults/Remotes/RPort1", "256", 3, 0, 0}, {"Defaults/Remotes/RPort1", "255", 3, 0, 255},
        {"Defaults/Remotes/RType1", "4", 3, 4, 255}, {"Defaults/Remotes/RType1", "5", 3, 0, 255},
        {"Defaults/Remotes/RNum", "10", 10, 0, 255}, {"Defaults/Remotes/RNum", "11", 0, 0, 0},
        {"Defaults/Remotes/RNum", "-1", 0, 0, 0},    {"Defaults/Remotes/RNum", "", 0, 0, 0},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(store.WriteValue(row.path, row.text));
        RemoteTable loaded;
        ASSERT_TRUE(LoadRemotes(registry, loaded));
        EXPECT_EQ(loaded.count, row.count) << row.path << "=" << row.text;
        EXPECT_EQ(loaded.entries[0].type, row.type) << row.path << "=" << row.text;
        EXPECT_EQ(loaded.entries[0].port, row.port) << row.path << "=" << row.text;
    }
    RemoteTable loaded;
    ASSERT_TRUE(store.WriteValue("Defaults/Remotes/RNum", "3"));
    ASSERT_TRUE(LoadRemotes(registry, loaded));
    EXPECT_EQ(loaded.entries[1].label, "Tarvik   :   007");
    EXPECT_EQ(loaded.entries[2].label, "Tarvik+  :   R2");

    store.SetReadOnly(true);
    EXPECT_FALSE(SaveRemotes(registry, table));
    CRegistryModule none(nullptr);
    EXPECT_FALSE(LoadRemotes(none, loaded));
}

TEST(RemoteTable, LabelsAfterEditing)
{
    EXPECT_EQ(EditedRemoteLabel(kRemoteMoval, "A"), "Moval    :   A");
    EXPECT_EQ(EditedRemoteLabel(kRemoteTarvikPlus, "A"), "Tarvik+   :   A");
    EXPECT_EQ(EditedRemoteLabel(kRemoteBrindle, "A"), "Brindle   :   A");
    EXPECT_EQ(RemoteLabel(kRemoteBrindle, "A"), "Brindle  :   A");
}
