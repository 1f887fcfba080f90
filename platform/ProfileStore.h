#pragma once
// The settings store: sections of named values, read and written with the
// profile semantics the program relies on. Values are kept as text; an
// integer is its decimal text.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

// "Defaults\BP\Canine" to "Defaults/BP/Canine": section names keep the
// backslashes of the original layout; the store nests on slashes.
std::string MapSectionName(const std::string& section);

// The text of a stored integer as GetProfileInt reads it: a signed or
// unsigned 32-bit decimal ("-1" and "4294967295" both give 0xFFFFFFFF).
// Anything else is no integer.
std::optional<uint32_t> ParseProfileInt(const std::string& text);

class IProfileStore {
public:
    using Values = std::map<std::string, std::string>;

    virtual ~IProfileStore() = default;

    // Raw access by full value path ("Defaults/Values/PortNum").
    virtual std::optional<std::string> ReadValue(const std::string& path) const = 0;
    [[nodiscard]] virtual bool WriteValue(const std::string& path, const std::string& text) = 0;
    // Removes the value; true when it is gone (or was never there).
    [[nodiscard]] virtual bool DeleteValue(const std::string& path) = 0;
    // Every value of the key, by full path.
    virtual Values ReadAll() const = 0;
    // Replaces the whole key with `values` in one step.
    [[nodiscard]] virtual bool ReplaceAll(const Values& values) = 0;
    // Makes written values durable; false when they could not be stored.
    [[nodiscard]] virtual bool Flush() { return true; }

    // The value, or `defaultValue` when it is missing or no 32-bit integer.
    uint32_t GetProfileInt(const std::string& section, const std::string& entry, int32_t defaultValue) const;
    // The value, or `defaultValue` when it is missing.
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) const;
    [[nodiscard]] bool WriteProfileInt(const std::string& section, const std::string& entry, int32_t value);
    [[nodiscard]] bool WriteProfileString(const std::string& section, const std::string& entry,
                                          const std::string& value);
};

enum class SettingsScope { User, System };

// Opens whole settings keys by their registry-style path
// ("Software\Norq Technology\quorin"); the settings-file export and import
// work on these.
class ISettingsKeys {
public:
    virtual ~ISettingsKeys() = default;
    // Null when the key does not exist (and `create` is false) or cannot be
    // opened.
    virtual std::shared_ptr<IProfileStore> OpenKey(SettingsScope scope, const std::string& subKey, bool create) = 0;
};
