#include "NorqRemoteSwitcher/RemoteTable.h"

#include "app/SettingsNames.h"

namespace {

std::string Numbered(const char* name, int n)
{
    return name + std::to_string(n);
}

} // namespace

const char* RemoteTypeText(int type)
{
    static constexpr const char* kTexts[kRemoteTypeCount] = {"Moval", "Tarvik", "Tarvik+", "Selvo", "Brindle"};
    return type >= 0 && type < kRemoteTypeCount ? kTexts[type] : kTexts[0];
}

std::string RemoteLabel(int type, const std::string& name)
{
    std::string text = RemoteTypeText(type);
    text.resize(9, ' ');
    return text + ":   " + name;
}

std::string EditedRemoteLabel(int type, const std::string& name)
{
    if (type == kRemoteMoval)
        return RemoteLabel(type, name);
    return std::string(RemoteTypeText(type)) + "   :   " + name;
}

bool LoadRemotes(const CRegistryModule& registry, RemoteTable& table)
{
    table = RemoteTable{};
    if (!registry.HasStore())
        return false;
    const int32_t count = registry.GetInt(kSectionRemotes, kValueRNum).value_or(0);
    table.count = static_cast<int16_t>(count >= 0 && count <= kMaxRemotes ? count : 0);
    for (int i = 0; i < table.count; ++i) {
        RemoteEntry& entry = table.entries[static_cast<std::size_t>(i)];
        const int n = i + 1;
        const int32_t type = registry.GetInt(kSectionRemotes, Numbered(kValueRType, n)).value_or(0);
        entry.type = static_cast<int16_t>(type >= 0 && type < kRemoteTypeCount ? type : 0);
        entry.name = registry.GetValue(kSectionRemotes, Numbered(kValueRName, n));
        const int32_t port = registry.GetInt(kSectionRemotes, Numbered(kValueRPort, n)).value_or(0);
        entry.port = static_cast<int16_t>(port >= 2 && port <= 255 ? port : 0);
        entry.label = RemoteLabel(entry.type, entry.name);
    }
    return true;
}

bool SaveRemotes(CRegistryModule& registry, const RemoteTable& table)
{
    bool ok = registry.SetValue(kSectionRemotes, kValueRNum, table.count);
    for (int n = 1; n <= kMaxRemotes; ++n)
        for (const char* name : {kValueRType, kValueRName, kValueRPort})
            ok = registry.DeleteValue(kSectionRemotes, Numbered(name, n)) && ok;
    for (int i = 0; i < table.count && i < kMaxRemotes; ++i) {
        const RemoteEntry& entry = table.entries[static_cast<std::size_t>(i)];
        const int n = i + 1;
        ok = registry.SetValue(kSectionRemotes, Numbered(kValueRType, n), entry.type) && ok;
        ok = registry.SetValue(kSectionRemotes, Numbered(kValueRName, n), entry.name) && ok;
        ok = registry.SetValue(kSectionRemotes, Numbered(kValueRPort, n), entry.port) && ok;
    }
    return registry.Flush() && ok;
}
