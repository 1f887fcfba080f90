#include "platform/ProfileStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

std::string MapSectionName(const std::string& section)
{
    std::string mapped = section;
    std::replace(mapped.begin(), mapped.end(), '\\', '/');
    return mapped;
}

std::optional<uint32_t> ParseProfileInt(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    const bool negative = text[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    if (first == text.size() || text.size() - first > 10)
        return std::nullopt;
    uint64_t magnitude = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    if (negative) {
        if (magnitude > 0x80000000ull)
            return std::nullopt;
        return static_cast<uint32_t>(0x100000000ull - magnitude);
    }
    if (magnitude > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<uint32_t>(magnitude);
}

namespace {

std::string ValuePath(const std::string& section, const std::string& entry)
{
    return MapSectionName(section) + "/" + entry;
}

} // namespace

uint32_t IProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int32_t defaultValue) const
{
    if (const auto text = ReadValue(ValuePath(section, entry)))
        if (const auto value = ParseProfileInt(*text))
            return *value;
    return static_cast<uint32_t>(defaultValue);
}

std::string IProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                            const std::string& defaultValue) const
{
    if (auto text = ReadValue(ValuePath(section, entry)))
        return *text;
    return defaultValue;
}

bool IProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int32_t value)
{
    return WriteValue(ValuePath(section, entry), std::to_string(value));
}

bool IProfileStore::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    return WriteValue(ValuePath(section, entry), value);
}

std::string LookUpPortMap(const IProfileStore& store, int portNumber)
{
    return store.GetProfileString("PortMap", "COM" + std::to_string(portNumber), "");
}
