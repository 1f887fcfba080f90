#pragma once
// The view's sounds: a table of waves, four sound rows (the "Sound Profile")
// by six columns (beat, beat above 400, blood-pressure notice, pulse beat,
// alarm, breath), played through the platform's single-voice player.
//
// What the player answers says only whether a sound started: alarm state
// never hangs on it (without an output device every Play fails).
#include <array>

#include "platform/Sound.h"

class CSoundManager {
public:
    static constexpr int kRows = 4;
    static constexpr int kColumns = 6;

    explicit CSoundManager(ISoundPlayer& player);
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    ISoundPlayer& Player() { return m_player; }

    // Fills the table with our generated waves. False when making them
    // failed (out of memory); the cells not filled stay null.
    bool LoadSounds();

    void SetWave(int row, int column, WaveImage wave);
    // Null outside the table.
    WaveImage Wave(int row, int column) const;

    // The current row: the "Sound Profile" when it names one (0..3), else 0.
    void SetRow(int soundProfile);
    int Row() const { return m_row; }

    // Plays the wave of a cell once. A null cell stops any sound, as the
    // player does with no sound; false then, outside the table, or when the
    // player refused.
    bool PlayOnce(int row, int column);
    // Loops the wave of a column of the current row (the alarm), likewise.
    bool PlayLooped(int column);
    void Stop();

private:
    bool Play(int row, int column, bool loop);

    ISoundPlayer& m_player;
    std::array<std::array<WaveImage, kColumns>, kRows> m_waves;
    int m_row = 0;
};
