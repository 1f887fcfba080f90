#include "platform/qt/PcmSource.h"

#include <algorithm>
#include <cstring>

CPcmSource::CPcmSource(WaveImage image, std::size_t offset, std::size_t bytes, bool loop)
    : m_image(std::move(image)), m_pcm(m_image->data() + offset), m_bytes(bytes), m_loop(loop)
{
}

qint64 CPcmSource::bytesAvailable() const
{
    // A loop never runs dry.
    const std::size_t left = m_loop ? m_bytes : m_bytes - m_at;
    return qint64(left) + QIODevice::bytesAvailable();
}

qint64 CPcmSource::readData(char* data, qint64 maxSize)
{
    qint64 done = 0;
    while (done < maxSize) {
        if (m_at == m_bytes) {
            if (!m_loop)
                break;
            m_at = 0;
            ++m_repeats;
        }
        const std::size_t n = std::min(std::size_t(maxSize - done), m_bytes - m_at);
        std::memcpy(data + done, m_pcm + m_at, n);
        m_at += n;
        done += qint64(n);
    }
    return done;
}

qint64 CPcmSource::writeData(const char*, qint64)
{
    return -1;
}
