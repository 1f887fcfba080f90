#pragma once
// The view's sounds, played through the platform's single-voice player.
#include "platform/Sound.h"

class CSoundManager {
public:
    explicit CSoundManager(ISoundPlayer& player);
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    ISoundPlayer& Player() { return m_player; }

private:
    ISoundPlayer& m_player;
};
