#include "platform/Sound.h"

#include <utility>

bool CRecordingSoundPlayer::Play(WaveImage wave, bool loop)
{
    if (!wave || wave->empty())
        return false;
    m_calls.push_back({loop ? Call::PlayLooped : Call::PlayOnce, wave});
    m_playing = std::move(wave);
    m_looping = loop;
    return true;
}

void CRecordingSoundPlayer::Stop()
{
    m_calls.push_back({Call::Stop, nullptr});
    m_playing.reset();
    m_looping = false;
}

void CRecordingSoundPlayer::EndOnceSound()
{
    if (m_looping || !m_playing)
        return;
    m_playing.reset();
    if (m_onceEnded)
        m_onceEnded();
}
