#pragma once
// The switcher's registry module: a few calls on quorin's own settings key.
// Sections are relative to that key ("Defaults\Values"). A section exists
// while it holds a value; the store keeps no empty ones.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ProfileStore.h"

class CRegistryModule {
public:
    // `store` is the settings key; without one every call does nothing.
    explicit CRegistryModule(IProfileStore* store) : m_store(store) {}

    bool KeyExists(const std::string& section) const;
    // The stored text, cut at a NUL; empty when the value is missing.
    std::string GetValue(const std::string& section, const std::string& name) const;
    // The integer, or nothing when the value is missing or no integer.
    std::optional<int32_t> GetInt(const std::string& section, const std::string& name) const;
    bool SetValue(const std::string& section, const std::string& name, int32_t value);
    // Texts are stored trimmed, and always as texts: a name such as "007"
    // reads back as written.
    bool SetValue(const std::string& section, const std::string& name, const std::string& text);
    bool DeleteValue(const std::string& section, const std::string& name);
    // Makes the section exist by giving it `firstValue` = 0, unless it
    // already holds something.
    bool CreateKey(const std::string& section, const std::string& firstValue);
    // Writes what was set through to the file; false when it did not get there.
    bool Flush();

    bool HasStore() const { return m_store != nullptr; }

private:
    IProfileStore* m_store;
};
