#include "view/SoundManager.h"

#include <exception>

#include "view/SoundColumns.h"
#include "view/WaveSounds.h"

static_assert(kSoundWaveIds.size() == CSoundManager::kRows && kSoundWaveIds[0].size() == CSoundManager::kColumns);

namespace {

bool InTable(int row, int column)
{
    return row >= 0 && row < CSoundManager::kRows && column >= 0 && column < CSoundManager::kColumns;
}

} // namespace

CSoundManager::CSoundManager(ISoundPlayer& player) : m_player(player)
{
    // Either may outlive the other: news for a manager that is gone is
    // dropped, and the manager never reaches back into a player at its end.
    m_player.SetOnceSoundEnded([self = std::weak_ptr<CSoundManager*>(m_self)] {
        if (const std::shared_ptr<CSoundManager*> manager = self.lock())
            (*manager)->OnOnceSoundEnded();
    });
}

bool CSoundManager::LoadSounds()
{
    try {
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column)
                m_waves[row][column] = MakeWave(kSoundWaveIds[row][column]);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void CSoundManager::SetWave(int row, int column, WaveImage wave)
{
    if (InTable(row, column))
        m_waves[row][column] = std::move(wave);
}

WaveImage CSoundManager::Wave(int row, int column) const
{
    return InTable(row, column) ? m_waves[row][column] : nullptr;
}

void CSoundManager::SetRow(int soundProfile)
{
    m_row = soundProfile >= 0 && soundProfile < kRows ? soundProfile : 0;
}

void CSoundManager::StartAlarmLoop()
{
    m_loopStanding = true;
    // A loop the player refused or dropped is tried again: an output may
    // have come.
    if ((m_loopSounding || m_chimePlaying) && m_player.IsPlaying())
        return;
    SoundLoop();
}

void CSoundManager::StopAlarmLoop()
{
    if (!m_loopStanding)
        return;
    m_loopStanding = false;
    if (m_loopSounding) {
        m_player.Stop();
        m_loopSounding = false;
    }
}

bool CSoundManager::PlayTone(int column)
{
    if (!InTable(m_row, column) || m_loopStanding || m_chimePlaying)
        return false;
    const WaveImage& wave = m_waves[m_row][column];
    if (!wave) {
        m_player.Stop();
        return false;
    }
    return m_player.Play(wave, false);
}

bool CSoundManager::PlayChime(WaveImage wave)
{
    if (m_player.Play(std::move(wave), false)) {
        m_chimePlaying = true;
        m_loopSounding = false;
        return true;
    }
    // A refused image leaves what played playing; a player without an
    // output has stopped, and a standing loop is asked for again.
    if (m_player.IsPlaying())
        return false;
    m_chimePlaying = false;
    m_loopSounding = false;
    if (m_loopStanding)
        SoundLoop();
    return false;
}

void CSoundManager::SoundLoop()
{
    const WaveImage& wave = m_waves[m_row][kSoundAlarm];
    if (!wave) {
        m_player.Stop();
        m_loopSounding = false;
        return;
    }
    m_loopSounding = m_player.Play(wave, true);
    m_chimePlaying = false;
}

void CSoundManager::OnOnceSoundEnded()
{
    // News of a sound that something newer has replaced says nothing.
    if (m_player.IsPlaying())
        return;
    m_chimePlaying = false;
    if (m_loopStanding && !m_loopSounding)
        SoundLoop();
}
