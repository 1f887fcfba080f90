#pragma once
// The window-free half of the application object: the four settings records
// with their load, save and clamp rules, the settings files, and the
// start-up and shutdown sequence. CQuorinApp adds the window system.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ComModule.h"
#include "app/RemoteConfiguration.h"
#include "platform/DynamicLibrary.h"
#include "platform/OsVersion.h"
#include "platform/ProfileStore.h"
#include "platform/Prompter.h"
#include "platform/Relaxed.h"
#include "zelbex/Zelbex.h"

// The eight entry points of the Bluetooth support library.
struct ZelbexApi {
    ZlbBuildDeviceListFn zlbBuildDeviceList = nullptr;
    ZlbGetNumOfDevicesFn zlbGetNumOfDevices = nullptr;
    ZlbGetDeviceStringFn zlbGetDeviceString = nullptr;
    ZlbGetDevicePortFn zlbGetDevicePort = nullptr;
    ZlbRegisterDeviceFn zlbRegisterDevice = nullptr;
    ZlbUnregisterDeviceFn zlbUnregisterDevice = nullptr;
    ZlbAuthenticateDeviceFn zlbAuthenticateDevice = nullptr;
    ZlbIsVistaFeaturePackForWirelessFn zlbIsVistaFeaturePackForWireless = nullptr;
};

inline constexpr char kZelbexLibraryName[] = "libzelbex.so";
inline constexpr char kStartupErrorCaption[] = "Wireless Remote Application Error";
inline constexpr char kDemoSwitch[] = "SIMULATE_DATA";
inline constexpr char kServiceSwitch[] = "tornwhisk";

// The program's version block: "FileVersion" as "a, b, c, d" and
// "LegalCopyright".
struct VersionBlock {
    std::string fileVersion;
    std::string legalCopyright;
};

// What start-up takes from the system. Tests put fakes in.
struct StartupServices {
    ISettingsKeys* settingsKeys = nullptr;
    IComModule* comModule = nullptr;
    const IOsVersion* osVersion = nullptr;
    IDynamicLibraryLoader* libraryLoader = nullptr;
    std::function<bool(std::string&)> moduleFileName;
    std::function<bool(std::string&)> documentsFolder;
    std::function<std::optional<VersionBlock>()> versionBlock;
    std::string searchPath;             // where the review programs are looked for
    int singleInstanceError = 0;        // 183: another instance is running
    uint32_t splashPauseMs = 2000;
};

// The system's own services; the settings keys are left for the caller.
StartupServices SystemStartupServices(IComModule& comModule);

// What start-up needs from the window system.
class IStartupHost {
public:
    virtual ~IStartupHost() = default;
    virtual IPrompter& Prompter() = 0;
    virtual void ShowSplash() = 0;
    // Waits while the event loop keeps running.
    virtual void RunEventsFor(uint32_t ms) = 0;
    // Frame, document and view; false ends start-up.
    [[nodiscard]] virtual bool CreateMainWindow() = 0;
    virtual void ShowMainWindowMaximized() = 0;
};

// Makes one folder level (a chosen folder on a drive that is gone must not
// be recreated under the empty mount point); true when it exists after.
[[nodiscard]] bool MakeRecordFolder(const std::string& path);

class CQuorinAppCore {
public:
    // `arguments`: the command line without the program's name.
    explicit CQuorinAppCore(std::vector<std::string> arguments);
    virtual ~CQuorinAppCore();
    CQuorinAppCore(const CQuorinAppCore&) = delete;
    CQuorinAppCore& operator=(const CQuorinAppCore&) = delete;

    // The one application object, null when there is none.
    static CQuorinAppCore* Instance();

    // ---- Settings ----
    RemoteConfiguration m_factoryConfig;    // factory defaults
    RemoteConfiguration m_config;           // the settings in force
    RemoteConfiguration m_confirmedConfig;  // the copy confirmed last
    RemoteConfiguration m_storedConfig;     // the image of the store
    // Set when the strip layers must be redrawn at the next paint although
    // their size has not changed (new colours, say).
    bool m_redrawLayers = false;

    // Set while a remote, or the demo generator, is connected: the
    // connection's threads write it, the about box reads it.
    Relaxed<int32_t> m_connected{0};

    // Opens Software\<company>\quorin of the user as the settings store.
    void SetRegistryKey(ISettingsKeys& keys, const std::string& company);
    IProfileStore* ProfileStore() const { return m_store.get(); }

    void SetDefaultSettings();
    void LoadSettings();
    // False when the store refused a value.
    [[nodiscard]] bool SaveSettings();
    [[nodiscard]] bool SaveRecentList();
    [[nodiscard]] bool SaveClinicInfo();
    // A whole settings key to a file and back; root "HKCU" (any case) is the
    // user's store, any other root the system's.
    [[nodiscard]] bool BackupSettings(const std::string& rootName, const std::string& subKey, const std::string& file);
    [[nodiscard]] bool RestoreSettings(const std::string& rootName, const std::string& file, const std::string& subKey);

    const std::string& MyDocumentsFolder() const { return m_myDocumentsFolder; }
    const std::string& EpisodeFolder() const { return m_episodeFolder; }
    void SetEpisodeFolder(const std::string& folder) { m_episodeFolder = folder; }
    // Where recordings go: "RecordPath", or the episode folder when that is
    // empty or cannot be made.
    const std::string& RecordFolder() const { return m_recordFolder; }
    void SetRecordFolder(const std::string& folder) { m_recordFolder = folder; }

    // ---- Start-up and shutdown ----
    [[nodiscard]] bool RunInitInstance(IStartupHost& host, const StartupServices& services);
    // Releases the Bluetooth library and COM; the process's exit code.
    int RunExitInstance();

    [[nodiscard]] bool InitATL();
    void FindEcgPrograms();
    // The same on another search path (folders joined by ':').
    void FindEcgPrograms(const std::string& searchPath);
    [[nodiscard]] bool LoadBluetoothHelper();

    const std::vector<std::string>& Arguments() const { return m_arguments; }
    const std::string& ModuleFileName() const { return m_moduleFileName; }
    const int* VersionNumbers() const { return m_versionNumbers; }
    const std::string& VersionText() const { return m_versionText; }
    const std::string& LegalCopyright() const { return m_legalCopyright; }
    const std::string& TrellanPath() const { return m_trellanPath; }
    const std::string& VosperyPath() const { return m_vosperyPath; }
    // Bit 0: Trellan found, bit 1: Vospery found.
    int EcgProgramsPresent() const { return m_ecgProgramsPresent; }
    bool IsDemoMode() const { return m_demoMode; }
    bool IsServiceMode() const { return m_serviceMode; }
    bool IsBluetoothUsable() const { return m_bluetoothUsable; }
    bool IsBluetoothLibraryLoaded() const { return m_zelbexLibrary != nullptr; }
    const ZelbexApi& Zelbex() const { return m_zelbex; }
    bool IsComInitialized() const { return m_comInitialized; }

private:
    uint32_t ReadInt(const char* section, const std::string& name, int32_t defaultValue) const;
    std::string ReadString(const char* section, const std::string& name, const std::string& defaultValue) const;
    [[nodiscard]] bool WriteInt(const char* section, const std::string& name, int32_t value);
    [[nodiscard]] bool WriteString(const char* section, const std::string& name, const std::string& value);
    void ChooseRecordFolder();
    void ParseVersionBlock();
    bool Fail(IStartupHost& host, const char* text);

    std::vector<std::string> m_arguments;
    StartupServices m_services;
    ISettingsKeys* m_settingsKeys = nullptr;
    std::shared_ptr<IProfileStore> m_store;

    std::string m_myDocumentsFolder;
    std::string m_episodeFolder;
    std::string m_recordFolder;

    std::string m_moduleFileName;
    int m_versionNumbers[4] = {};
    std::string m_versionText = "vX.X.X";
    std::string m_legalCopyright;
    std::string m_trellanPath;
    std::string m_vosperyPath;
    int m_ecgProgramsPresent = 0;
    bool m_demoMode = false;
    bool m_serviceMode = false;
    bool m_bluetoothUsable = false;
    void* m_zelbexLibrary = nullptr;
    ZelbexApi m_zelbex;
    bool m_comInitialized = false;
    int m_exitCode = 0;
};

// The position just after the first character of `text` that is in `set`;
// null when there is none.
const char* FindOneOf(const char* text, const char* set);

// "a, b, c, d" into four numbers; false unless all four are there.
[[nodiscard]] bool ParseFileVersion(const std::string& fileVersion, int numbers[4]);

// The full path of `name` in the first folder of the colon-separated
// `searchPath` that holds it as an executable file; empty when none does.
std::string FindProgramOnPath(const std::string& name, const std::string& searchPath);

// The running program's own file (from /proc/self/exe).
[[nodiscard]] bool ReadModuleFileName(std::string& path);

// The version block compiled into the program.
VersionBlock BuiltInVersionBlock();
