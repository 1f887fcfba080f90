#include "view/ConnectThread.h"

#include <utility>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "platform/Thread.h"
#include "view/ConnectMachine.h"

CConnectThread::CConnectThread(const ConnectEnvironment& env) : m_env(env)
{
}

CConnectThread::~CConnectThread()
{
    if (m_current) {
        m_current->kill.Set();
        if (!m_current->exit.Wait(kEndWaitMs))
            Log("The connection thread has not ended; waiting for it.");
        m_lingering.push_back(std::move(m_current));
    }
    // Never left running over the view's freed members.
    for (const std::shared_ptr<Run>& run : m_lingering)
        if (run->thread.joinable())
            run->thread.join();
}

bool CConnectThread::Start(const ConnectStart& start, uint32_t oldThreadWaitMs)
{
    std::string port = ConnectPortName(LoadRelaxed(m_env.config.portNum));
    if (port.empty())
        return false;
    EndEarlierThread(oldThreadWaitMs);
    uint32_t generation = 0;
    {
        // An earlier thread either ends before this or finds itself outdated.
        std::lock_guard handOver(m_handOver);
        generation = ++m_generation;
        m_env.flags.threadEnded = false;
    }
    auto run = std::make_shared<Run>(generation);
    std::string name = "ConnectThread_" + std::to_string(m_threadCount++);
    run->thread = std::thread(&CConnectThread::Body, this, run, std::move(name), std::move(port),
                              start.bluetoothDevice);
    m_current = std::move(run);
    return true;
}

void CConnectThread::EndEarlierThread(uint32_t waitMs)
{
    if (m_current) {
        m_current->kill.Set();
        if (!m_current->exit.Wait(waitMs))
            Log("The earlier connection thread has not ended; the new one waits for it.");
        m_lingering.push_back(std::move(m_current));
    }
    (void)Lingering();
}

std::size_t CConnectThread::Lingering()
{
    // A thread that has set its exit event is about to return.
    std::erase_if(m_lingering, [](const std::shared_ptr<Run>& run) {
        if (!run->exit.IsSet())
            return false;
        run->thread.join();
        return true;
    });
    return m_lingering.size();
}

void CConnectThread::Kill()
{
    if (m_current)
        m_current->kill.Set();
}

bool CConnectThread::WaitForExit(uint32_t timeoutMs)
{
    return !m_current || m_current->exit.Wait(timeoutMs);
}

bool CConnectThread::Running() const
{
    return m_current && !m_current->exit.IsSet();
}

bool CConnectThread::KeepRunning(const Run& run) const
{
    return run.generation == m_generation.load() && m_env.flags.connected != 0 && !run.kill.IsSet();
}

void CConnectThread::Body(const std::shared_ptr<Run>& run, std::string name, std::string port,
                          std::optional<int> device)
{
    SetThreadName(name.c_str());
    CConnectMachine machine(m_env, std::move(port), [&run](uint32_t ms) { (void)run->kill.Wait(ms); });
    std::unique_lock lock(m_connectionLock, std::defer_lock);
    // An earlier thread still holds the link: wait for it, still answering
    // a disconnect at once.
    while (!lock.try_lock() && KeepRunning(*run))
        (void)run->kill.Wait(kStepWaitMs);
    if (lock.owns_lock() && KeepRunning(*run)) {
        if (device)
            RegisterDevice(*device);
        RunStates(machine, *run);
    }
    {
        std::lock_guard handOver(m_handOver);
        // A newer thread owns the device and the view's flags.
        if (run->generation == m_generation.load()) {
            UnregisterDevice();
            machine.PostThreadEnd();
            m_env.flags.threadEnded = true;
        }
    }
    run->exit.Set();
}  // the lock goes last, after the exit event

void CConnectThread::RunStates(CConnectMachine& machine, Run& run)
{
    g_liveData.connectionStatus[0] = kConnectClose;
    g_liveData.retryCount = 0;
    while (KeepRunning(run) && machine.Step()) {
        // The kill event wakes either wait: a disconnect is answered at once.
        const bool watching = g_liveData.connectionStatus[0] == kConnectWatch;
        (void)run.kill.Wait(watching ? m_env.watchWaitMs : kStepWaitMs);
    }
}

void CConnectThread::RegisterDevice(int device)
{
    const ZelbexApi* api = m_env.zelbex;
    if (api == nullptr)
        return;
    const bool vistaTo8 = IsWindowsVista(m_env.os) || IsWindows7(m_env.os) || IsWindows8(m_env.os);
    const bool featurePack = vistaTo8 && api->zlbIsVistaFeaturePackForWireless != nullptr
        && api->zlbIsVistaFeaturePackForWireless() == 1;
    // Results ignored: a device left unreachable fails to open, and that
    // is reported.
    if (featurePack) {
        if (api->zlbAuthenticateDevice != nullptr)
            (void)api->zlbAuthenticateDevice(device);
    } else if (api->zlbRegisterDevice != nullptr) {
        (void)api->zlbRegisterDevice(device);
    }
}

void CConnectThread::UnregisterDevice()
{
    const ZelbexApi* api = m_env.zelbex;
    if (api != nullptr && api->zlbUnregisterDevice != nullptr && IsWindowsXP(m_env.os)
        && LoadRelaxed(m_env.config.winBluetooth) != 0)
        (void)api->zlbUnregisterDevice();
}

void CConnectThread::Log(const std::string& text)
{
    if (m_env.log)
        m_env.log(kConnectLogTag, text);
}
