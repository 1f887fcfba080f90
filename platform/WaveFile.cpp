#include "platform/WaveFile.h"

#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 384000;

uint32_t Read32(const std::vector<uint8_t>& b, std::size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

uint16_t Read16(const std::vector<uint8_t>& b, std::size_t at)
{
    return uint16_t(b[at] | b[at + 1] << 8);
}

bool IsTag(const std::vector<uint8_t>& b, std::size_t at, const char* tag)
{
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

// Writes the fields of a header in order into an image sized beforehand.
class CHeaderWriter {
public:
    explicit CHeaderWriter(std::vector<uint8_t>& image) : m_image(image) {}
    void Tag(const char* tag)
    {
        std::memcpy(m_image.data() + m_at, tag, 4);
        m_at += 4;
    }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_image[m_at++] = uint8_t(v >> (8 * i));
    }
    void U16(uint16_t v)
    {
        m_image[m_at++] = uint8_t(v);
        m_image[m_at++] = uint8_t(v >> 8);
    }

private:
    std::vector<uint8_t>& m_image;
    std::size_t m_at = 0;
};

} // namespace

std::optional<WavePcm> ParseWave(const std::vector<uint8_t>& image)
{
    if (image.size() < 12 || !IsTag(image, 0, "RIFF") || !IsTag(image, 8, "WAVE"))
        return std::nullopt;
    // A RIFF size beyond the image means a cut file: refuse it rather than
    // play what is left.
    const std::size_t riffEnd = std::size_t(Read32(image, 4)) + 8;
    if (riffEnd > image.size())
        return std::nullopt;

    WavePcm pcm;
    bool haveFormat = false;
    std::optional<std::size_t> dataAt;
    std::size_t dataSize = 0;
    for (std::size_t at = 12; at + 8 <= riffEnd;) {
        const std::size_t size = Read32(image, at + 4);
        const std::size_t body = at + 8;
        if (size > riffEnd - body)
            return std::nullopt;
        if (IsTag(image, at, "fmt ")) {
            if (size < 16 || Read16(image, body) != kFormatPcm)
                return std::nullopt;
            pcm.channels = Read16(image, body + 2);
            pcm.sampleRate = int(Read32(image, body + 4));
            pcm.bitsPerSample = Read16(image, body + 14);
            const uint16_t blockAlign = Read16(image, body + 12);
            if (pcm.channels < 1 || pcm.channels > 2 || (pcm.bitsPerSample != 8 && pcm.bitsPerSample != 16)
                || pcm.sampleRate < kMinSampleRate || pcm.sampleRate > kMaxSampleRate
                || blockAlign != pcm.channels * pcm.bitsPerSample / 8)
                return std::nullopt;
            haveFormat = true;
        } else if (IsTag(image, at, "data")) {
            dataAt = body;
            dataSize = size;
        }
        at = body + size + (size & 1); // chunks are padded to even sizes
    }
    if (!haveFormat || !dataAt)
        return std::nullopt;
    const std::size_t frameBytes = std::size_t(pcm.channels * pcm.bitsPerSample / 8);
    pcm.dataOffset = *dataAt;
    pcm.dataBytes = dataSize - dataSize % frameBytes;
    if (pcm.dataBytes == 0)
        return std::nullopt;
    return pcm;
}

WaveImage MakeWaveImage(const std::vector<int16_t>& samples, int sampleRate)
{
    constexpr std::size_t kHeaderBytes = 44;
    const auto dataBytes = uint32_t(samples.size() * 2);
    auto image = std::make_shared<std::vector<uint8_t>>(kHeaderBytes + dataBytes);
    CHeaderWriter w(*image);
    w.Tag("RIFF");
    w.U32(uint32_t(kHeaderBytes - 8) + dataBytes);
    w.Tag("WAVE");
    w.Tag("fmt ");
    w.U32(16);
    w.U16(kFormatPcm);
    w.U16(1);
    w.U32(uint32_t(sampleRate));
    w.U32(uint32_t(sampleRate) * 2);
    w.U16(2);
    w.U16(16);
    w.Tag("data");
    w.U32(dataBytes);
    uint8_t* out = image->data() + kHeaderBytes;
    for (const int16_t s : samples) {
        *out++ = uint8_t(uint16_t(s));
        *out++ = uint8_t(uint16_t(s) >> 8);
    }
    return image;
}
