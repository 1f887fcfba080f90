#pragma once
// The decisions the view takes on news from the link that need no window:
// how many ring frames to consume, which value boxes to rewrite, where a
// pending mark lands, when a Selvo's vitals are stored, whether a print
// request prints, and what the remote's alarm-silence button does. The view
// carries them out.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/LiveData.h"

// Frames to hand to the strips now: everything written since the read
// index except the newest `lastBeatOffset` (at least one), so that a beat
// marked back in time still lands in a frame not yet consumed.
int32_t FramesToConsume(int32_t writeIndex, int32_t readIndex, int32_t lastBeatOffset);

// The 24 live values, each read once.
std::array<int32_t, kParameterCount> ReadNumerics(const LiveData& live);

// Which value boxes a pass of new numerics rewrites.
class CNumericsIntake {
public:
    struct Pass {
        std::vector<int> rewrites; // in slot order
        // Something was rewritten: the alarms are evaluated again.
        bool Changed() const { return !rewrites.empty(); }
    };

    // The next pass rewrites every box once, whatever its value.
    void ForceRewrite() { m_forceNumerics = true; }
    bool RewriteForced() const { return m_forceNumerics; }

    // Records the values and ends a forced rewrite.
    Pass Take(const std::array<int32_t, kParameterCount>& numerics);
    int32_t LastShown(int slot) const;

private:
    std::array<int32_t, kParameterCount> m_lastShown{};
    bool m_forceNumerics = false;
};

// A mark from the remote waits for the next consumed block and is stamped
// on its first frame.
class CMarkStamp {
public:
    void Request() { m_markPending = true; }
    bool Pending() const { return m_markPending; }
    // True when this block of consumed frames takes the pending mark.
    bool TakeForBlock(int32_t consumedFrames);

private:
    bool m_markPending = false;
};

// The remote's print button: a request prints only when more than 2 s
// passed since the previous request, printed or not, so a steady stream of
// presses keeps being ignored.
class CPrintThrottle {
public:
    using Clock = std::chrono::steady_clock;

    explicit CPrintThrottle(Clock::time_point start) : m_lastPrintRequest(start) {}
    bool Request(Clock::time_point now);

private:
    Clock::time_point m_lastPrintRequest;
};

// The remote's alarm-silence button.
struct SilenceAction {
    bool silence = false;         // run the alarm-silence command
    const char* banner = nullptr; // null: no banner
    bool redraw = false;
};
// `snoozing` as it was before the button.
SilenceAction AlarmSilenceAction(bool alarmsOn, bool alarmTonesOn, bool snoozing);
