#pragma once
// The service terminal without a window: a fake clock runs its paused steps
// and timers, a fake owner lends it a port, a queue and the view's answers,
// and a scripted prompter answers its boxes.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "link/TermDlg.h"
#include "link/WriteQueue.h"
#include "platform/Prompter.h"
#include "platform/Serial.h"

// Single-shot steps by due time; steps due at the same time run in the
// order they were scheduled.
class FakeSteps {
public:
    void Schedule(uint32_t ms, std::function<void()> step) { m_due.emplace(m_now + ms, std::move(step)); }
    void Advance(uint64_t ms)
    {
        const uint64_t target = m_now + ms;
        while (!m_due.empty() && m_due.begin()->first <= target) {
            auto it = m_due.begin();
            m_now = it->first;
            std::function<void()> step = std::move(it->second);
            m_due.erase(it);
            step();
        }
        m_now = target;
    }
    uint64_t Now() const { return m_now; }

private:
    uint64_t m_now = 0;
    std::multimap<uint64_t, std::function<void()>> m_due;
};

class FakeTermOwner : public ITermDlgOwner {
public:
    explicit FakeTermOwner(CSerial& port) : m_port(port) {}
    bool LinkLive() const override { return live; }
    CSerial& LinkPort() override { return m_port; }
    CWriteQueue& LinkQueue() override { return queue; }
    bool RecordingRuns() const override { return recording; }
    uint32_t ProbeConnectedMs() const override { return probeMs; }
    void LogTerminal(const std::string& text) override { log.push_back(text); }

    // Everything queued so far, in order.
    std::vector<std::string> Drain()
    {
        std::vector<std::string> texts;
        std::string text;
        while (queue.Pop(text))
            texts.push_back(text);
        return texts;
    }

    bool live = true;
    bool recording = false;
    uint32_t probeMs = 0;
    CWriteQueue queue;
    std::vector<std::string> log;

private:
    CSerial& m_port;
};

// A terminal lent the fake clock and the prompter, as its window would.
inline void LendWindow(CTK_TermDlg& terminal, FakeSteps& steps, IPrompter& prompter, int* ended = nullptr,
                       std::function<std::optional<std::string>()> chooser = {})
{
    TermDlgWindowHooks hooks;
    hooks.prompter = &prompter;
    hooks.schedule = [&steps](uint32_t ms, std::function<void()> step) { steps.Schedule(ms, std::move(step)); };
    hooks.chooseProgramFile = std::move(chooser);
    hooks.endDialog = [ended] {
        if (ended != nullptr)
            ++*ended;
    };
    terminal.SetWindowHooks(std::move(hooks));
}
