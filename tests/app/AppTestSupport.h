#pragma once
// Shared pieces of the application tests: a temporary folder and an
// application object on an in-memory store.
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "platform/MemoryProfileStore.h"

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorin-app-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// An application object whose settings live in memory.
struct AppOnMemoryStore {
    TempFolder folder;
    CMemorySettingsKeys keys;
    CQuorinAppCore app{{}};

    AppOnMemoryStore()
    {
        app.SetEpisodeFolder(folder / "episodes");
        std::filesystem::create_directory(folder / "episodes");
        app.SetRegistryKey(keys, kCompanyKey);
    }
    std::shared_ptr<CMemoryProfileStore> Store() { return keys.Key(SettingsScope::User, kProgramKey); }
    void Put(const std::string& section, const std::string& name, const std::string& value)
    {
        ASSERT_TRUE(Store()->WriteProfileString(section, name, value));
    }
    void StartUp()
    {
        app.SetDefaultSettings();
        app.LoadSettings();
        ASSERT_TRUE(app.SaveSettings());
    }
};
