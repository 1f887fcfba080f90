#include "NorqRemoteSwitcher/RegistryModule.h"

namespace {

std::string PathOf(const std::string& section, const std::string& name)
{
    return MapSectionName(section) + "/" + name;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

bool CRegistryModule::KeyExists(const std::string& section) const
{
    if (!m_store)
        return false;
    const std::string prefix = MapSectionName(section) + "/";
    for (const auto& [path, text] : m_store->ReadAll())
        if (path.starts_with(prefix))
            return true;
    return false;
}

std::string CRegistryModule::GetValue(const std::string& section, const std::string& name) const
{
    if (!m_store)
        return {};
    std::string text = m_store->ReadValue(PathOf(section, name)).value_or(std::string());
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

std::optional<int32_t> CRegistryModule::GetInt(const std::string& section, const std::string& name) const
{
    if (const auto value = ParseProfileInt(Trimmed(GetValue(section, name))))
        return static_cast<int32_t>(*value);
    return std::nullopt;
}

bool CRegistryModule::SetValue(const std::string& section, const std::string& name, int32_t value)
{
    return m_store && m_store->WriteValue(PathOf(section, name), std::to_string(value));
}

bool CRegistryModule::SetValue(const std::string& section, const std::string& name, const std::string& text)
{
    return m_store && m_store->WriteValue(PathOf(section, name), Trimmed(text));
}

bool CRegistryModule::DeleteValue(const std::string& section, const std::string& name)
{
    return m_store && m_store->DeleteValue(PathOf(section, name));
}

bool CRegistryModule::CreateKey(const std::string& section, const std::string& firstValue)
{
    if (KeyExists(section))
        return true;
    return SetValue(section, firstValue, 0);
}

bool CRegistryModule::Flush()
{
    return m_store && m_store->Flush();
}
