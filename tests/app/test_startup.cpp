#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>

#include "AppTestSupport.h"
#include "link/EcgChain.h"
#include "platform/Thread.h"

namespace {

class FakeHost : public IStartupHost {
public:
    IPrompter& Prompter() override { return prompter; }
    void ShowSplash() override { ++splashes; }
    void RunEventsFor(uint32_t ms) override { pauses.push_back(ms); }
    bool CreateMainWindow() override
    {
        ++windowsCreated;
        return createWindow;
    }
    void ShowMainWindowMaximized() override { ++windowsShown; }

    CScriptedPrompter prompter;
    int splashes = 0;
    std::vector<uint32_t> pauses;
    int windowsCreated = 0;
    int windowsShown = 0;
    bool createWindow = true;
};

class FakeComModule : public IComModule {
public:
    bool InitializeCom() override
    {
        calls.push_back("InitializeCom");
        return comWorks;
    }
    void UninitializeCom() override { calls.push_back("UninitializeCom"); }
    void Init(uint32_t) override { calls.push_back("Init"); }
    void Term() override { calls.push_back("Term"); }
    bool RegisterServer() override
    {
        calls.push_back("RegisterServer");
        return true;
    }
    bool UnregisterServer() override
    {
        calls.push_back("UnregisterServer");
        return true;
    }
    bool RegisterClassObjects() override
    {
        calls.push_back("RegisterClassObjects");
        return classesWork;
    }
    void RevokeClassObjects() override { calls.push_back("RevokeClassObjects"); }

    int Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

    std::vector<std::string> calls;
    bool comWorks = true;
    bool classesWork = true;
};

int g_unregisterCalls = 0;
int FakeUnregister() { return ++g_unregisterCalls, 0; }
int FakeIntFn() { return 0; }

class FakeLoader : public IDynamicLibraryLoader {
public:
    void* Load(const std::string& path) override
    {
        loadedPaths.push_back(path);
        return present ? &m_library : nullptr;
    }
    void* Symbol(void* library, const char* name) override
    {
        if (library != &m_library || missing == name)
            return nullptr;
        if (std::string(name) == "zlbUnregisterDevice")
            return reinterpret_cast<void*>(&FakeUnregister);
        return reinterpret_cast<void*>(&FakeIntFn);
    }
    void Free(void* library) override
    {
        if (library == &m_library)
            ++freed;
    }

    bool present = true;
    std::string missing;
    std::vector<std::string> loadedPaths;
    int freed = 0;

private:
    int m_library = 0;
};

class FakeOs : public IOsVersion {
public:
    bool Query(OsVersionInfo& out, bool) const override
    {
        out = info;
        return true;
    }
    OsVersionInfo info{10, 0, kPlatformWin32Nt, ""};
};

// A start-up with every service faked.
struct Startup {
    explicit Startup(std::vector<std::string> arguments = {}) : app(std::move(arguments))
    {
        services.settingsKeys = &keys;
        services.comModule = &com;
        services.osVersion = &os;
        services.libraryLoader = &loader;
        services.moduleFileName = [](std::string& path) {
            path = "/opt/quorin/quorin";
            return true;
        };
        services.documentsFolder = [this](std::string& path) {
            path = folder / "Documents";
            std::filesystem::create_directories(path);
            return true;
        };
        services.versionBlock = [] { return std::optional<VersionBlock>(VersionBlock{"2, 5, 3, 7", "(C) Norq"}); };
        services.splashPauseMs = 0;
    }
    bool Run() { return app.RunInitInstance(host, services); }
    std::shared_ptr<CMemoryProfileStore> Store() { return keys.Key(SettingsScope::User, kProgramKey); }
    bool EndedSilently() const { return host.windowsCreated == 0 && host.prompter.Prompts().empty(); }

    TempFolder folder;
    CMemorySettingsKeys keys;
    FakeComModule com;
    FakeOs os;
    FakeLoader loader;
    FakeHost host;
    StartupServices services;
    CQuorinAppCore app;
};

} // namespace

TEST(Startup, RunsEveryStepAndShowsTheMainWindowMaximised)
{
    const std::string nameBefore = GetThreadName();
    Startup s;
    s.services.splashPauseMs = 2000;
    ASSERT_TRUE(s.Run());

    EXPECT_EQ(s.host.splashes, 1);
    EXPECT_EQ(s.host.pauses, std::vector<uint32_t>{2000});
    EXPECT_EQ(s.host.windowsCreated, 1);
    EXPECT_EQ(s.host.windowsShown, 1);
    EXPECT_TRUE(s.host.prompter.Prompts().empty());
    EXPECT_EQ(GetThreadName(), nameBefore) << "the main thread keeps the process's name";

    EXPECT_EQ(s.app.ModuleFileName(), "/opt/quorin/quorin");
    EXPECT_EQ(s.app.EpisodeFolder(), s.folder / "Documents/Norq_Patient_Episodes");
    EXPECT_TRUE(std::filesystem::is_directory(s.app.EpisodeFolder()));
    EXPECT_EQ(s.app.RecordFolder(), s.app.EpisodeFolder());
    EXPECT_TRUE(s.Store()->ReadValue("Defaults/Values/PortNum").has_value()) << "settings written back at start";

    EXPECT_FALSE(s.app.IsDemoMode());
    EXPECT_FALSE(s.app.IsServiceMode());
    EXPECT_TRUE(s.app.IsBluetoothUsable());
    EXPECT_TRUE(s.app.IsBluetoothLibraryLoaded());
    EXPECT_EQ(s.loader.loadedPaths, std::vector<std::string>{"/opt/quorin/libzelbex.so"});
    const ZelbexApi& api = s.app.Zelbex();
    for (const void* entry : {(void*)api.zlbBuildDeviceList, (void*)api.zlbGetNumOfDevices, (void*)api.zlbGetDeviceString,
             (void*)api.zlbGetDevicePort, (void*)api.zlbRegisterDevice, (void*)api.zlbUnregisterDevice,
             (void*)api.zlbAuthenticateDevice, (void*)api.zlbIsVistaFeaturePackForWireless})
        EXPECT_NE(entry, nullptr);
    EXPECT_TRUE(s.app.IsComInitialized());
    EXPECT_EQ(s.com.Count("RegisterClassObjects"), 1);
}

TEST(Startup, ExitUnregistersTheDeviceAndReleasesLibraryAndCom)
{
    Startup s;
    ASSERT_TRUE(s.Run());
    const int unregisteredBefore = g_unregisterCalls;
    EXPECT_EQ(s.app.RunExitInstance(), 0);
    EXPECT_EQ(g_unregisterCalls, unregisteredBefore + 1);
    EXPECT_EQ(s.loader.freed, 1);
    EXPECT_FALSE(s.app.IsBluetoothLibraryLoaded());
    EXPECT_EQ(s.app.Zelbex().zlbUnregisterDevice, nullptr);
    EXPECT_EQ(s.com.Count("RevokeClassObjects"), 1);
    EXPECT_EQ(s.com.Count("Term"), 1);
    EXPECT_EQ(s.com.Count("UninitializeCom"), 1);
    EXPECT_FALSE(s.app.IsComInitialized());

    s.app.RunExitInstance();
    EXPECT_EQ(s.loader.freed, 1) << "nothing is released twice";
    EXPECT_EQ(g_unregisterCalls, unregisteredBefore + 1);
}

TEST(Startup, VersionTextUsesTheFirstSecondAndFourthNumber)
{
    struct Case { std::optional<VersionBlock> block; const char* text; const char* legal; };
    const Case cases[] = {
        {VersionBlock{"2, 5, 0, 0", "(C) Norq"}, "v2.5.0", "(C) Norq"},
        {VersionBlock{"2, 5, 3, 7", "(C) Norq"}, "v2.5.7", "(C) Norq"},
        {VersionBlock{"2,5,3,7", ""}, "v2.5.7", ""},
        {std::nullopt, "vX.X.X", ""},
        {VersionBlock{"2, 5", "(C) Norq"}, "vX.X.X", "(C) Norq"},
    };
    for (const Case& c : cases) {
        Startup s;
        s.services.versionBlock = [&c] { return c.block; };
        ASSERT_TRUE(s.Run());
        EXPECT_EQ(s.app.VersionText(), c.text);
        EXPECT_EQ(s.app.LegalCopyright(), c.legal);
    }

    Startup built;
    built.services.versionBlock = [] { return std::optional<VersionBlock>(BuiltInVersionBlock()); };
    ASSERT_TRUE(built.Run());
    int numbers[4];
    ASSERT_TRUE(ParseFileVersion(BuiltInVersionBlock().fileVersion, numbers));
    EXPECT_EQ(built.app.VersionText(),
              "v" + std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." + std::to_string(numbers[3]));
    EXPECT_FALSE(built.app.LegalCopyright().empty());
}

TEST(Startup, WithoutItsOwnFileNameTheProgramSaysSoAndEnds)
{
    Startup s;
    s.services.moduleFileName = [](std::string&) { return false; };
    EXPECT_FALSE(s.Run());
    const auto prompts = s.host.prompter.Prompts();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "Could not obtain module information.");
    EXPECT_EQ(prompts[0].caption, "Wireless Remote Application Error");
    EXPECT_EQ(prompts[0].type & kMbIconMask, kMbIconError);
    EXPECT_EQ(s.host.windowsCreated, 0);
    EXPECT_NE(s.app.RunExitInstance(), 0) << "a start-up failure is a failed run";
}

TEST(Startup, DemoWordSelectsDemoModeWithoutTheLibrary)
{
    Startup demo({"SIMULATE_DATA"});
    demo.loader.present = false;
    ASSERT_TRUE(demo.Run());
    EXPECT_TRUE(demo.app.IsDemoMode());
    EXPECT_TRUE(IsEcgDemoMode()) << "the Moval chain keeps generated ECG as it is";
    EXPECT_TRUE(demo.loader.loadedPaths.empty());
    EXPECT_TRUE(demo.host.prompter.Prompts().empty());
    EXPECT_EQ(demo.host.windowsShown, 1);

    Startup lower({"simulate_data"});
    lower.loader.present = false;
    EXPECT_FALSE(lower.Run());
    EXPECT_FALSE(lower.app.IsDemoMode());
    EXPECT_FALSE(IsEcgDemoMode());
    const auto prompts = lower.host.prompter.Prompts();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "Could not find/load zelbex.dll.");
    EXPECT_EQ(prompts[0].caption, "Wireless Remote Application Error");
    EXPECT_EQ(lower.host.windowsCreated, 0);

    Startup second({"other.qre", "SIMULATE_DATA"});
    ASSERT_TRUE(second.Run());
    EXPECT_FALSE(second.app.IsDemoMode()) << "only the first word is the file name";
}

TEST(Startup, ServiceWordMustMatchExactly)
{
    Startup service({"tornwhisk"});
    ASSERT_TRUE(service.Run());
    EXPECT_TRUE(service.app.IsServiceMode());
    EXPECT_FALSE(service.app.IsDemoMode());
    EXPECT_EQ(service.loader.loadedPaths.size(), 1u) << "the service start still binds the library";

    for (const char* word : {"Tornwhisk", "tornwhisk2", "/tornwhisk"}) {
        Startup other({word});
        ASSERT_TRUE(other.Run());
        EXPECT_FALSE(other.app.IsServiceMode()) << word;
    }
}

TEST(Startup, RegistrationWordsRegisterAndEndSilently)
{
    struct Case { std::vector<std::string> arguments; const char* call; };
    const Case cases[] = {
        {{"/RegServer"}, "RegisterServer"},
        {{"-unregserver"}, "UnregisterServer"},
        {{"-UNREGSERVER"}, "UnregisterServer"},
        {{"/regserver"}, "RegisterServer"},
        {{"SIMULATE_DATA", "/RegServer"}, "RegisterServer"},
    };
    for (const Case& c : cases) {
        Startup s(c.arguments);
        EXPECT_FALSE(s.Run()) << c.arguments.back();
        EXPECT_TRUE(s.EndedSilently());
        EXPECT_EQ(s.com.Count(c.call), 1) << c.arguments.back();
        EXPECT_EQ(s.com.Count("UninitializeCom"), 1);
        EXPECT_FALSE(s.app.IsComInitialized());
        EXPECT_FALSE(s.Store()->ReadValue("Defaults/Values/PortNum").has_value()) << "ends before the settings";
        EXPECT_EQ(s.app.RunExitInstance(), 0);
    }
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"/RegServer", "x"}, {"/RegServerX"}, {"RegServer"}}) {
        Startup s(arguments);
        EXPECT_TRUE(s.Run()) << arguments[0];
        EXPECT_EQ(s.com.Count("RegisterServer"), 0);
        EXPECT_EQ(s.host.windowsShown, 1);
    }
}

TEST(Startup, FailingComOrAutomationStartsEndSilently)
{
    Startup noCom;
    noCom.com.comWorks = false;
    EXPECT_FALSE(noCom.Run());
    EXPECT_TRUE(noCom.EndedSilently());
    EXPECT_FALSE(noCom.app.IsComInitialized());

    Startup noClasses;
    noClasses.com.classesWork = false;
    EXPECT_FALSE(noClasses.Run());
    EXPECT_TRUE(noClasses.EndedSilently());
    EXPECT_EQ(noClasses.com.Count("UninitializeCom"), 1);

    for (const char* flag : {"/Embedding", "-Automation"}) {
        Startup automation({flag});
        EXPECT_FALSE(automation.Run()) << flag;
        EXPECT_TRUE(automation.EndedSilently()) << flag;
    }
}

TEST(Startup, ASecondInstanceEndsOnlyWhenSingleInstanceIsOn)
{
    struct Case { int error; const char* setting; bool runs; };
    const Case cases[] = {{183, "1", false}, {183, "0", true}, {0, "1", true}, {2, "1", true}};
    for (const Case& c : cases) {
        Startup s;
        s.services.singleInstanceError = c.error;
        ASSERT_TRUE(s.Store()->WriteProfileString("Defaults\\Values", "Single Instance", c.setting));
        EXPECT_EQ(s.Run(), c.runs) << c.error << " / " << c.setting;
        if (!c.runs) {
            EXPECT_TRUE(s.EndedSilently());
        }
    }
}

TEST(Startup, BluetoothLibraryFollowsTheSystemVersion)
{
    struct Case { uint32_t major, minor; const char* servicePack; bool usable; };
    const Case cases[] = {
        {5, 1, "Service Pack 2", true}, {5, 1, "Service Pack 1", false}, {5, 2, "Service Pack 2", false},
        {6, 0, "", true}, {6, 2, "", true},
    };
    for (const Case& c : cases) {
        Startup s;
        s.os.info = {c.major, c.minor, kPlatformWin32Nt, c.servicePack};
        s.loader.present = false;
        EXPECT_EQ(s.Run(), !c.usable) << c.major << "." << c.minor << " " << c.servicePack;
        EXPECT_EQ(s.app.IsBluetoothUsable(), c.usable);
        EXPECT_EQ(s.loader.loadedPaths.size(), c.usable ? 1u : 0u);
        EXPECT_EQ(s.host.prompter.Prompts().size(), c.usable ? 1u : 0u);
    }
}

TEST(Startup, ALibraryLackingOneEntryPointCountsAsMissing)
{
    for (const char* missing : {"zlbBuildDeviceList", "zlbGetNumOfDevices", "zlbGetDeviceString", "zlbGetDevicePort",
             "zlbRegisterDevice", "zlbUnregisterDevice", "zlbAuthenticateDevice", "zlbIsVistaFeaturePackForWireless"}) {
        Startup s;
        s.loader.missing = missing;
        EXPECT_FALSE(s.Run()) << missing;
        EXPECT_EQ(s.loader.freed, 1) << missing;
        EXPECT_FALSE(s.app.IsBluetoothLibraryLoaded());
        EXPECT_EQ(s.app.Zelbex().zlbBuildDeviceList, nullptr);
        ASSERT_EQ(s.host.prompter.Prompts().size(), 1u);
        EXPECT_EQ(s.host.prompter.Prompts()[0].text, "Could not find/load zelbex.dll.");
        const int freed = s.loader.freed;
        s.app.RunExitInstance();
        EXPECT_EQ(s.loader.freed, freed) << "an unbound library is not released again";
    }
}

TEST(Startup, AMainWindowThatCannotBeMadeEndsStartUp)
{
    Startup s;
    s.host.createWindow = false;
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.host.windowsShown, 0);
}

TEST(Startup, NoDocumentsFolderLeavesBothFoldersEmpty)
{
    Startup s;
    s.services.documentsFolder = [](std::string&) { return false; };
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.app.MyDocumentsFolder(), "");
    EXPECT_EQ(s.app.EpisodeFolder(), "");
    EXPECT_EQ(s.app.RecordFolder(), "");
}

TEST(Startup, ReviewProgramsAreFoundOnTheSearchPath)
{
    Startup s;
    const std::string bin = s.folder / "bin";
    const std::string other = s.folder / "other";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(other);
    std::ofstream(bin + "/Trellan") << "#!/bin/sh\n";
    ::chmod((bin + "/Trellan").c_str(), 0755);
    std::ofstream(bin + "/Vospery") << "not executable";
    ::chmod((bin + "/Vospery").c_str(), 0644);
    std::filesystem::create_directory(other + "/Vospery");  // a folder is no program

    s.services.searchPath = "::" + other + ":" + bin;
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.app.TrellanPath(), bin + "/Trellan");
    EXPECT_EQ(s.app.VosperyPath(), "");
    EXPECT_EQ(s.app.EcgProgramsPresent(), 1);

    std::ofstream(other + "/Vospery2") << "";
    ::chmod((bin + "/Vospery").c_str(), 0755);
    s.app.FindEcgPrograms();
    EXPECT_EQ(s.app.VosperyPath(), bin + "/Vospery");
    EXPECT_EQ(s.app.EcgProgramsPresent(), 3);
    EXPECT_EQ(FindProgramOnPath("Trellan", ""), "");
}

TEST(Startup, FindOneOfPointsJustPastTheFirstMatch)
{
    const char* text = "a-b/c";
    EXPECT_EQ(FindOneOf(text, "-/"), text + 2);
    EXPECT_EQ(FindOneOf(text + 2, "-/"), text + 4);
    EXPECT_EQ(FindOneOf("abc", "-/"), nullptr);
    EXPECT_EQ(FindOneOf("", "-/"), nullptr);
    EXPECT_EQ(FindOneOf(nullptr, "-/"), nullptr);
}

#ifdef ZELBEX_LIBRARY
TEST(Startup, BindsTheRealSupportLibraryFromTheProgramsFolder)
{
    Startup s;
    const std::string library = ZELBEX_LIBRARY;
    s.services.libraryLoader = &SystemLibraryLoader();
    s.services.moduleFileName = [library](std::string& path) {
        path = std::filesystem::path(library).parent_path().string() + "/quorin";
        return true;
    };
    ASSERT_TRUE(s.Run());
    ASSERT_TRUE(s.app.IsBluetoothLibraryLoaded());
    EXPECT_EQ(s.app.Zelbex().zlbIsVistaFeaturePackForWireless(), 0);
    EXPECT_EQ(s.app.Zelbex().zlbGetDevicePort(99), 0);
    EXPECT_EQ(s.app.RunExitInstance(), 0);
    EXPECT_FALSE(s.app.IsBluetoothLibraryLoaded());
}
#endif
