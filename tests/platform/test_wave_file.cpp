// WAVE images: what is written reads back, and only PCM WAVE files are taken.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/WaveFile.h"

namespace {

const std::vector<int16_t> kSamples{0, 1000, -1000, 32767, -32768, 7};

void Put16(std::vector<uint8_t>& b, std::size_t at, uint16_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

void Put32(std::vector<uint8_t>& b, std::size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

} // namespace

TEST(WaveFile, ReadsBackWhatItWritesAndTakesOnlyPcmWaveFiles)
{
    // Offsets in the 44-byte header: RIFF size 4, format 20, channels 22,
    // rate 24, byte rate 28, block align 32, bits 34, data tag 36, size 40.
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> change;
        bool taken;
        int channels;
    };
    const std::vector<Case> cases{
        {"as written", [](auto&) {}, true, 1},
        {"empty", [](auto& b) { b.clear(); }, false, 0},
        {"a RIFX file", [](auto& b) { b[3] = 'X'; }, false, 0},
        {"an AVI file", [](auto& b) { std::memcpy(b.data() + 8, "AVI ", 4); }, false, 0},
        {"cut short", [](auto& b) { b.resize(b.size() - 2); }, false, 0},
        {"float samples", [](auto& b) { Put16(b, 20, 3); }, false, 0},
        {"24-bit samples", [](auto& b) { Put16(b, 34, 24); Put16(b, 32, 3); }, false, 0},
        {"no channels", [](auto& b) { Put16(b, 22, 0); }, false, 0},
        {"a wrong block size", [](auto& b) { Put16(b, 32, 4); }, false, 0},
        {"data beyond the file", [](auto& b) { Put32(b, 40, 1000); }, false, 0},
        {"no data chunk", [](auto& b) { std::memcpy(b.data() + 36, "junk", 4); }, false, 0},
        {"empty data", [](auto& b) { Put32(b, 40, 0); }, false, 0},
        {"stereo 8-bit",
         [](auto& b) { Put16(b, 22, 2); Put16(b, 34, 8); Put16(b, 32, 2); },
         true, 2},
        {"an odd-sized chunk before the data",
         [](auto& b) {
             const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
             b.insert(b.begin() + 36, std::begin(list), std::end(list));
             Put32(b, 4, uint32_t(b.size() - 8));
         },
         true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> image = *MakeWaveImage(kSamples, 22050);
        c.change(image);
        const auto pcm = ParseWave(image);
        ASSERT_EQ(pcm.has_value(), c.taken);
        if (!pcm)
            continue;
        EXPECT_EQ(pcm->channels, c.channels);
        EXPECT_EQ(pcm->sampleRate, 22050);
        EXPECT_EQ(pcm->bitsPerSample, 16 / c.channels);
        ASSERT_EQ(pcm->dataBytes, kSamples.size() * 2);
        ASSERT_EQ(pcm->dataOffset + pcm->dataBytes, image.size());
        std::vector<int16_t> back(kSamples.size());
        std::memcpy(back.data(), image.data() + pcm->dataOffset, pcm->dataBytes); // a little-endian host
        EXPECT_EQ(back, kSamples);
    }
}
