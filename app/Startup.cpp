#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ModuleVersion.h"
#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "app/QuorinVersion.h"
#include "app/SettingsNames.h"
#include "link/EcgChain.h"
#include "platform/Folders.h"
#include "platform/SingleInstance.h"
#include "platform/Thread.h"

namespace {

constexpr char kStartupTag[] = "CQuorinApp::InitInstance";

CQuorinAppCore* g_theApp = nullptr;

std::string JoinArguments(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const auto& argument : arguments) {
        if (!line.empty())
            line += ' ';
        line += argument;
    }
    return line;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The command line as the framework reads it: switches after "-" or "/",
// the first other word is the file name.
struct CommandLine {
    std::string fileName;
    bool embedded = false;
    bool automated = false;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    for (const auto& argument : arguments) {
        if (!argument.empty() && (argument[0] == '-' || argument[0] == '/')) {
            const std::string flag = argument.substr(1);
            if (flag == "Embedding")
                line.embedded = true;
            else if (flag == "Automation")
                line.automated = true;
        } else if (line.fileName.empty()) {
            line.fileName = argument;
        }
    }
    return line;
}

} // namespace

const char* FindOneOf(const char* text, const char* set)
{
    if (text == nullptr || set == nullptr)
        return nullptr;
    for (const char* p = text; *p != '\0'; ++p)
        if (std::strchr(set, *p) != nullptr)
            return p + 1;
    return nullptr;
}

bool ParseFileVersion(const std::string& fileVersion, int numbers[4])
{
    int parsed[4] = {};
    if (std::sscanf(fileVersion.c_str(), "%d,%d,%d,%d", &parsed[0], &parsed[1], &parsed[2], &parsed[3]) != 4)
        return false;
    std::memcpy(numbers, parsed, sizeof parsed);
    return true;
}

std::string FindProgramOnPath(const std::string& name, const std::string& searchPath)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return {};
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos)
            end = searchPath.size();
        const std::string folder = searchPath.substr(start, end - start);
        // An empty entry means the current folder; we never run from there.
        if (!folder.empty()) {
            const std::string candidate = folder + "/" + name;
            struct stat info {};
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

bool ReadModuleFileName(std::string& path)
{
    std::string buffer(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size())
        return false;
    buffer.resize(static_cast<std::size_t>(length));
    path = buffer;
    return true;
}

VersionBlock BuiltInVersionBlock()
{
    return {QUORIN_FILE_VERSION, QUORIN_LEGAL_COPYRIGHT};
}

StartupServices SystemStartupServices(IComModule& comModule)
{
    StartupServices services;
    services.comModule = &comModule;
    services.osVersion = &SystemOsVersion();
    services.libraryLoader = &SystemLibraryLoader();
    services.moduleFileName = ReadModuleFileName;
    services.documentsFolder = GetMyDocumentsFolder;
    services.versionBlock = []() -> std::optional<VersionBlock> {
        std::string own;
        CModuleVersion version;
        if (!ReadModuleFileName(own) || !version.Load(own))
            return std::nullopt;
        return VersionBlock{version.GetString("FileVersion"), version.GetString("LegalCopyright")};
    };
    if (const char* path = std::getenv("PATH"))
        services.searchPath = path;
    return services;
}

CQuorinAppCore::CQuorinAppCore(std::vector<std::string> arguments)
    : m_arguments(std::move(arguments))
{
    g_theApp = this;
}

CQuorinAppCore::~CQuorinAppCore()
{
    if (g_theApp == this)
        g_theApp = nullptr;
}

CQuorinAppCore* CQuorinAppCore::Instance()
{
    return g_theApp;
}

bool CQuorinAppCore::Fail(IStartupHost& host, const char* text)
{
    host.Prompter().MessageBox(text, kStartupErrorCaption, kMbOk | kMbIconError);
    m_exitCode = 1;
    return false;
}

void CQuorinAppCore::ParseVersionBlock()
{
    std::optional<VersionBlock> block;
    if (m_services.versionBlock)
        block = m_services.versionBlock();
    int numbers[4] = {};
    if (block && ParseFileVersion(block->fileVersion, numbers)) {
        std::memcpy(m_versionNumbers, numbers, sizeof numbers);
        char text[64];
        std::snprintf(text, sizeof text, "v%d.%d.%d", numbers[0], numbers[1], numbers[3]);
        m_versionText = text;
    } else {
        m_versionText = "vX.X.X";
    }
    m_legalCopyright = block ? block->legalCopyright : std::string();
}

bool CQuorinAppCore::RunInitInstance(IStartupHost& host, const StartupServices& services)
{
    m_services = services;
    m_exitCode = 0;

    SetThreadName("Main Thread");

    if (!m_services.moduleFileName || !m_services.moduleFileName(m_moduleFileName))
        return Fail(host, "Could not obtain module information.");

    ParseVersionBlock();

    if (!InitATL())
        return false;

    // Dialogs host no ActiveX controls here: nothing to enable.

    m_myDocumentsFolder.clear();
    m_episodeFolder.clear();
    std::string documents;
    if (m_services.documentsFolder && m_services.documentsFolder(documents)) {
        m_myDocumentsFolder = documents;
        m_episodeFolder = documents + "/Norq_Patient_Episodes";
        if (!CreateFolderWithParents(m_episodeFolder))
            LogEvent(kStartupTag, "Could not create the episode folder %s.", m_episodeFolder.c_str());
    }

    if (m_services.settingsKeys != nullptr)
        SetRegistryKey(*m_services.settingsKeys, kCompanyKey);

    SetDefaultSettings();
    LoadSettings();
    // Without a store there is nothing to write to.
    if (!SaveSettings() && ProfileStore() != nullptr)
        LogEvent(kStartupTag, "The settings could not be stored.");

    if (m_services.singleInstanceError == kErrorAlreadyExists && LoadRelaxed(m_storedConfig.singleInstance) != 0)
        return false;

    FindEcgPrograms();

    const CommandLine line = ParseCommandLine(m_arguments);
    // No automation server here: such a start has nothing to do.
    if (line.embedded || line.automated)
        return false;

    m_demoMode = line.fileName == kDemoSwitch;
    // Generated demo ECG has no baseline to remove.
    SetEcgDemoMode(m_demoMode);
    m_serviceMode = line.fileName == kServiceSwitch;

    host.ShowSplash();
    host.RunEventsFor(m_services.splashPauseMs);

    if (!m_demoMode && !LoadBluetoothHelper())
        return Fail(host, "Could not find/load zelbex.dll.");

    if (!host.CreateMainWindow())
        return false;

    host.ShowMainWindowMaximized();
    return true;
}

bool CQuorinAppCore::InitATL()
{
    IComModule* module = m_services.comModule;
    if (module == nullptr)
        return false;
    m_comInitialized = true;
    if (!module->InitializeCom()) {
        m_comInitialized = false;
        return false;
    }
    module->Init(CurrentThreadId());

    const std::string commandLine = JoinArguments(m_arguments);
    for (const char* token = FindOneOf(commandLine.c_str(), "-/"); token != nullptr; token = FindOneOf(token, "-/")) {
        const bool unregister = ::strcasecmp(token, "UnregServer") == 0;
        const bool doRegister = ::strcasecmp(token, "RegServer") == 0;
        if (unregister || doRegister) {
            // No COM server here: both do nothing, and the program ends either way.
            if (unregister)
                (void)module->UnregisterServer();
            else
                (void)module->RegisterServer();
            m_comInitialized = false;
            module->Term();
            module->UninitializeCom();
            return false;
        }
    }

    if (!module->RegisterClassObjects()) {
        m_comInitialized = false;
        module->UninitializeCom();
        return false;
    }
    return true;
}

void CQuorinAppCore::FindEcgPrograms()
{
    FindEcgPrograms(m_services.searchPath);
}

void CQuorinAppCore::FindEcgPrograms(const std::string& searchPath)
{
    m_trellanPath = FindProgramOnPath("Trellan", searchPath);
    m_vosperyPath = FindProgramOnPath("Vospery", searchPath);
    m_ecgProgramsPresent = (m_trellanPath.empty() ? 0 : 1) | (m_vosperyPath.empty() ? 0 : 2);
}

bool CQuorinAppCore::LoadBluetoothHelper()
{
    m_bluetoothUsable = m_services.osVersion != nullptr && IsWindowsBluetoothUsable(*m_services.osVersion);
    m_zelbexLibrary = nullptr;
    m_zelbex = ZelbexApi{};
    if (!m_bluetoothUsable)
        return true;

    IDynamicLibraryLoader* loader = m_services.libraryLoader;
    if (loader == nullptr)
        return false;
    void* library = loader->Load(FolderOf(m_moduleFileName) + "/" + kZelbexLibraryName);
    if (library == nullptr)
        return false;

    ZelbexApi api;
    bool complete = true;
    auto bind = [&](auto& pointer, const char* name) {
        void* symbol = loader->Symbol(library, name);
        complete = complete && symbol != nullptr;
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(symbol);
    };
    bind(api.zlbBuildDeviceList, "zlbBuildDeviceList");
    bind(api.zlbGetNumOfDevices, "zlbGetNumOfDevices");
    bind(api.zlbGetDeviceString, "zlbGetDeviceString");
    bind(api.zlbGetDevicePort, "zlbGetDevicePort");
    bind(api.zlbRegisterDevice, "zlbRegisterDevice");
    bind(api.zlbUnregisterDevice, "zlbUnregisterDevice");
    bind(api.zlbAuthenticateDevice, "zlbAuthenticateDevice");
    bind(api.zlbIsVistaFeaturePackForWireless, "zlbIsVistaFeaturePackForWireless");
    if (!complete) {
        loader->Free(library);
        return false;
    }
    m_zelbexLibrary = library;
    m_zelbex = api;
    return true;
}

int CQuorinAppCore::RunExitInstance()
{
    if (m_zelbexLibrary != nullptr) {
        if (m_zelbex.zlbUnregisterDevice != nullptr)
            m_zelbex.zlbUnregisterDevice();
        if (m_services.libraryLoader != nullptr)
            m_services.libraryLoader->Free(m_zelbexLibrary);
        m_zelbexLibrary = nullptr;
        m_zelbex = ZelbexApi{};
    }
    if (m_comInitialized && m_services.comModule != nullptr) {
        m_services.comModule->RevokeClassObjects();
        m_services.comModule->Term();
        m_services.comModule->UninitializeCom();
        m_comInitialized = false;
    }
    return m_exitCode;
}
