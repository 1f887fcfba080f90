#pragma once
// Shared pieces of the link tests: a log sink to read lines back, and a
// clean live store and chain before each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/PacketStateMachine.h"

// Collects log lines ("tag|text") from any thread.
class LogSink {
public:
    LinkLog Function()
    {
        return [this](const char* tag, const std::string& text) { Add(tag, text); };
    }
    void Attach(DecodeState& state) { state.log = Function(); }
    void Add(const char* tag, const std::string& text)
    {
        {
            std::lock_guard lock(m_mutex);
            m_lines.push_back(std::string(tag != nullptr ? tag : "") + "|" + text);
        }
        m_cv.notify_all();
    }
    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    std::size_t Count(const std::string& line) const
    {
        std::lock_guard lock(m_mutex);
        return static_cast<std::size_t>(std::count(m_lines.begin(), m_lines.end(), line));
    }
    bool WaitFor(const std::string& line, int timeoutMs = 10000)
    {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
        });
    }
    void Clear()
    {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<std::string> m_lines;
};

// The live store and the ECG chain as at a fresh connect.
inline void FreshLiveState()
{
    ResetLiveStore();
    ResetEcgChainState();
    ResetRemoteDataState();
}
