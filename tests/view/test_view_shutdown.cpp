#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/ViewShutdown.h"

namespace {

// Records the steps; the workers end after `endAfter` waits (-1: never).
class RecordedShutdown : public IViewShutdownSteps {
public:
    RecordedShutdown(bool portOpen, int endAfter) : m_portOpen(portOpen), m_endAfter(endAfter) {}

    std::vector<std::string> steps;
    int workerWaits = 0;

    void LeavePoster() override { steps.push_back("leave poster"); }
    void KillMmTimer() override { steps.push_back("kill timer"); }
    void RequestStop() override { steps.push_back("stop"); }
    void CloseRecording() override { steps.push_back("close recording"); }
    bool PortOpen() override { return m_portOpen; }
    void ClosePort() override { steps.push_back("close port"); }
    void Wait(uint32_t ms) override
    {
        steps.push_back("wait " + std::to_string(ms));
        if (ms == kWorkerWaitMs)
            ++workerWaits;
    }
    bool WorkersEnded() override { return m_endAfter >= 0 && workerWaits >= m_endAfter; }
    void StopPacketProcessor() override { steps.push_back("stop processor"); }
    void ReleaseDrawing() override { steps.push_back("release drawing"); }
    void DeleteRecorder() override { steps.push_back("delete recorder"); }
    void CloseLogger() override { steps.push_back("close logger"); }
    void DestroyTerminal() override { steps.push_back("destroy terminal"); }

private:
    bool m_portOpen;
    int m_endAfter;
};

std::size_t IndexOf(const std::vector<std::string>& steps, const std::string& step)
{
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (steps[i] == step)
            return i;
    return steps.size();
}

}  // namespace

TEST(ViewShutdown, ProcessorStopsBeforeTheLoggerAndWorkerWaitsAreBounded)
{
    struct Case {
        bool portOpen;
        int endAfter;
        int waits;
    } const cases[] = {{true, 0, 0}, {true, 3, 3}, {false, -1, kWorkerWaits}};
    for (const Case& c : cases) {
        SCOPED_TRACE("workers end after " + std::to_string(c.endAfter));
        RecordedShutdown shutdown(c.portOpen, c.endAfter);
        EXPECT_EQ(RunViewShutdown(shutdown), c.waits);
        EXPECT_EQ(shutdown.workerWaits, c.waits);
        const auto& s = shutdown.steps;
        EXPECT_EQ(s.front(), "leave poster");
        EXPECT_EQ(IndexOf(s, "close port") < s.size(), c.portOpen);
        EXPECT_EQ(IndexOf(s, "wait 500") < s.size(), c.portOpen) << "the port gets its 500 ms only when it was open";
        EXPECT_LT(IndexOf(s, "stop processor"), IndexOf(s, "close logger"));
        EXPECT_LT(IndexOf(s, "stop processor"), IndexOf(s, "destroy terminal"));
        EXPECT_LT(IndexOf(s, "close logger"), IndexOf(s, "destroy terminal"));
        EXPECT_EQ(s.back(), "destroy terminal");
    }
}
