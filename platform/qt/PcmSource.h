#pragma once
// The PCM of a wave image as the device the audio output pulls from. Looped,
// it starts over at its end without a gap; once, it ends there.
#include <QIODevice>
#include <cstddef>

#include "platform/Sound.h"

class CPcmSource : public QIODevice {
public:
    // `bytes` from `offset` of the image: whole frames, at least one.
    CPcmSource(WaveImage image, std::size_t offset, std::size_t bytes, bool loop);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    // How often the sound has been started over.
    int Repeats() const { return m_repeats; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    WaveImage m_image; // kept alive while the output reads it
    const uint8_t* m_pcm = nullptr;
    std::size_t m_bytes = 0;
    std::size_t m_at = 0;
    bool m_loop = false;
    int m_repeats = 0;
};
