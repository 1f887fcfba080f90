#pragma once
// The view's sounds: a table of waves, four sound rows (the "Sound Profile")
// by six columns (beat, beat above 400, blood-pressure notice, pulse beat,
// alarm, breath), and the connection chimes. The only caller of the
// platform's single-voice player: it knows what plays, keeps the one-shot
// tones out of a standing alarm and of a chime, and brings the alarm loop
// back when a chime that interrupted it has ended.
//
// Whether the alarm loop stands is the alarm's state, not the speaker's:
// without an output device every Play fails and the loop still stands.
#include <array>
#include <memory>

#include "platform/Sound.h"

class CSoundManager {
public:
    static constexpr int kRows = 4;
    static constexpr int kColumns = 6;

    explicit CSoundManager(ISoundPlayer& player);
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    // Fills the table with our generated waves. False when making them
    // failed (out of memory); the cells not filled stay null.
    bool LoadSounds();

    void SetWave(int row, int column, WaveImage wave);
    // Null outside the table.
    WaveImage Wave(int row, int column) const;

    // The current row: the "Sound Profile" when it names one (0..3), else 0.
    void SetRow(int soundProfile);
    int Row() const { return m_row; }

    // The alarm loop (the alarm column of the current row) stands from
    // StartAlarmLoop until StopAlarmLoop. It sounds at once unless a chime
    // plays; then it sounds when the chime ends. A null cell sounds nothing
    // and stops any sound, as the player does with no sound.
    void StartAlarmLoop();
    // The loop no longer stands; a chime playing plays on.
    void StopAlarmLoop();
    bool AlarmLoopStanding() const { return m_loopStanding; }

    // A tone of the current row (beat, pulse, breath, blood-pressure
    // notice), once. Withheld (false) while the alarm loop stands or a
    // chime plays, outside the table, or when the player refused; a null
    // cell stops any sound and plays nothing.
    bool PlayTone(int column);

    // A chime (connected, connection lost) played whole, in place of
    // whatever plays; false when the player refused it.
    bool PlayChime(WaveImage wave);
    bool ChimePlaying() const { return m_chimePlaying; }

private:
    void SoundLoop();
    void OnOnceSoundEnded();

    ISoundPlayer& m_player;
    const std::shared_ptr<CSoundManager*> m_self = std::make_shared<CSoundManager*>(this);
    std::array<std::array<WaveImage, kColumns>, kRows> m_waves;
    int m_row = 0;
    bool m_loopStanding = false;
    bool m_loopSounding = false;  // the player took the loop and nothing has replaced it
    bool m_chimePlaying = false;
};
