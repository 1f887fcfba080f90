#include "platform/Automation.h"

IAutomation& SystemAutomation()
{
    static CNoAutomation none;
    return none;
}

class CScriptedAutomation::Object final : public IAutomationObject {
public:
    Object(std::shared_ptr<Shared> shared, std::string progId, Handler handler)
        : m_shared(std::move(shared)), m_progId(std::move(progId)), m_handler(std::move(handler))
    {
    }
    ~Object() override
    {
        std::lock_guard lock(m_shared->mutex);
        --m_shared->alive;
    }
    AutomationValue Invoke(int32_t dispid, const std::vector<AutomationValue>& arguments) override
    {
        {
            std::lock_guard lock(m_shared->mutex);
            m_shared->calls.push_back({m_progId, dispid, arguments});
        }
        return m_handler(dispid, arguments);
    }

private:
    std::shared_ptr<Shared> m_shared;
    std::string m_progId;
    Handler m_handler;
};

void CScriptedAutomation::AddClass(const std::string& progId, Handler handler)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->classes[progId] = std::move(handler);
}

std::unique_ptr<IAutomationObject> CScriptedAutomation::Create(const std::string& progId)
{
    std::lock_guard lock(m_shared->mutex);
    const auto found = m_shared->classes.find(progId);
    if (found == m_shared->classes.end())
        return nullptr;
    ++m_shared->created;
    ++m_shared->alive;
    return std::make_unique<Object>(m_shared, progId, found->second);
}

int CScriptedAutomation::Created() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->created;
}

int CScriptedAutomation::Alive() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->alive;
}

std::vector<CScriptedAutomation::Call> CScriptedAutomation::Calls() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->calls;
}
