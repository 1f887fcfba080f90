#include "platform/Windows1252.h"

#include <algorithm>
#include <cstring>

namespace {

// The code points of bytes 0x80..0x9F; 0 where the code page has none.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char ToWindows1252(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::string Windows1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        char32_t codePoint = byte;
        if (byte >= 0x80 && byte < 0xA0)
            codePoint = kHighControls[byte - 0x80] != 0 ? kHighControls[byte - 0x80] : U'?';
        if (codePoint < 0x80) {
            out += static_cast<char>(codePoint);
        } else if (codePoint < 0x800) {
            out += static_cast<char>(0xC0 | (codePoint >> 6));
            out += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (codePoint >> 12));
            out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // The length and the range of the second byte that keep a sequence
        // short-form, below U+110000 and off the surrogates. A broken
        // sequence costs one '?' for its longest valid start, and decoding
        // resumes at the byte that broke it.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        char32_t codePoint = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        }
        std::size_t used = 1;
        while (length != 0 && used < length && i + used < utf8.size()) {
            const auto byte = static_cast<unsigned char>(utf8[i + used]);
            const bool fits = used == 1 ? byte >= low && byte <= high : IsContinuation(byte);
            if (!fits)
                break;
            codePoint = (codePoint << 6) | (byte & 0x3F);
            ++used;
        }
        out += length != 0 && used == length ? ToWindows1252(codePoint) : '?';
        i += used;
    }
    return out;
}

void CopyTextField(uint8_t* field, std::size_t fieldSize, std::string_view utf8)
{
    if (field == nullptr || fieldSize == 0)
        return;
    const std::string text = Utf8ToWindows1252(utf8);
    const std::size_t count = std::min(text.size(), fieldSize - 1);
    std::memcpy(field, text.data(), count);
    std::memset(field + count, 0, fieldSize - count);
}
