#include "view/SoundManager.h"

#include <exception>

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

bool CSoundManager::PlayOnce(int row, int column)
{
    return Play(row, column, false);
}

bool CSoundManager::PlayLooped(int column)
{
    return Play(m_row, column, true);
}

void CSoundManager::Stop()
{
    m_player.Stop();
}

bool CSoundManager::Play(int row, int column, bool loop)
{
    if (!InTable(row, column))
        return false;
    if (!m_waves[row][column]) {
        m_player.Stop();
        return false;
    }
    return m_player.Play(m_waves[row][column], loop);
}
