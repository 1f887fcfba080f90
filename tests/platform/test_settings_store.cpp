#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/MemoryProfileStore.h"
#include "platform/OsVersion.h"
#include "platform/ProfilePortMap.h"
#include "platform/Privilege.h"
#include "platform/SettingsFile.h"
#include "platform/SingleInstance.h"

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "quorin-store-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code error;
        fs::permissions(m_path, fs::perms::owner_all, error);
        fs::remove_all(m_path, error);
    }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(ProfileInt, ReadsSignedAndUnsignedThirtyTwoBitTextOnly)
{
    EXPECT_EQ(ParseProfileInt("0"), 0u);
    EXPECT_EQ(ParseProfileInt("300"), 300u);
    EXPECT_EQ(ParseProfileInt("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseProfileInt("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseProfileInt("-2147483648"), 0x80000000u);
    for (const char* bad : {"", "-", "4294967296", "-2147483649", "12a", " 5", "5 ", "+5", "0x10", "99999999999"})
        EXPECT_FALSE(ParseProfileInt(bad).has_value()) << '"' << bad << '"';
}

TEST(ProfileStore, MissingOrNonIntegerValuesReadAsTheDefault)
{
    CMemoryProfileStore store;
    EXPECT_EQ(store.GetProfileInt("Defaults\\Values", "EcgSweep", 7), 7u);
    EXPECT_EQ(store.GetProfileString("Defaults\\Values", "Clinic", "none"), "none");

    ASSERT_TRUE(store.WriteProfileString("Defaults\\Values", "EcgSweep", "fast"));
    EXPECT_EQ(store.GetProfileInt("Defaults\\Values", "EcgSweep", 7), 7u);
    ASSERT_TRUE(store.WriteProfileInt("Defaults\\Values", "EcgSweep", -1));
    EXPECT_EQ(store.GetProfileInt("Defaults\\Values", "EcgSweep", 7), 0xFFFFFFFFu);
    ASSERT_TRUE(store.WriteProfileString("Defaults\\Values", "EcgSweep", "4294967295"));
    EXPECT_EQ(store.GetProfileInt("Defaults\\Values", "EcgSweep", 7), 0xFFFFFFFFu);

    // Sections nest on the mapped separator: backslashes and slashes name
    // the same place.
    ASSERT_TRUE(store.WriteProfileInt("Defaults\\Alarms\\Canine\\HR", "High", 150));
    EXPECT_EQ(store.ReadValue("Defaults/Alarms/Canine/HR/High"), "150");
    EXPECT_EQ(store.GetProfileInt("Defaults/Alarms/Canine/HR", "High", 0), 150u);
    EXPECT_EQ(MapSectionName("Defaults\\BP\\Settings"), "Defaults/BP/Settings");
}

TEST(ProfileStore, PortMapComesFromItsOwnSection)
{
    CMemoryProfileStore store;
    CProfilePortMap map(store);
    EXPECT_EQ(ResolveSerialDevice("\\\\.\\COM5", &map), "/dev/ttyS4");
    ASSERT_TRUE(store.WriteProfileString("PortMap", "COM5", "/dev/rfcomm0"));
    EXPECT_EQ(map.Lookup("COM5"), "/dev/rfcomm0");
    EXPECT_EQ(ResolveSerialDevice("\\\\.\\COM5", &map), "/dev/rfcomm0");
    EXPECT_EQ(ResolveSerialDevice("COM6", &map), "/dev/ttyS5");
    EXPECT_FALSE(map.Lookup("COM6").has_value());
}

TEST(MemorySettingsKeys, OpensTheSameKeyAgainAndNothingThatDoesNotExist)
{
    CMemorySettingsKeys keys;
    EXPECT_EQ(keys.OpenKey(SettingsScope::User, "Software\\Norq Technology\\quorin", false), nullptr);
    auto created = keys.OpenKey(SettingsScope::User, "Software\\Norq Technology\\quorin", true);
    ASSERT_NE(created, nullptr);
    ASSERT_TRUE(created->WriteProfileInt("Defaults\\Values", "PortNum", 4));
    auto again = keys.OpenKey(SettingsScope::User, "Software/Norq Technology/quorin", false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetProfileInt("Defaults\\Values", "PortNum", 0), 4u);
    EXPECT_EQ(keys.OpenKey(SettingsScope::System, "Software\\Norq Technology\\quorin", false), nullptr)
        << "the scopes are separate";
}

TEST(SettingsFile, RoundTripsEveryValueWithAwkwardText)
{
    TempFolder folder;
    CMemoryProfileStore source;
    const IProfileStore::Values values = {
        {"Defaults/Values/Clinic", "North & South = \"Vets\"\\ [main]"},
        {"Defaults/Values/Address 1", "  leading and trailing  "},
        {"Defaults/Values/Recent0", "line one\nline two\r\n"},
        {"Defaults/Values/Empty", ""},
        {"Defaults/Values/=odd name", "x"},
        {"Defaults/Values/[bracket", "y"},
        {"Defaults/Values/;semi", "z"},
        {"Top", "no section"},
        {"Defaults/Alarms/Canine/HR/High", "-1"},
    };
    ASSERT_TRUE(source.ReplaceAll(values));
    ASSERT_TRUE(ExportSettingsFile(source, folder / "all.Quorin"));

    CMemoryProfileStore target;
    ASSERT_TRUE(target.WriteProfileString("Defaults\\Values", "Stale", "gone after import"));
    ASSERT_TRUE(ImportSettingsFile(target, folder / "all.Quorin"));
    EXPECT_EQ(target.ReadAll(), values);
}

TEST(SettingsFile, AHandWrittenFileReadsWithRegistryStyleSections)
{
    IProfileStore::Values values;
    ASSERT_TRUE(ParseSettingsText("; written by hand\r\n"
                                  "[Quorin Settings File]\r\n"
                                  "Marker=Norq Technology quorin settings 1\r\n"
                                  "[Defaults\\BP\\Settings]\r\n"
                                  "Interval=5\r\n"
                                  "Initial Pressure=180\r\n",
                                  values));
    EXPECT_EQ(values, (IProfileStore::Values{{"Defaults/BP/Settings/Interval", "5"},
                                             {"Defaults/BP/Settings/Initial Pressure", "180"}}));
}

TEST(SettingsFile, ADamagedSectionNameReadsTheSameAfterWriting)
{
    // A control character as the whole name of the first section.
    IProfileStore::Values values;
    ASSERT_TRUE(ParseSettingsText(std::string("[Quorin Settings File]\n"
                                              "Marker=Norq Technology quorin settings 1\n"
                                              "[\x01]\n"
                                              "Heart Rate=72\n"
                                              "[Defaults\\Values]\n"
                                              "PortNum=5\n"),
                                  values));
    ASSERT_EQ(values, (IProfileStore::Values{{"\x01/Heart Rate", "72"}, {"Defaults/Values/PortNum", "5"}}));
    std::string written;
    ASSERT_TRUE(SettingsText(values, written));
    IProfileStore::Values again;
    ASSERT_TRUE(ParseSettingsText(written, again));
    EXPECT_EQ(again, values);
}

TEST(SettingsFile, ValuesThatCouldNotBeReadBackAreNotExported)
{
    TempFolder folder;
    for (const IProfileStore::Values& values : {IProfileStore::Values{{"Defaults/Values/", "empty name"}},
                                                IProfileStore::Values{{"Bad\nSection/Name", "x"}},
                                                IProfileStore::Values{{"Section/Back\\slash", "x"}},
                                                IProfileStore::Values{{"Quorin Settings File/Marker", "x"}}}) {
        CMemoryProfileStore store;
        ASSERT_TRUE(store.ReplaceAll(values));
        EXPECT_FALSE(ExportSettingsFile(store, folder / "out.Quorin")) << values.begin()->first;
        EXPECT_FALSE(fs::exists(folder / "out.Quorin"));
    }
}

TEST(SettingsFile, ExportReplacesAnOldFileAndFailsOnAnEmptyKey)
{
    TempFolder folder;
    const std::string path = folder / "settings.Quorin";
    WriteFile(path, "old contents that must go\n");

    CMemoryProfileStore empty;
    EXPECT_FALSE(ExportSettingsFile(empty, path));
    EXPECT_EQ(ReadFile(path), "old contents that must go\n") << "a failed export keeps the old file";

    CMemoryProfileStore store;
    ASSERT_TRUE(store.WriteProfileInt("Defaults\\Values", "PortNum", 3));
    ASSERT_TRUE(ExportSettingsFile(store, path));
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.find("old contents"), std::string::npos);
    EXPECT_NE(text.find("PortNum=3"), std::string::npos);

    // No leftovers of the temporary file.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(SettingsFile, ExportIntoAnUnwritableFolderFailsAndKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TempFolder folder;
    const std::string path = folder / "settings.Quorin";
    WriteFile(path, "previous export\n");
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);

    CMemoryProfileStore store;
    ASSERT_TRUE(store.WriteProfileInt("Defaults\\Values", "PortNum", 3));
    EXPECT_FALSE(ExportSettingsFile(store, path));
    EXPECT_EQ(ReadFile(path), "previous export\n");
}

TEST(SettingsFile, ExportThatCannotTakeTheTargetNameLeavesWhatIsThere)
{
    TempFolder folder;
    const std::string target = folder / "taken.Quorin";
    fs::create_directory(target);
    WriteFile(target + "/inside", "kept\n");

    CMemoryProfileStore store;
    ASSERT_TRUE(store.WriteProfileInt("Defaults\\Values", "PortNum", 3));
    EXPECT_FALSE(ExportSettingsFile(store, target));
    EXPECT_EQ(ReadFile(target + "/inside"), "kept\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1) << "the temporary file is removed";
}

TEST(SettingsFile, MissingUnmarkedOrMalformedFilesChangeNothing)
{
    TempFolder folder;
    CMemoryProfileStore store;
    ASSERT_TRUE(store.WriteProfileInt("Defaults\\Values", "PortNum", 9));
    const IProfileStore::Values before = store.ReadAll();
    const std::size_t writesBefore = store.WriteCount();

    EXPECT_FALSE(ImportSettingsFile(store, folder / "missing.Quorin"));

    WriteFile(folder / "plain.ini", "[Defaults\\Values]\nPortNum=1\n");
    EXPECT_FALSE(ImportSettingsFile(store, folder / "plain.ini")) << "no marker";

    WriteFile(folder / "garbage.Quorin", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10));
    EXPECT_FALSE(ImportSettingsFile(store, folder / "garbage.Quorin"));

    // A marked file with one broken line is refused whole.
    CMemoryProfileStore good;
    ASSERT_TRUE(good.WriteProfileInt("Defaults\\Values", "PortNum", 1));
    ASSERT_TRUE(ExportSettingsFile(good, folder / "broken.Quorin"));
    std::ofstream(folder / "broken.Quorin", std::ios::app) << "this line has no separator\n";
    EXPECT_FALSE(ImportSettingsFile(store, folder / "broken.Quorin"));

    EXPECT_FALSE(ImportSettingsFile(store, folder.Path())) << "a folder is no settings file";

    EXPECT_EQ(store.ReadAll(), before);
    EXPECT_EQ(store.WriteCount(), writesBefore);
}

TEST(SettingsFile, ImportIntoAStoreThatRefusesWritesFails)
{
    TempFolder folder;
    CMemoryProfileStore source;
    ASSERT_TRUE(source.WriteProfileInt("Defaults\\Values", "PortNum", 2));
    ASSERT_TRUE(ExportSettingsFile(source, folder / "s.Quorin"));
    CMemoryProfileStore target;
    target.SetReadOnly(true);
    EXPECT_FALSE(ImportSettingsFile(target, folder / "s.Quorin"));
}

TEST(Privilege, OnlyTheTwoSettingsPrivilegesAreKnown)
{
    EXPECT_TRUE(EnablePrivilege(true, "SeBackupPrivilege"));
    EXPECT_TRUE(EnablePrivilege(true, "SeRestorePrivilege"));
    EXPECT_TRUE(EnablePrivilege(false, "SeBackupPrivilege"));
    EXPECT_FALSE(EnablePrivilege(true, "SeShutdownPrivilege"));
    EXPECT_FALSE(EnablePrivilege(true, ""));
}

namespace {

class FakeOsVersion : public IOsVersion {
public:
    FakeOsVersion(uint32_t major, uint32_t minor, std::string servicePack, bool answers = true,
                  uint32_t platform = kPlatformWin32Nt)
        : m_info{major, minor, platform, std::move(servicePack)}, m_answers(answers) {}
    bool Query(OsVersionInfo& info, bool extended) const override
    {
        if (!m_answers || (extended && m_basicOnly))
            return false;
        info = m_info;
        return true;
    }
    bool m_basicOnly = false;

private:
    OsVersionInfo m_info;
    bool m_answers;
};

} // namespace

TEST(OsVersion, BluetoothIsUsableFromXpServicePack2On)
{
    EXPECT_TRUE(IsWindowsBluetoothUsable(FakeOsVersion(5, 1, "Service Pack 2")));
    EXPECT_TRUE(IsWindowsBluetoothUsable(FakeOsVersion(5, 1, "Service Pack 3")));
    EXPECT_FALSE(IsWindowsBluetoothUsable(FakeOsVersion(5, 1, "Service Pack 1")));
    EXPECT_FALSE(IsWindowsBluetoothUsable(FakeOsVersion(5, 1, "service pack 2")));
    EXPECT_FALSE(IsWindowsBluetoothUsable(FakeOsVersion(5, 2, "Service Pack 2")));
    EXPECT_TRUE(IsWindowsBluetoothUsable(FakeOsVersion(6, 0, "")));
    EXPECT_TRUE(IsWindowsBluetoothUsable(FakeOsVersion(10, 0, "")));
    EXPECT_FALSE(IsWindowsBluetoothUsable(FakeOsVersion(10, 0, "", false)));

    FakeOsVersion basicOnly(6, 1, "");
    basicOnly.m_basicOnly = true;
    EXPECT_TRUE(IsWindowsBluetoothUsable(basicOnly)) << "falls back to the basic record";

    EXPECT_TRUE(IsWindowsBluetoothUsable()) << "this system counts as current";
}

TEST(OsVersion, NamedVersionsNeedTheNtPlatform)
{
    EXPECT_TRUE(IsWindowsXP(FakeOsVersion(5, 1, "")));
    EXPECT_TRUE(IsWindowsVista(FakeOsVersion(6, 0, "")));
    EXPECT_TRUE(IsWindows7(FakeOsVersion(6, 1, "")));
    EXPECT_TRUE(IsWindows8(FakeOsVersion(6, 2, "")));
    EXPECT_FALSE(IsWindows7(FakeOsVersion(6, 2, "")));
    EXPECT_FALSE(IsWindowsXP(FakeOsVersion(5, 1, "", true, 1)));
    EXPECT_FALSE(IsWindowsXP());
    EXPECT_FALSE(IsWindows8());
}

TEST(SingleInstance, SecondHolderLearnsThatTheFirstRunsUntilAllAreGone)
{
    TempFolder folder;
    auto first = std::make_unique<CSingleInstanceMutex>("{GUID}", folder.Path());
    EXPECT_EQ(first->LastError(), 0);
    EXPECT_TRUE(first->Held());
    EXPECT_EQ(first->Path(), folder / "{GUID}.lock");

    auto second = std::make_unique<CSingleInstanceMutex>("{GUID}", folder.Path());
    EXPECT_EQ(second->LastError(), kErrorAlreadyExists);
    EXPECT_TRUE(second->Held()) << "a refused start still marks itself until it ends";

    first.reset();
    CSingleInstanceMutex third("{GUID}", folder.Path());
    EXPECT_EQ(third.LastError(), kErrorAlreadyExists) << "the second still runs";

    second.reset();
    third.Close();
    CSingleInstanceMutex fourth("{GUID}", folder.Path());
    EXPECT_EQ(fourth.LastError(), 0);

    CSingleInstanceMutex other("{OTHER}", folder.Path());
    EXPECT_EQ(other.LastError(), 0) << "another name is another mark";
}

TEST(SingleInstance, AFolderThatCannotHoldTheMarkIsNoOtherInstance)
{
    CSingleInstanceMutex mark("{GUID}", "/nonexistent-quorin-folder");
    EXPECT_FALSE(mark.Held());
    EXPECT_NE(mark.LastError(), 0);
    EXPECT_NE(mark.LastError(), kErrorAlreadyExists);
}

TEST(SingleInstance, ASpoiltMarkOrFolderIsAnErrorAndNeverAWaitWithoutEnd)
{
    // What another user or program may have left: the folder to use, a lock
    // held by another open file description, and whether this user could
    // make the case at all (only root can give a folder away).
    struct Spoilt {
        std::string folder;
        int lockedFd = -1;
        bool made = true;
    };
    const auto lockExclusively = [](const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0) << path;
        return fd;
    };
    using Spoil = std::function<Spoilt(const TempFolder&)>;
    const std::pair<const char*, Spoil> cases[] = {
        {"mark locked exclusively", [&](const TempFolder& f) { return Spoilt{f.Path(), lockExclusively(f / "{GUID}.lock")}; }},
        {"guard locked exclusively", [&](const TempFolder& f) { return Spoilt{f.Path(), lockExclusively(f / "{GUID}.guard")}; }},
        {"FIFO as the mark", [](const TempFolder& f) {
             EXPECT_EQ(::mkfifo((f / "{GUID}.lock").c_str(), 0600), 0);
             return Spoilt{f.Path()};
         }},
        {"symbolic link as the mark", [](const TempFolder& f) {
             WriteFile(f / "elsewhere", "");
             fs::create_symlink(f / "elsewhere", f / "{GUID}.lock");
             return Spoilt{f.Path()};
         }},
        {"folder open to others", [](const TempFolder& f) {
             fs::permissions(f.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                     fs::perms::others_read | fs::perms::others_exec);
             return Spoilt{f.Path()};
         }},
        {"folder of another user", [](const TempFolder& f) {
             return Spoilt{f.Path(), -1, ::chown(f.Path().c_str(), 65534, 65534) == 0};
         }},
        {"symbolic link as the folder", [](const TempFolder& f) {
             fs::create_symlink(f.Path(), f / "link");
             return Spoilt{f / "link"};
         }},
    };
    for (const auto& [what, spoil] : cases) {
        TempFolder folder;
        const Spoilt spoilt = spoil(folder);
        if (!spoilt.made)
            continue;
        // Returning at all is the point: no case may wait for ever.
        CSingleInstanceMutex mark("{GUID}", spoilt.folder, std::chrono::milliseconds(50));
        EXPECT_NE(mark.LastError(), 0) << what;
        EXPECT_NE(mark.LastError(), kErrorAlreadyExists) << what;
        EXPECT_FALSE(mark.Held()) << what;
        if (spoilt.lockedFd >= 0)
            ::close(spoilt.lockedFd);
    }

    TempFolder folder;
    CSingleInstanceMutex first("{GUID}", folder.Path());
    CSingleInstanceMutex second("{GUID}", folder.Path());
    EXPECT_EQ(first.LastError(), 0);
    EXPECT_EQ(second.LastError(), kErrorAlreadyExists);
    struct stat info {};
    ASSERT_EQ(::stat(first.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the mark is the user's alone";
}
