#include "link/MessageDispatcher.h"

void CMessageDispatcher::Register(uint32_t id, void* owner, MessageCallback callback)
{
    if (id < kLowestId || id > kHighestId)
        return;
    m_handlers[id - kLowestId] = std::make_unique<CMessageHandler>(owner, id, callback);
}

CMessageHandler* CMessageDispatcher::Lookup(uint32_t id) const
{
    if (id < kLowestId || id > kHighestId)
        return nullptr;
    return m_handlers[id - kLowestId].get();
}
