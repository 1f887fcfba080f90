#pragma once
// The program's COM module. This build is no COM server: registering,
// unregistering and the class objects do nothing, but start-up and shutdown
// go through them in the original order so the command line behaves the same.
#include <cstdint>

class IComModule {
public:
    virtual ~IComModule() = default;
    // COM on the calling thread; false when it cannot be initialised.
    [[nodiscard]] virtual bool InitializeCom() = 0;
    virtual void UninitializeCom() = 0;
    virtual void Init(uint32_t threadId) = 0;
    virtual void Term() = 0;
    // "RegServer" / "UnregServer": apply or remove the registry script.
    [[nodiscard]] virtual bool RegisterServer() = 0;
    [[nodiscard]] virtual bool UnregisterServer() = 0;
    [[nodiscard]] virtual bool RegisterClassObjects() = 0;
    virtual void RevokeClassObjects() = 0;
};

class CQuorinModule : public IComModule {
public:
    [[nodiscard]] bool InitializeCom() override { return true; }
    void UninitializeCom() override {}
    void Init(uint32_t threadId) override { m_threadId = threadId; }
    void Term() override {}
    [[nodiscard]] bool RegisterServer() override { return true; }
    [[nodiscard]] bool UnregisterServer() override { return true; }
    [[nodiscard]] bool RegisterClassObjects() override { return true; }
    void RevokeClassObjects() override {}

    uint32_t ThreadId() const { return m_threadId; }

private:
    uint32_t m_threadId = 0;
};
