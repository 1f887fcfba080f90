#pragma once
// The single-voice wave player over Qt Multimedia: one sound at a time from
// the default audio output, a sound may loop, a new sound or Stop ends the
// one playing. UI thread only.
//
// Without an output device (or when the output will not start) Play fails:
// the player logs that once and tells its owner once, so that the window
// can say that alarm sounds are silent. It re-tries the output on every
// Play, so a device plugged in later is used.
#include <QAudio>
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "platform/Sound.h"

class QAudioSink;
class CPcmSource;

class CQtSoundPlayer : public ISoundPlayer {
public:
    using LogFunction = std::function<void(const std::string&)>;
    using SilentFunction = std::function<void()>;

    CQtSoundPlayer(LogFunction log, SilentFunction alarmsSilent);
    ~CQtSoundPlayer() override;
    CQtSoundPlayer(const CQtSoundPlayer&) = delete;
    CQtSoundPlayer& operator=(const CQtSoundPlayer&) = delete;

    // False, and the sound playing goes on, for an image that is not a PCM
    // WAVE file; false when there is no output to play it on.
    bool Play(WaveImage wave, bool loop) override;
    void Stop() override;
    bool IsPlaying() const override { return m_playing; }
    // Told from the event loop, never from inside the output's own signal:
    // the listener may start the next sound, which replaces the output.
    void SetOnceSoundEnded(std::function<void()> ended) override { m_onceEnded = std::move(ended); }

    // How often the looped sound playing has started over.
    int Repeats() const;

private:
    void OnStateChanged(QAudio::State state);
    void ReportSilent(const std::string& why);
    void LogRefusalOnce();

    LogFunction m_log;
    SilentFunction m_alarmsSilent;
    std::function<void()> m_onceEnded;
    QObject m_notifier;  // queued news of an ended sound dies with the player
    bool m_reportedSilent = false;
    bool m_loggedRefusal = false;
    bool m_playing = false;
    bool m_looping = false;
    bool m_starting = false; // a failed start is reported by Play
    // The sink goes first: it reads the source until it stops.
    std::unique_ptr<CPcmSource> m_source;
    std::unique_ptr<QAudioSink> m_sink;
};
