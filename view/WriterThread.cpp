#include "view/WriterThread.h"

#include "platform/Thread.h"

CWriterThread::~CWriterThread()
{
    Stop();
}

bool CWriterThread::Start(Body body)
{
    std::lock_guard lock(m_lock);
    if (m_running.load(std::memory_order_acquire))
        return false;
    if (m_thread.joinable())
        m_thread.join();  // a writer that ended by itself
    m_stop.ResetEvent();
    m_finished.ResetEvent();
    // Cleared before the thread exists, so that nobody waiting for the
    // writer's end can see the previous writer's mark.
    m_ended.store(false);
    m_running.store(true, std::memory_order_release);
    m_thread = std::thread([this, body = std::move(body)] {
        SetThreadName("WriteThread");
        body(m_stop);
        m_running.store(false, std::memory_order_release);
        m_ended.store(true);
        m_finished.Set();
    });
    return true;
}

void CWriterThread::RequestStop()
{
    m_stop.Set();
}

void CWriterThread::Stop()
{
    m_stop.Set();
    std::lock_guard lock(m_lock);
    if (!m_thread.joinable())
        return;
    if (m_thread.get_id() == std::this_thread::get_id())
        return;  // the writer stopping itself ends when its body returns
    m_thread.join();
}

bool CWriterThread::WaitEnded(uint32_t timeoutMs)
{
    return m_finished.Wait(timeoutMs);
}
