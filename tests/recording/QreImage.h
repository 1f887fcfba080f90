#pragma once
// The expected bytes of a recording file, built field by field from the
// published layout, apart from the writer: offsets are written out here,
// numbers little-endian by hand. Texts are given as the bytes expected.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct QreImage {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(5080, 0);

    // The text, then zeros to the end of the field; it must leave room for
    // at least one zero.
    void Text(std::size_t offset, std::size_t size, std::string_view text)
    {
        if (text.size() >= size)
            throw std::logic_error("expected text fills its field");
        std::fill_n(bytes.begin() + offset, size, uint8_t{0});
        std::copy(text.begin(), text.end(), bytes.begin() + offset);
    }
    void U8(std::size_t offset, uint8_t value) { bytes.at(offset) = value; }
    void U16(std::size_t offset, uint16_t value) { Le(offset, value, 2); }
    void U32(std::size_t offset, uint32_t value) { Le(offset, value, 4); }
    void F64(std::size_t offset, double value) { Le(offset, std::bit_cast<uint64_t>(value), 8); }

    void AppendSample(uint16_t ecg, uint16_t bits)
    {
        for (uint16_t v : {ecg, bits}) {
            bytes.push_back(uint8_t(v & 0xFF));
            bytes.push_back(uint8_t(v >> 8));
        }
    }
    void AppendEvent(const std::array<uint8_t, 84>& record) { bytes.insert(bytes.end(), record.begin(), record.end()); }

private:
    void Le(std::size_t offset, uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes.at(offset + i) = uint8_t(value >> (8 * i));
    }
};

// The header's fields: where a difference lies, by name.
struct QreImageField {
    std::size_t offset;
    std::size_t size;
    const char* name;
};
inline constexpr QreImageField kQreImageFields[] = {
    {0, 3, "magic"}, {3, 1, "byte 3"}, {4, 4, "version"}, {8, 8, "startTime"},
    {16, 80, "clinic"}, {96, 80, "address1"}, {176, 80, "address2"}, {256, 80, "city"},
    {336, 80, "state"}, {416, 80, "zip"}, {496, 80, "phone"}, {576, 80, "email"},
    {656, 40, "patientName"}, {696, 40, "clientName"}, {736, 40, "species"}, {776, 40, "breed"},
    {816, 40, "birthDate"}, {856, 40, "sex"}, {896, 40, "weight"}, {936, 4096, "note"},
    {5032, 1, "speciesCode"}, {5033, 1, "modelState"}, {5034, 1, "filterFlags"},
    {5035, 1, "recordingKind"}, {5036, 1, "byte 5036"}, {5037, 1, "co2Saved"}, {5038, 6, "gap 5038"},
    {5044, 2, "sampleRate"}, {5046, 2, "gap 5046"}, {5048, 4, "sampleTicks"}, {5052, 4, "sampleCount"},
    {5056, 2, "eventKinds"}, {5058, 2, "gap 5058"}, {5060, 4, "eventCount"},
    {5064, 9, "unitSelectors"}, {5073, 7, "gap 5073"},
};

// Where `actual` first differs from `expected`: the offset, the header
// field or the record; empty when they are equal.
inline std::string FirstMismatch(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected)
{
    const std::size_t common = std::min(actual.size(), expected.size());
    std::size_t at = 0;
    while (at < common && actual[at] == expected[at])
        ++at;
    if (at == common) {
        if (actual.size() == expected.size())
            return {};
        return "size " + std::to_string(actual.size()) + ", expected " + std::to_string(expected.size());
    }
    std::string where = "offset " + std::to_string(at) + " (";
    if (at < 5080) {
        for (const QreImageField& field : kQreImageFields) {
            if (at >= field.offset && at < field.offset + field.size)
                where += std::string(field.name) + " byte " + std::to_string(at - field.offset);
        }
    } else {
        // The expected sample count tells samples from events.
        std::size_t samples = 0;
        for (int i = 3; i >= 0; --i)
            samples = samples << 8 | expected[5052 + i];
        const std::size_t body = at - 5080;
        where += body < 4 * samples ? "sample " + std::to_string(body / 4) + " byte " + std::to_string(body % 4)
                                    : "event " + std::to_string((body - 4 * samples) / 84) + " byte " +
                                          std::to_string((body - 4 * samples) % 84);
    }
    return where + "): " + std::to_string(actual[at]) + ", expected " + std::to_string(expected[at]);
}
