#pragma once
// The view's sounds: a table of waves, four sound rows (the "Sound Profile")
// by six columns (beat, beat above 400, blood-pressure notice, pulse beat,
// alarm, breath), played through the platform's single-voice player.
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

    void SetWave(int row, int column, WaveImage wave);
    // Plays the wave of a cell once; false when the cell holds none (the
    // table is empty until the waves are loaded) or the player refused.
    bool PlayOnce(int row, int column);

private:
    ISoundPlayer& m_player;
    std::array<std::array<WaveImage, kColumns>, kRows> m_waves;
};
