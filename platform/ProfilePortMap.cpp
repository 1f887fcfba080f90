#include "platform/ProfilePortMap.h"

std::optional<std::string> CProfilePortMap::Lookup(const std::string& comName) const
{
    return m_store.ReadValue(MapSectionName(kPortMapSection) + "/" + comName);
}
