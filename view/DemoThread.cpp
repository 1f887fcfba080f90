// The demo generator's thread: the start of a demo connection as the view
// sees it, then the cycles.
#include <chrono>

#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "platform/Event.h"
#include "view/DemoGenerator.h"
#include "view/DisplayPar.h"
#include "view/NumericFormat.h"
#include "view/WriterThread.h"

namespace {

constexpr uintptr_t kStatusConnected = 2;

void Post(const DemoWiring& w, uint32_t message, std::uintptr_t wParam)
{
    PostedMessage posted;
    posted.target = w.window;
    posted.message = message;
    posted.wParam = wParam;
    // A refused post means the view is closing; it stops the generator.
    (void)w.poster->Post(posted);
}

} // namespace

void WriteThread(const DemoWiring& w, CEvent& stop)
{
    static const uint32_t resetWaveforms = RegisterWindowMessage("CDispView_ResetWaveforms");
    static const uint32_t connectionStatus = RegisterWindowMessage("CDispView_UpdateConnectionStatus");
    static const uint32_t defaultCom = RegisterWindowMessage("CSerialMoval_DefaultComMsg");

    CDemoGenerator generator(GetDemoTables(), w.seed);
    generator.Begin(w.tick());
    BlankPresentBoxes(*w.poster, w.window, *w.config);
    Post(w, resetWaveforms, 0);
    w.view->SetDemoLive();
    Post(w, connectionStatus, kStatusConnected);

    while (!stop.IsSet() && w.view->DemoConnected()) {
        const DemoCycle cycle = generator.Cycle(w.tick(), w.view->ExoticHeartRates());
        if (cycle.notify)
            Post(w, defaultCom, DefaultComWParam(kComNewData, static_cast<uint16_t>(cycle.samples)));
        if (stop.Wait(CDemoGenerator::SleepMs()))
            break;
    }
}

bool StartDemoGenerator(CWriterThread& thread, DemoWiring wiring)
{
    return thread.Start([wiring = std::move(wiring)](CEvent& stop) { WriteThread(wiring, stop); });
}

uint32_t TimeOfDaySeed()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}
