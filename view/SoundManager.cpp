#include "view/SoundManager.h"

CSoundManager::CSoundManager(ISoundPlayer& player) : m_player(player)
{
}

void CSoundManager::SetWave(int row, int column, WaveImage wave)
{
    if (row >= 0 && row < kRows && column >= 0 && column < kColumns)
        m_waves[row][column] = std::move(wave);
}

bool CSoundManager::PlayOnce(int row, int column)
{
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns || !m_waves[row][column])
        return false;
    return m_player.Play(m_waves[row][column], false);
}
