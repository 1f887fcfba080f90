#include "platform/SerialEx.h"

#include <pthread.h>
#include <sched.h>
#include <system_error>

#include "platform/Thread.h"

namespace {
// Above every normally scheduled thread, so received bytes leave the
// driver promptly; far below the kernel's own real-time work.
constexpr int kListenerPriority = 10;
}  // namespace

CSerialEx::CSerialEx() = default;

CSerialEx::~CSerialEx()
{
    if (OnListenerThread()) {
        m_stop = true;
        (void)CSerial::Close();  // always succeeds
        std::lock_guard lock(m_listenerMutex);
        if (m_listener.joinable())
            m_listener.detach();
        return;
    }
    (void)Close();  // always succeeds; nobody is left to tell otherwise
    JoinFinishedListener();
}

int32_t CSerialEx::Open(const char* device, uint32_t inQueue, uint32_t outQueue, bool startListener)
{
    if (CSerial::IsOpen())
        return SetLastError(kSerialAlreadyOpen);
    JoinFinishedListener();
    const int32_t opened = CSerial::Open(device, inQueue, outQueue, true);
    if (opened != kSerialOk || !startListener)
        return opened;
    const int32_t started = StartListener();
    if (started != kSerialOk) {
        (void)CSerial::Close();  // the failed start is the error returned
        return SetLastError(started);
    }
    return kSerialOk;
}

int32_t CSerialEx::Close()
{
    BeginClose();
    (void)StopListener(kInfinite);  // without a limit it returns once the listener has ended
    return CSerial::Close();
}

void CSerialEx::JoinFinishedListener()
{
    if (OnListenerThread())
        return;
    std::lock_guard lock(m_listenerMutex);
    if (m_listener.joinable() && m_listenerDone.IsSet()) {
        m_listener.join();
        m_listenerId = std::thread::id();
        m_listenerDone.ResetEvent();
    }
}

int32_t CSerialEx::StartListener()
{
    JoinFinishedListener();
    std::lock_guard lock(m_listenerMutex);
    if (m_listener.joinable())
        return SetLastError(kSerialOk);
    if (!CSerial::IsOpen())
        return SetLastError(kSerialInvalidHandle);
    m_stop = false;
    m_listenerDone.ResetEvent();
    m_listening = true;
    try {
        m_listener = std::thread(&CSerialEx::ListenerMain, this);
    } catch (const std::system_error& error) {
        m_listening = false;
        return SetLastError(SerialErrorFromErrno(error.code().value()));
    }
    m_listenerId = m_listener.get_id();
    sched_param param {};
    param.sched_priority = kListenerPriority;
    pthread_setschedparam(m_listener.native_handle(), SCHED_FIFO, &param);  // refused: normal priority
    return SetLastError(kSerialOk);
}

int32_t CSerialEx::StopListener(uint32_t timeout)
{
    if (OnListenerThread()) {
        // Never waits for itself: the loop ends when OnEvent returns.
        m_stop = true;
        return SetLastError(kSerialOk);
    }
    std::lock_guard lock(m_listenerMutex);
    if (!m_listener.joinable())
        return SetLastError(kSerialOk);
    m_stop = true;
    WakeWait();
    if (!m_listenerDone.Wait(timeout))
        return SetLastError(kSerialTimeout);
    m_listener.join();
    m_listenerId = std::thread::id();
    m_listenerDone.ResetEvent();
    m_stop = false;
    return SetLastError(kSerialOk);
}

void CSerialEx::ListenerMain()
{
    m_listenerId = std::this_thread::get_id();
    SetThreadName("SerialThreadProc");
    while (!m_stop.load()) {
        uint32_t events = 0;
        if (WaitForEvents(kInfinite, events, &m_stop) != kSerialOk)
            break;  // stopping, closing, or the port failed
        if (m_stop.load())
            break;
        if (events == 0)
            continue;  // woken: the mask changed
        uint32_t errors = 0;
        // Fails only on a port closed meanwhile: no errors, and the next wait ends the loop.
        (void)ClearCommErrors(errors);
        if (errors & (kCommErrorFrame | kCommErrorOverrun | kCommErrorParity | kCommErrorRxOver))
            events |= kEventError;
        if (errors & kCommErrorBreak)
            events |= kEventBreak;
        const uint32_t wanted = events & EventMask();
        if (wanted != 0)
            OnEvent(wanted, errors);
    }
    m_listening = false;
    m_listenerDone.Set();
}
