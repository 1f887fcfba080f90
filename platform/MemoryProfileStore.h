#pragma once
// A settings store held in memory: for tests and for runs that must leave
// the user's settings alone.
#include <map>
#include <mutex>

#include "platform/ProfileStore.h"

class CMemoryProfileStore : public IProfileStore {
public:
    std::optional<std::string> ReadValue(const std::string& path) const override;
    [[nodiscard]] bool WriteValue(const std::string& path, const std::string& text) override;
    [[nodiscard]] bool DeleteValue(const std::string& path) override;
    Values ReadAll() const override;
    [[nodiscard]] bool ReplaceAll(const Values& values) override;

    // Test hooks: a store that refuses writes, and a count of writes.
    void SetReadOnly(bool readOnly);
    std::size_t WriteCount() const;

private:
    mutable std::mutex m_mutex;
    Values m_values;
    bool m_readOnly = false;
    std::size_t m_writes = 0;
};

// Keys of both scopes in memory; the same path gives the same store.
class CMemorySettingsKeys : public ISettingsKeys {
public:
    std::shared_ptr<IProfileStore> OpenKey(SettingsScope scope, const std::string& subKey, bool create) override;
    // The store of a key, created when missing (for tests to look inside).
    std::shared_ptr<CMemoryProfileStore> Key(SettingsScope scope, const std::string& subKey);

private:
    std::mutex m_mutex;
    std::map<std::pair<SettingsScope, std::string>, std::shared_ptr<CMemoryProfileStore>> m_keys;
};
