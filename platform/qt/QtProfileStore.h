#pragma once
// The settings store on QSettings: on this platform an INI file under the
// user's configuration folder ("Norq Technology/quorin.conf").
#include <QSettings>
#include <memory>

#include "platform/ProfileStore.h"

class CQtProfileStore : public IProfileStore {
public:
    // Takes the settings object; `group` narrows it to one sub-key.
    explicit CQtProfileStore(std::unique_ptr<QSettings> settings, const QString& group = {});
    // A store in one INI file (for tests and tools).
    explicit CQtProfileStore(const QString& iniFile);

    std::optional<std::string> ReadValue(const std::string& path) const override;
    [[nodiscard]] bool WriteValue(const std::string& path, const std::string& text) override;
    [[nodiscard]] bool DeleteValue(const std::string& path) override;
    Values ReadAll() const override;
    [[nodiscard]] bool ReplaceAll(const Values& values) override;
    [[nodiscard]] bool Flush() override;

    QString FileName() const { return m_settings->fileName(); }

private:
    std::unique_ptr<QSettings> m_settings;
};

// Keys of the form "Software\<organisation>\<application>[\<group>...]".
class CQtSettingsKeys : public ISettingsKeys {
public:
    std::shared_ptr<IProfileStore> OpenKey(SettingsScope scope, const std::string& subKey, bool create) override;
};
