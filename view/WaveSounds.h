#pragma once
// Our own sounds, generated as WAVE file images (16-bit mono PCM at
// 22050 Hz) under the resource ids the view plays them by. Each row is a
// sound set in its own key: the beat rises in pitch from row 0 to row 3.
//
//   beat               80 ms tone (880, 988, 1109, 1245 Hz by row)
//   beat above 400     25 ms click at the beat's pitch, for rates up to 800
//   blood-pressure     320 ms rising two-tone, 659 then 880 Hz; one sound
//     notice           shared by every row
//   pulse beat         100 ms, quieter and rounder, three quarters of the
//                      beat's pitch
//   alarm              1.6 s phrase of five harmonic-rich bursts, three and
//                      two (784, 880, 740, 831 Hz by row); it ends in
//                      silence, so that looped it repeats the pattern evenly
//   breath             450 ms whoosh of band-passed noise
//   lost connection    680 ms falling two-tone, 988 then 659 Hz
//
// Every tone fades in and out over a few milliseconds, so that nothing
// clicks.
#include <array>

#include "platform/Sound.h"

inline constexpr int kWaveSampleRate = 22050;

// The waves of the sound table by row and column (see view/SoundColumns.h).
inline constexpr std::array<std::array<int, 6>, 4> kSoundWaveIds{{
    {230, 140, 150, 440, 340, 180},
    {211, 218, 150, 224, 193, 199},
    {212, 219, 150, 225, 194, 200},
    {213, 220, 150, 226, 195, 201},
}};

// Played when the remote connects, and when its connection is lost.
inline constexpr int kConnectedWave = 350;
inline constexpr int kLostConnectionWave = 360;

// The wave of a resource id; null for an id we have no sound for.
WaveImage MakeWave(int resourceId);
