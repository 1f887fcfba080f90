#include "platform/HttpClient.h"

class CScriptedHttpClient::Handle : public IHttpRequest {
public:
    explicit Handle(std::shared_ptr<Slot> slot) : m_slot(std::move(slot)) {}
    ~Handle() override
    {
        const std::lock_guard lock(m_slot->mutex);
        m_slot->open = false;
        m_slot->done = nullptr;
    }

private:
    std::shared_ptr<Slot> m_slot;
};

std::unique_ptr<IHttpRequest> CScriptedHttpClient::Get(const std::string& url, const HttpRequestOptions& options,
                                                       HttpDone done)
{
    auto slot = std::make_shared<Slot>();
    slot->request = Request{url, options};
    slot->done = std::move(done);
    const std::lock_guard lock(m_mutex);
    m_slots.push_back(slot);
    return std::make_unique<Handle>(slot);
}

bool CScriptedHttpClient::Complete(std::size_t index, const HttpResult& result)
{
    std::shared_ptr<Slot> slot;
    {
        const std::lock_guard lock(m_mutex);
        if (index >= m_slots.size())
            return false;
        slot = m_slots[index];
    }
    HttpDone done;
    {
        const std::lock_guard lock(slot->mutex);
        if (!slot->open)
            return false;
        slot->open = false;
        done = std::move(slot->done);
    }
    // Unlocked: the answer may drop its own handle.
    if (done)
        done(result);
    return true;
}

std::vector<CScriptedHttpClient::Request> CScriptedHttpClient::Requests() const
{
    const std::lock_guard lock(m_mutex);
    std::vector<Request> requests;
    for (const auto& slot : m_slots)
        requests.push_back(slot->request);
    return requests;
}

std::size_t CScriptedHttpClient::Pending() const
{
    const std::lock_guard lock(m_mutex);
    std::size_t count = 0;
    for (const auto& slot : m_slots) {
        const std::lock_guard slotLock(slot->mutex);
        count += slot->open ? 1 : 0;
    }
    return count;
}
