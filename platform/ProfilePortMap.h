#pragma once
// The serial port's COM-number map, served by the settings store.
#include "platform/PortMap.h"
#include "platform/ProfileStore.h"

class CProfilePortMap : public IPortMap {
public:
    explicit CProfilePortMap(const IProfileStore& store) : m_store(store) {}
    std::optional<std::string> Lookup(const std::string& comName) const override;

private:
    const IProfileStore& m_store;
};
