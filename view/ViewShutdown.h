#pragma once
// The order in which the view lets go of what it owns when it is destroyed.
// The window supplies the steps; the order and the bounded waits are here.
#include <cstdint>

class IViewShutdownSteps {
public:
    virtual ~IViewShutdownSteps() = default;
    // No post reaches the view any more; queued ones are dropped.
    virtual void LeavePoster() = 0;
    virtual void KillMmTimer() = 0;
    // Connect toggle off, the view's event set, the stop request set.
    virtual void RequestStop() = 0;
    virtual void CloseRecording() = 0;
    virtual bool PortOpen() = 0;
    virtual void ClosePort() = 0;
    virtual void Wait(uint32_t ms) = 0;
    // Both the connection thread and the command writer have reported
    // that they ended.
    virtual bool WorkersEnded() = 0;
    virtual void StopPacketProcessor() = 0;
    // Fonts, layers, the episode list, logos.
    virtual void ReleaseDrawing() = 0;
    virtual void DeleteRecorder() = 0;
    // The closing banner, then the logger goes.
    virtual void CloseLogger() = 0;
    virtual void DestroyTerminal() = 0;
};

inline constexpr uint32_t kPortCloseWaitMs = 500;
inline constexpr uint32_t kWorkerWaitMs = 1000;
inline constexpr int kWorkerWaits = 10;

// Runs the steps; returns how many worker waits it took (at most ten: a
// thread that has not ended by then is abandoned).
int RunViewShutdown(IViewShutdownSteps& steps);
