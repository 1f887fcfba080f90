#pragma once
// The platform's single-voice wave player: one sound at a time, a sound may
// loop, a new sound or Stop ends the one playing.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A WAVE file image in memory, shared with the player while it plays.
using WaveImage = std::shared_ptr<const std::vector<uint8_t>>;

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Ends the sound playing and starts this one. False when the wave cannot
    // be played.
    virtual bool Play(WaveImage wave, bool loop) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
    // Called on the player's thread, after the call that started it has
    // returned, when a once-sound has played to its end; never for a sound
    // stopped or replaced. Empty: nobody is told.
    virtual void SetOnceSoundEnded(std::function<void()> ended) = 0;
};

// The player of tests and of headless runs: plays nothing, records every
// call but a refused Play. A looped sound plays until Stop or the next Play;
// a once-sound plays until then or until EndOnceSound says it ran out. A
// null or empty wave is refused and leaves the sound playing as it was.
class CRecordingSoundPlayer : public ISoundPlayer {
public:
    enum class Call { PlayOnce, PlayLooped, Stop };
    struct Record {
        Call call = Call::Stop;
        WaveImage wave; // held, so that identity by address stays sound
    };

    bool Play(WaveImage wave, bool loop) override;
    void Stop() override;
    bool IsPlaying() const override { return m_playing != nullptr; }
    void SetOnceSoundEnded(std::function<void()> ended) override { m_onceEnded = std::move(ended); }

    // The once-sound playing has reached its end; whoever listens is told.
    void EndOnceSound();

    const std::vector<Record>& Calls() const { return m_calls; }
    const WaveImage& PlayingWave() const { return m_playing; }

private:
    std::vector<Record> m_calls;
    WaveImage m_playing;
    bool m_looping = false;
    std::function<void()> m_onceEnded;
};
