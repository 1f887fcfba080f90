#pragma once
// Hands each id-tagged sub-message to the handler registered for its id.
#include <array>
#include <cstdint>
#include <memory>

#include "link/MessageHandler.h"

class CMessageHandler {
public:
    CMessageHandler(void* owner, uint32_t id, MessageCallback callback)
        : m_owner(owner), m_id(id), m_callback(callback) {}
    CMessageHandler(const CMessageHandler&) = delete;
    CMessageHandler& operator=(const CMessageHandler&) = delete;
    virtual ~CMessageHandler() = default;

    void* Owner() const { return m_owner; }
    uint32_t Id() const { return m_id; }
    MessageCallback Callback() const { return m_callback; }

private:
    void* m_owner;
    uint32_t m_id;
    MessageCallback m_callback;
};

class CMessageDispatcher {
public:
    static constexpr uint32_t kLowestId = 16;
    static constexpr uint32_t kTableSize = 16;
    static constexpr uint32_t kHighestId = kLowestId + kTableSize - 1;

    CMessageDispatcher() = default;
    CMessageDispatcher(const CMessageDispatcher&) = delete;
    CMessageDispatcher& operator=(const CMessageDispatcher&) = delete;
    virtual ~CMessageDispatcher() = default;

    // Replaces the handler of an id in 16..31; other ids are ignored.
    void Register(uint32_t id, void* owner, MessageCallback callback);
    // The handler of the id, or null.
    CMessageHandler* Lookup(uint32_t id) const;

private:
    std::array<std::unique_ptr<CMessageHandler>, kTableSize> m_handlers;
};
