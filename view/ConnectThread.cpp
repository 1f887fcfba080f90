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
    if (!m_thread.joinable())
        return;
    m_kill.Set();
    if (!m_exit.Wait(kEndWaitMs))
        Log("The connection thread has not ended; waiting for it.");
    // Never left running over the view's freed members.
    m_thread.join();
}

bool CConnectThread::Start(const ConnectStart& start)
{
    std::string port = ConnectPortName(LoadRelaxed(m_env.config.portNum));
    if (port.empty())
        return false;
    uint32_t generation = 0;
    {
        // An earlier thread either ends before this or finds itself outdated.
        std::lock_guard handOver(m_handOver);
        if (m_thread.joinable()) {
            if (m_exit.IsSet()) {
                m_thread.join();
            } else {
                Log("The earlier connection thread has not ended; the new one waits for it.");
                m_thread.detach();
            }
        }
        generation = ++m_generation;
        m_kill.ResetEvent();
        m_exit.ResetEvent();
        m_env.flags.threadEnded = false;
    }
    std::string name = "ConnectThread_" + std::to_string(m_threadCount++);
    m_thread = std::thread(&CConnectThread::Run, this, generation, std::move(name), std::move(port),
                           start.bluetoothDevice);
    return true;
}

void CConnectThread::Kill()
{
    m_kill.Set();
}

bool CConnectThread::WaitForExit(uint32_t timeoutMs)
{
    return m_exit.Wait(timeoutMs);
}

bool CConnectThread::Running() const
{
    return m_thread.joinable() && !m_exit.IsSet();
}

bool CConnectThread::KeepRunning(uint32_t generation) const
{
    return generation == m_generation.load() && m_env.flags.connected != 0 && !m_kill.IsSet();
}

void CConnectThread::Run(uint32_t generation, std::string name, std::string port, std::optional<int> device)
{
    SetThreadName(name.c_str());
    CConnectMachine machine(m_env, std::move(port), [this](uint32_t ms) { (void)m_kill.Wait(ms); });
    std::unique_lock lock(m_connectionLock, std::defer_lock);
    // An earlier thread still holds the link: wait for it, still answering
    // a disconnect at once.
    while (!lock.try_lock() && KeepRunning(generation))
        (void)m_kill.Wait(kStepWaitMs);
    if (lock.owns_lock() && KeepRunning(generation)) {
        if (device)
            RegisterDevice(*device);
        RunStates(machine, generation);
    }
    if (generation != m_generation.load())
        return;  // a newer thread owns the device, the events and the view's flags
    UnregisterDevice();
    std::lock_guard handOver(m_handOver);
    if (generation != m_generation.load())
        return;
    machine.PostThreadEnd();
    m_env.flags.threadEnded = true;
    m_exit.Set();
}  // the lock goes last, after the exit event

void CConnectThread::RunStates(CConnectMachine& machine, uint32_t generation)
{
    g_liveData.connectionStatus[0] = kConnectClose;
    g_liveData.retryCount = 0;
    while (KeepRunning(generation) && machine.Step()) {
        // The kill event wakes either wait: a disconnect is answered at once.
        const bool watching = g_liveData.connectionStatus[0] == kConnectWatch;
        (void)m_kill.Wait(watching ? m_env.watchWaitMs : kStepWaitMs);
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
