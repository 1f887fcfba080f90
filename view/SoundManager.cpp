#include "view/SoundManager.h"

CSoundManager::CSoundManager(ISoundPlayer& player) : m_player(player)
{
}
