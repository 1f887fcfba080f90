#pragma once
// Reads a recording file's fields back, apart from the writer: offsets as
// the published layout gives them, little-endian by hand.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct QreContents {
    std::string magic;                // bytes 0-2
    int32_t version = 0;
    double startTime = 0;
    std::array<std::string, 8> clinic;
    std::string patientName, clientName, species, breed, birthDate, sex, weight, note;
    uint8_t speciesCode = 0, modelState = 0, filterFlags = 0, recordingKind = 0, co2Saved = 0;
    uint16_t sampleRate = 0;
    uint32_t sampleTicks = 0, sampleCount = 0;
    uint16_t eventKinds = 0;
    uint32_t eventCount = 0;
    std::array<uint8_t, 9> unitSelectors{};
    std::vector<std::pair<int16_t, uint16_t>> samples;  // (ecg, bit word)
    std::vector<std::array<uint8_t, 84>> events;
    bool sizesAgree = false;          // header, samples and events fill the file exactly
    bool textsEndInZero = true;       // every text field's last byte is zero
};

// A file shorter than its header reads as empty with sizesAgree false.
inline QreContents ReadQre(const std::vector<uint8_t>& file)
{
    QreContents c;
    if (file.size() < 5080)
        return c;
    auto le = [&](std::size_t at, int size) {
        uint64_t v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = v << 8 | file[at + i];
        return v;
    };
    auto text = [&](std::size_t at, std::size_t size) {
        c.textsEndInZero = c.textsEndInZero && file[at + size - 1] == 0;
        std::string s;
        for (std::size_t i = at; i < at + size && file[i] != 0; ++i)
            s += char(file[i]);
        return s;
    };
    c.magic.assign(file.begin(), file.begin() + 3);
    c.version = int32_t(le(4, 4));
    c.startTime = std::bit_cast<double>(le(8, 8));
    for (std::size_t i = 0; i < 8; ++i)
        c.clinic[i] = text(16 + 80 * i, 80);
    std::string* patient[] = {&c.patientName, &c.clientName, &c.species, &c.breed, &c.birthDate, &c.sex, &c.weight};
    for (std::size_t i = 0; i < 7; ++i)
        *patient[i] = text(656 + 40 * i, 40);
    c.note = text(936, 4096);
    c.speciesCode = file[5032];
    c.modelState = file[5033];
    c.filterFlags = file[5034];
    c.recordingKind = file[5035];
    c.co2Saved = file[5037];
    c.sampleRate = uint16_t(le(5044, 2));
    c.sampleTicks = uint32_t(le(5048, 4));
    c.sampleCount = uint32_t(le(5052, 4));
    c.eventKinds = uint16_t(le(5056, 2));
    c.eventCount = uint32_t(le(5060, 4));
    for (std::size_t i = 0; i < 9; ++i)
        c.unitSelectors[i] = file[5064 + i];

    c.sizesAgree = file.size() == 5080 + 4 * uint64_t(c.sampleCount) + 84 * uint64_t(c.eventCount);
    std::size_t at = 5080;
    for (uint32_t i = 0; i < c.sampleCount && at + 4 <= file.size(); ++i, at += 4)
        c.samples.emplace_back(int16_t(le(at, 2)), uint16_t(le(at + 2, 2)));
    for (uint32_t i = 0; i < c.eventCount && at + 84 <= file.size(); ++i, at += 84) {
        c.events.emplace_back();
        std::copy(file.begin() + at, file.begin() + at + 84, c.events.back().begin());
    }
    return c;
}
