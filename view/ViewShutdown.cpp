#include "view/ViewShutdown.h"

int RunViewShutdown(IViewShutdownSteps& steps)
{
    // Nothing posted from here on may reach a view that is going.
    steps.LeavePoster();
    steps.KillMmTimer();
    steps.RequestStop();
    steps.CloseRecording();
    if (steps.PortOpen()) {
        steps.ClosePort();
        steps.Wait(kPortCloseWaitMs);
    }
    int waits = 0;
    while (waits < kWorkerWaits && !steps.WorkersEnded()) {
        steps.Wait(kWorkerWaitMs);
        ++waits;
    }
    // The packet processor logs and uses the terminal model: it stops before
    // the logger and the terminal go, not last with the link.
    steps.StopPacketProcessor();
    steps.ReleaseDrawing();
    steps.DeleteRecorder();
    steps.CloseLogger();
    steps.DestroyTerminal();
    return waits;
}
