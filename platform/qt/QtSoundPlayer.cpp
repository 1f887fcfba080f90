#include "platform/qt/QtSoundPlayer.h"

#include <QAudioSink>
#include <QMediaDevices>

#include "platform/WaveFile.h"
#include "platform/qt/PcmSource.h"

namespace {

QAudioFormat FormatOf(const WavePcm& pcm)
{
    QAudioFormat format;
    format.setSampleRate(pcm.sampleRate);
    format.setChannelCount(pcm.channels);
    format.setSampleFormat(pcm.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return format;
}

} // namespace

CQtSoundPlayer::CQtSoundPlayer(LogFunction log, SilentFunction alarmsSilent)
    : m_log(std::move(log)), m_alarmsSilent(std::move(alarmsSilent))
{
}

CQtSoundPlayer::~CQtSoundPlayer()
{
    Stop();
}

bool CQtSoundPlayer::Play(WaveImage wave, bool loop)
{
    const std::optional<WavePcm> pcm = wave ? ParseWave(*wave) : std::nullopt;
    if (!pcm) {
        LogRefusalOnce();
        return false;
    }
    Stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        ReportSilent("Sound: there is no audio output device; alarm sounds are silent.");
        return false;
    }
    // A fresh sink for every sound: one started again after a stop shrinks
    // its buffer and loses parts of short sounds.
    m_sink = std::make_unique<QAudioSink>(device, FormatOf(*pcm));
    QObject::connect(m_sink.get(), &QAudioSink::stateChanged, m_sink.get(),
                     [this](QAudio::State state) { OnStateChanged(state); });
    m_source = std::make_unique<CPcmSource>(std::move(wave), pcm->dataOffset, pcm->dataBytes, loop);
    m_source->open(QIODevice::ReadOnly);
    m_looping = loop;
    m_playing = true;
    m_starting = true;
    m_sink->start(m_source.get());
    m_starting = false;
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        const int error = int(m_sink->error());
        Stop();
        ReportSilent("Sound: the audio output " + device.description().toStdString()
                     + " would not start (error " + std::to_string(error) + "); alarm sounds are silent.");
        return false;
    }
    return true;
}

void CQtSoundPlayer::Stop()
{
    std::unique_ptr<QAudioSink> sink = std::move(m_sink);
    std::unique_ptr<CPcmSource> source = std::move(m_source);
    m_playing = false;
    m_looping = false;
    if (!sink)
        return;
    // The sink's news is no longer ours.
    QObject::disconnect(sink.get(), nullptr, nullptr, nullptr);
    sink->stop();
    // Destroying a sink waits on the audio server and runs the event loop
    // meanwhile, where a posted alarm could call back into a Play or Stop
    // half done. It goes later, from the event loop, with the source it
    // reads.
    if (source)
        source.release()->setParent(sink.get());
    sink.release()->deleteLater();
}

int CQtSoundPlayer::Repeats() const
{
    return m_source ? m_source->Repeats() : 0;
}

void CQtSoundPlayer::OnStateChanged(QAudio::State state)
{
    // A once-sound has been read to its end; a loop never idles.
    if (state == QAudio::IdleState && !m_looping && m_playing) {
        m_playing = false;
        QMetaObject::invokeMethod(
            &m_notifier,
            [this] {
                if (m_onceEnded)
                    m_onceEnded();
            },
            Qt::QueuedConnection);
    }
    if (state == QAudio::StoppedState) {
        m_playing = false;
        const QAudio::Error error = m_sink ? m_sink->error() : QAudio::NoError;
        if (!m_starting && (error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError))
            ReportSilent("Sound: the audio output stopped (error " + std::to_string(int(error))
                         + "); alarm sounds are silent.");
    }
}

void CQtSoundPlayer::ReportSilent(const std::string& why)
{
    if (m_reportedSilent)
        return;
    m_reportedSilent = true;
    if (m_log)
        m_log(why);
    if (m_alarmsSilent)
        m_alarmsSilent();
}

void CQtSoundPlayer::LogRefusalOnce()
{
    if (m_loggedRefusal || !m_log)
        return;
    m_loggedRefusal = true;
    m_log("Sound: refused a sound that is not a PCM WAVE image.");
}
