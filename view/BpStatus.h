#pragma once
// The blood-pressure cycle as the remote reports it in its status word,
// followed once per drawn ECG row pass: which animation plays, the picture
// the group shows, error reports and the periods of an automatic measurement.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

struct BpInputs {
    uint32_t statusFlags = 0;
    bool running = false;           // a measurement runs (m_bpRunning)
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
    bool animationsCreated = false;
    bool saveAllBp = false;         // "Save All BP Measurements"
    bool bpNotifyTone = false;      // "BP Notify Tone"
    bool alarmLoopAllows = false;   // AlarmLoopAllowsTones
    bool verboseLogging = false;
};

// The pictures share one place in the group: one of them is shown.
enum class BpPicture : uint8_t {
    kBpOff,      // "BP Off": no measurement runs
    kNone,       // a measurement was started, the remote has not begun it
    kMeasuring,  // AVI 160, played endlessly
    kPause,      // AVI 170, played endlessly
};

struct BpActions {
    bool resetStrips = false;           // the Brindle's strips start over with each measurement
    bool requestVitals = false;         // store a vitals event
    std::optional<uint8_t> pendingError;  // the BP error to show next (gas-status byte 2)
    bool postErrorTimer = false;        // post timer 10's message so that it shows now
    std::string logLine;                // for the event log, tag "CQuorinView::AppendEcgData"; empty none
    bool playNotifyTone = false;        // sound column 2
    bool clearRunning = false;          // m_bpRunning := 0
};

class CBpStatus {
public:
    static constexpr uint32_t kMeasuringBit = 1u << 23;
    static constexpr uint32_t kCycleBit = 1u << 24;
    static constexpr int kErrorShift = 26;
    static constexpr uint8_t kErrorRepeated = 10;  // counted, never shown alone
    static constexpr std::size_t kPeriodsKept = 5;
    static constexpr int kPeriodsForError = 3;

    BpActions Update(const BpInputs& in);

    // A measurement was started or stopped by the user: a new history.
    void ClearPeriods();
    // The window stopped both animations.
    void AnimationsStopped();
    // What the group shows: the animation of the phase while a measurement
    // runs, "BP Off" while none does.
    BpPicture ShownPicture(bool running) const;

    int32_t PeriodCount() const { return m_bpPeriodCount; }
    int32_t Error10Count() const { return m_bpError10Count; }
    const std::deque<bool>& PeriodHistory() const { return m_periods; }
    bool MeasuringAnimationPlays() const { return m_bpCycleAnimPlaying; }
    bool PauseAnimationPlays() const { return m_bpPauseAnimPlaying; }

private:
    void FollowErrors(const BpInputs& in, BpActions& out);
    void FollowCycle(const BpInputs& in, BpActions& out);

    uint8_t m_previousError = 0;
    int32_t m_bpPeriodCount = 0;
    int32_t m_bpError10Count = 0;
    std::deque<bool> m_periods;     // per finished period: error 10 reported in it
    bool m_bpCycleAnimPlaying = false;
    bool m_bpPauseAnimPlaying = false;
};
