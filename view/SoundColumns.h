#pragma once
// The columns of the sound table (one row per sound set), and the rule that
// keeps the one-shot tones quiet while the alarm loop sounds.
#include <cstdint>

enum SoundColumn : int {
    kSoundBeat = 0,
    kSoundBeatAbove400 = 1,   // the beat with "Heart Rates above 400" on
    kSoundBpNotify = 2,
    kSoundPulseBeat = 3,
    kSoundAlarm = 4,          // looped
    kSoundBreath = 5,
};

// One-shot tones may sound unless the alarm loop plays with "Alarms" and
// "Alarm Tones" both on: a beat must never cut into an alarm.
constexpr bool AlarmLoopAllowsTones(bool alarmLoopPlaying, int32_t alarms, int32_t alarmTones)
{
    return !alarmLoopPlaying || alarms == 0 || alarmTones == 0;
}
