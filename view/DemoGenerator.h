#pragma once
// The demo generator: in demo mode the write thread plays a simulated
// remote of the chosen model. Each cycle writes the samples due since the
// previous one (400 per second) into the link's sample ring and the
// numerics into the live record, through the same helpers as the decoders,
// and says whether the view is told of them.
#include <cstdint>
#include <functional>
#include <random>

#include "platform/WindowMessages.h"

class RemoteConfiguration;
#include "view/DemoTables.h"

class CEvent;
class CWriterThread;
struct SampleFrame;

// Everything the generator keeps between cycles.
struct DemoState {
    uint32_t ecgIndex = 0;
    uint32_t plethIndex = 0;
    uint32_t respIndex = 0;
    uint32_t cuffPoint = 0;   // kDemoCuffPoints: this measurement's curve is done
    uint32_t cuffHold = 0;    // samples the current point has been held
    double phase = 0.0;       // t of the numerics' formulas
    uint32_t lastTickMs = 0;
    int32_t carryTenths = 0;  // the rounding left over, in tenths of a sample

    void Reset() { *this = DemoState(); }
};

struct DemoCycle {
    int32_t samples = 0;   // frames written
    bool notify = false;   // post the new data (the start-up countdown has run out)
};

class CDemoGenerator {
public:
    static constexpr uint32_t kCuffHoldSamples = 6;
    static constexpr double kPhaseStep = 0.004;
    // After a longer stall the generator writes 10 s and lets the rest go:
    // more would overrun the ring before the view can read it.
    static constexpr uint32_t kMaxCycleMs = 10000;
    static constexpr uint32_t kMeasuringBit = 1u << 23;  // statusFlags: the simulated cuff runs

    // `seed` starts the draws of the simulated blood pressures.
    CDemoGenerator(const DemoTables& tables, uint32_t seed);

    // The start of a demo connection: the ECG chain and the live record
    // reset (the chosen model and its parameters kept), the generator
    // cleared, the filtered ECG shown.
    void Begin(uint32_t nowMs);
    // One cycle at `nowMs`; `exoticRates` plays the second ECG.
    DemoCycle Cycle(uint32_t nowMs, bool exoticRates);
    // The pause between cycles: shorter while rates above 400 are detected.
    static uint32_t SleepMs();

    const DemoState& State() const { return m_state; }

private:
    int32_t SamplesDue(uint32_t nowMs);
    void CuffSample(SampleFrame& frame, bool measuring);
    void DrawBloodPressure();
    void WriteNumerics(bool brindle);
    static void ChooseHeartRateSource(bool brindle);

    const DemoTables& m_tables;
    std::mt19937 m_random;
    DemoState m_state;
};

// What the generator asks of the view; the calls come on the generator's
// thread. Before the start the view clears its mark and banner state.
class IDemoView {
public:
    virtual ~IDemoView() = default;
    // Demo mode is still connected and no stop was requested.
    virtual bool DemoConnected() = 0;
    // The demo option "Exotic Heart Rates".
    virtual bool ExoticHeartRates() = 0;
    // Once, after the boxes were blanked: the view and the application
    // count as live and connected.
    virtual void SetDemoLive() = 0;
};

struct DemoWiring {
    IDemoView* view = nullptr;
    const RemoteConfiguration* config = nullptr;  // the settings in force, read relaxed
    IMessagePoster* poster = nullptr;
    WindowHandle window = 0;
    std::function<uint32_t()> tick;  // milliseconds
    uint32_t seed = 0;
};

// The thread's body: blanks the present boxes, resets the strips, goes live,
// reports "connected", then runs cycles until `stop` or the view's end.
void WriteThread(const DemoWiring& wiring, CEvent& stop);

// Starts the generator on `thread`; false while a writer runs there. The
// view and the poster must outlive the thread.
bool StartDemoGenerator(CWriterThread& thread, DemoWiring wiring);

// The program's seed: the time of day.
uint32_t TimeOfDaySeed();
