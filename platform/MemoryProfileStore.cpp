#include "platform/MemoryProfileStore.h"

std::optional<std::string> CMemoryProfileStore::ReadValue(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_values.find(path);
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

bool CMemoryProfileStore::WriteValue(const std::string& path, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    if (m_readOnly)
        return false;
    m_values[path] = text;
    ++m_writes;
    return true;
}

bool CMemoryProfileStore::DeleteValue(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    if (m_readOnly)
        return false;
    if (m_values.erase(path) != 0)
        ++m_writes;
    return true;
}

IProfileStore::Values CMemoryProfileStore::ReadAll() const
{
    std::lock_guard lock(m_mutex);
    return m_values;
}

bool CMemoryProfileStore::ReplaceAll(const Values& values)
{
    std::lock_guard lock(m_mutex);
    if (m_readOnly)
        return false;
    m_values = values;
    ++m_writes;
    return true;
}

void CMemoryProfileStore::SetReadOnly(bool readOnly)
{
    std::lock_guard lock(m_mutex);
    m_readOnly = readOnly;
}

std::size_t CMemoryProfileStore::WriteCount() const
{
    std::lock_guard lock(m_mutex);
    return m_writes;
}

std::shared_ptr<IProfileStore> CMemorySettingsKeys::OpenKey(SettingsScope scope, const std::string& subKey, bool create)
{
    std::lock_guard lock(m_mutex);
    const auto id = std::make_pair(scope, MapSectionName(subKey));
    auto found = m_keys.find(id);
    if (found != m_keys.end())
        return found->second;
    if (!create)
        return nullptr;
    return m_keys[id] = std::make_shared<CMemoryProfileStore>();
}

std::shared_ptr<CMemoryProfileStore> CMemorySettingsKeys::Key(SettingsScope scope, const std::string& subKey)
{
    std::lock_guard lock(m_mutex);
    auto& store = m_keys[std::make_pair(scope, MapSectionName(subKey))];
    if (!store)
        store = std::make_shared<CMemoryProfileStore>();
    return store;
}
