#pragma once
// The simulated automatic blood-pressure cycle, paced by the view's timer 9:
// a measurement of 23 s (statusFlags bit 23 set), then a pause by the
// "Interval" setting, over and over until the cycle is stopped.
#include <cstdint>

#include "view/BeatTones.h"

inline constexpr int kBpCycleTimer = 9;

enum class BitChange : uint8_t { kNone, kSet, kClear };

struct BpCycleInputs {
    uint16_t featureBits = 0;
    uint32_t statusFlags = 0;   // bit 24: the automatic cycle runs
    int32_t deviceKind = 0;
    int32_t interval = 0;       // "Interval" of the factory settings
};

struct BpCycleActions {
    BitChange measuringBit = BitChange::kNone;  // statusFlags bit 23
    TimerCommand timer;                         // timer 9; kNone keeps its period
};

class CBpCycle {
public:
    static constexpr int32_t kMeasure = 0;     // next expiry starts a measurement
    static constexpr int32_t kPause = 1;       // next expiry ends it
    static constexpr int32_t kStopped = 2;
    static constexpr uint32_t kMeasureMs = 23000;
    static constexpr uint32_t kBrindlePauseMs = 30000;

    // The cycle was started (timer 9 armed) or stopped by the user.
    void Start() { m_bpState = kMeasure; }
    void Stop() { m_bpState = kStopped; }
    int32_t Phase() const { return m_bpState; }

    // Timer 9 expired: what to do with bit 23 and the timer. Without blood
    // pressure, or once stopped, the timer stops; otherwise nothing happens
    // while bit 24 is clear.
    BpCycleActions OnTimer(const BpCycleInputs& in);

private:
    int32_t m_bpState = kMeasure;
};
