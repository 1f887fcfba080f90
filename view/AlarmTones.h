#pragma once
// The alarm loop and its silencing: the snooze on view timer 13, the
// "Alarms" and "Alarm Tones" switches, the tone indicator and the state of
// their two commands. The loop itself is the sound manager's, which alone
// knows whether it stands; each call starts or stops it there and returns
// the other steps the window carries out, in order.
#include <cstdint>
#include <vector>

#include "platform/ColorRef.h"

class CSoundManager;
class RemoteConfiguration;

inline constexpr int kSnoozeTimerId = 13;
inline constexpr char kSnoozeStatusText[] = "Alarm Tone\nSnooze Active";
inline constexpr COLORREF kSnoozeStatusColor = 0x40FFFF;
// A snooze longer than a day is taken as a day.
inline constexpr int32_t kMaxSnoozeSeconds = 24 * 60 * 60;

// Tone-indicator bitmaps.
inline constexpr int kToneIndicatorOn = 590;         // "Alarms" and "Alarm Tones" on
inline constexpr int kToneIndicatorTonesOff = 310;   // "Alarms" on, tones off
inline constexpr int kToneIndicatorAlarmsOff = 330;  // "Alarms" off

enum class ToneStep : uint8_t {
    StartSnoozeTimer,   // timer 13 with periodMs
    KillSnoozeTimer,    // timer 13
    ShowSnoozeStatus,   // the status box: kSnoozeStatusText in kSnoozeStatusColor
    HideSnoozeStatus,
    EvaluateAlarms,     // a pass now; its toneOn goes back to EnableAlarmTone
    ResetAlarmBoxes,    // CAlarmEvaluator::ResetAlarmDisplay and paint what it returns
    Relayout,           // lay the view out again
};

struct ToneAction {
    ToneStep step = ToneStep::KillSnoozeTimer;
    int32_t periodMs = 0;  // StartSnoozeTimer only
    bool operator==(const ToneAction&) const = default;
};

struct ToneActions {
    std::vector<ToneAction> steps;
    int toneIndicator = kToneIndicatorAlarmsOff;  // the bitmap to show afterwards
};

// The update state of a tool-bar command.
struct CommandState {
    bool enabled = false;
    bool checked = false;
    int toolbarImage = 0;  // another image for the button; 0: the frame's own
    bool operator==(const CommandState&) const = default;
};

// The tone indicator's bitmap for the settings in force.
int ToneIndicatorBitmap(const RemoteConfiguration& config);
// 8840 "Toggle Silence Alarm": enabled when live and "Alarms" on, checked
// with "Alarm Tones" on. Its button's image is the frame's to choose.
CommandState SilenceAlarmCommandState(bool live, const RemoteConfiguration& config);
// 8800 "Toggle Alarms": enabled when live, checked with "Alarms" on; its
// button's image is the frame's.
CommandState ToggleAlarmsCommandState(bool live, const RemoteConfiguration& config);
// "AlarmSnooze" in seconds: a negative counts as 0, and no more than a day.
int32_t SnoozeSeconds(const RemoteConfiguration& config);

class CAlarmTones {
public:
    explicit CAlarmTones(CSoundManager& sounds) : m_sounds(sounds) {}

    // Plays the loop when `on` with "Alarms" and "Alarm Tones" on, stops it
    // when not `on`; while not connected it only stops.
    ToneActions EnableAlarmTone(bool on, bool connected, const RemoteConfiguration& config);

    // The silence button: toggles "Alarm Tones", starting or ending a
    // snooze by "AlarmSnooze". Writes "Alarm Tones" into `config`.
    ToneActions OnSilenceAlarm(RemoteConfiguration& config);

    // The "Alarms" switch. Writes "Alarms" into `config`. `live`: the view
    // is live (the loop then follows "Alarm Tones", as after any reset).
    ToneActions OnToggleAlarms(RemoteConfiguration& config, bool live, bool connected);

    // The tone part of ResetAlarmDisplay: stop the loop, then when live
    // let it follow "Alarm Tones".
    ToneActions ResetAlarmTone(const RemoteConfiguration& config, bool live, bool connected);

    // Timer 13: the snooze is over and the tones come back on.
    ToneActions OnSnoozeTimer(RemoteConfiguration& config);

    // Beat and notification tones may play (they never cut into the loop).
    bool AllowsOneShotTones(const RemoteConfiguration& config) const;

    // The alarm loop stands (the sound manager's state).
    bool Playing() const;
    bool Snoozing() const { return m_snoozing != 0; }

private:
    void EndSnooze(std::vector<ToneAction>& steps);
    void Append(ToneActions& to, const ToneActions& from) const;

    CSoundManager& m_sounds;
    int32_t m_snoozing = 0;
};
