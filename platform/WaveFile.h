#pragma once
// The WAVE file images the sound player takes: uncompressed PCM in a RIFF
// file, held in memory.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Sound.h"

struct WavePcm {
    int channels = 0;          // 1 or 2
    int sampleRate = 0;        // per second
    int bitsPerSample = 0;     // 8 (unsigned) or 16 (signed, little-endian)
    std::size_t dataOffset = 0;
    std::size_t dataBytes = 0; // whole frames only
};

// The PCM of a WAVE image; none for anything but a RIFF "WAVE" file with a
// PCM "fmt " chunk of 1 or 2 channels at 8 or 16 bits and a non-empty
// "data" chunk that lies within the image.
std::optional<WavePcm> ParseWave(const std::vector<uint8_t>& image);

// A WAVE image of 16-bit mono PCM.
WaveImage MakeWaveImage(const std::vector<int16_t>& samples, int sampleRate);
