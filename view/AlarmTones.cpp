#include "view/AlarmTones.h"

#include <algorithm>

#include "app/RemoteConfiguration.h"
#include "view/SoundColumns.h"
#include "view/SoundManager.h"

namespace {

bool AlarmsOn(const RemoteConfiguration& config)
{
    return LoadRelaxed(config.alarms) != 0;
}

bool TonesOn(const RemoteConfiguration& config)
{
    return LoadRelaxed(config.alarmTones) != 0;
}

}  // namespace

int ToneIndicatorBitmap(const RemoteConfiguration& config)
{
    if (!AlarmsOn(config))
        return kToneIndicatorAlarmsOff;
    return TonesOn(config) ? kToneIndicatorOn : kToneIndicatorTonesOff;
}

CommandState SilenceAlarmCommandState(bool live, const RemoteConfiguration& config)
{
    return CommandState{live && AlarmsOn(config), TonesOn(config)};
}

CommandState ToggleAlarmsCommandState(bool live, const RemoteConfiguration& config)
{
    return CommandState{live, AlarmsOn(config)};
}

int32_t SnoozeSeconds(const RemoteConfiguration& config)
{
    // Loaded unchecked: the timer's period must neither overflow nor be
    // negative.
    return std::clamp<int32_t>(LoadRelaxed(config.alarmSnooze), 0, kMaxSnoozeSeconds);
}

ToneActions CAlarmTones::EnableAlarmTone(bool on, bool connected, const RemoteConfiguration& config)
{
    ToneActions out;
    if (!connected || !on)
        m_sounds.StopAlarmLoop();
    else if (AlarmsOn(config) && TonesOn(config))
        m_sounds.StartAlarmLoop();  // nothing when it stands already
    out.toneIndicator = ToneIndicatorBitmap(config);
    return out;
}

ToneActions CAlarmTones::OnSilenceAlarm(RemoteConfiguration& config)
{
    ToneActions out;
    const int32_t seconds = SnoozeSeconds(config);
    if (!AlarmsOn(config)) {
        EndSnooze(out.steps);
        out.toneIndicator = ToneIndicatorBitmap(config);
        return out;
    }

    const bool tonesNowOn = !TonesOn(config);
    StoreRelaxed(config.alarmTones, tonesNowOn ? 1 : 0);
    if (!tonesNowOn) {
        if (seconds == 0) {
            m_sounds.StopAlarmLoop();
        } else if (m_snoozing != 0) {
            EndSnooze(out.steps);
            m_sounds.StopAlarmLoop();
        } else {
            m_sounds.StopAlarmLoop();
            out.steps.push_back({ToneStep::StartSnoozeTimer, seconds * 1000});
            out.steps.push_back({ToneStep::ShowSnoozeStatus});
            m_snoozing = 1;
        }
    } else if (seconds == 0) {
        // A snooze left from a longer "AlarmSnooze" ends here too.
        EndSnooze(out.steps);
        // A steady alarm must sound again now, not at its next change.
        out.steps.push_back({ToneStep::EvaluateAlarms});
    } else if (m_snoozing == 0) {
        out.steps.push_back({ToneStep::EvaluateAlarms});
    } else {
        // Pressed during a snooze: the snooze ends and the tones stay off.
        EndSnooze(out.steps);
        m_sounds.StopAlarmLoop();
        StoreRelaxed(config.alarmTones, 0);
    }
    out.toneIndicator = ToneIndicatorBitmap(config);
    return out;
}

ToneActions CAlarmTones::OnToggleAlarms(RemoteConfiguration& config, bool live, bool connected)
{
    const bool alarmsNowOn = !AlarmsOn(config);
    StoreRelaxed(config.alarms, alarmsNowOn ? 1 : 0);
    ToneActions out;
    out.steps.push_back({ToneStep::ResetAlarmBoxes});
    Append(out, ResetAlarmTone(config, live, connected));
    out.steps.push_back({ToneStep::Relayout});
    if (!alarmsNowOn) {
        m_sounds.StopAlarmLoop();
        EndSnooze(out.steps);
    }
    out.toneIndicator = ToneIndicatorBitmap(config);
    return out;
}

ToneActions CAlarmTones::ResetAlarmTone(const RemoteConfiguration& config, bool live, bool connected)
{
    ToneActions out;
    m_sounds.StopAlarmLoop();
    if (live)
        Append(out, EnableAlarmTone(TonesOn(config), connected, config));
    out.toneIndicator = ToneIndicatorBitmap(config);
    return out;
}

ToneActions CAlarmTones::OnSnoozeTimer(RemoteConfiguration& config)
{
    ToneActions out;
    out.steps.push_back({ToneStep::KillSnoozeTimer});
    // A late expiry after the snooze was ended leaves the silence standing.
    if (m_snoozing != 0) {
        m_snoozing = 0;
        out.steps.push_back({ToneStep::HideSnoozeStatus});
        // The tones come back on whatever happened meanwhile; toggling them
        // would silence tones switched on during the snooze.
        StoreRelaxed(config.alarmTones, 1);
        if (AlarmsOn(config))
            out.steps.push_back({ToneStep::EvaluateAlarms});
    }
    out.toneIndicator = ToneIndicatorBitmap(config);
    return out;
}

bool CAlarmTones::AllowsOneShotTones(const RemoteConfiguration& config) const
{
    return AlarmLoopAllowsTones(Playing(), LoadRelaxed(config.alarms), LoadRelaxed(config.alarmTones));
}

bool CAlarmTones::Playing() const
{
    return m_sounds.AlarmLoopStanding();
}

void CAlarmTones::EndSnooze(std::vector<ToneAction>& steps)
{
    // Only a running snooze owns the status box; otherwise it may be
    // showing the connection.
    if (m_snoozing == 0)
        return;
    steps.push_back({ToneStep::KillSnoozeTimer});
    steps.push_back({ToneStep::HideSnoozeStatus});
    m_snoozing = 0;
}

void CAlarmTones::Append(ToneActions& to, const ToneActions& from) const
{
    to.steps.insert(to.steps.end(), from.steps.begin(), from.steps.end());
    to.toneIndicator = from.toneIndicator;
}
