#include "sim/OutgoingFrames.h"

namespace {

uint16_t U16(const std::vector<uint8_t>& b, std::size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t U32(const std::vector<uint8_t>& b, std::size_t at)
{
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint32_t ByteSum(const std::vector<uint8_t>& b, std::size_t from, std::size_t count)
{
    uint32_t sum = 0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += b[i];
    return sum;
}

OutFrame Decode(const std::vector<uint8_t>& unstuffed)
{
    OutFrame frame;
    // Container, then the two zero bytes before the closing 0xC1.
    if (unstuffed.size() < 14 || unstuffed[unstuffed.size() - 1] != 0 || unstuffed[unstuffed.size() - 2] != 0)
        return frame;
    frame.container.assign(unstuffed.begin(), unstuffed.end() - 2);
    const auto& c = frame.container;
    if (c.size() < 12)
        return frame;
    frame.count = U16(c, 0);
    frame.payloadLength = U16(c, 2);
    frame.sequence = U32(c, 4);
    frame.payloadSum = U32(c, 8);
    if (c.size() != 12u + frame.payloadLength)
        return frame;
    frame.payloadSumOk = ByteSum(c, 12, frame.payloadLength) == frame.payloadSum;
    std::size_t at = 12;
    while (at + 12 <= c.size()) {
        OutSubMessage sub;
        sub.id = U16(c, at);
        sub.length = U16(c, at + 2);
        sub.sequence = U32(c, at + 4);
        sub.sum = U32(c, at + 8);
        if (at + 12 + sub.length > c.size())
            return frame;
        sub.data.assign(c.begin() + static_cast<long>(at + 12), c.begin() + static_cast<long>(at + 12 + sub.length));
        sub.sumOk = ByteSum(c, at + 12, sub.length) == sub.sum;
        frame.subMessages.push_back(std::move(sub));
        at += 12 + frame.subMessages.back().length;
    }
    frame.wellFormed = at == c.size() && frame.subMessages.size() == frame.count;
    return frame;
}

}  // namespace

OutStream ParseOutgoing(const std::vector<uint8_t>& bytes)
{
    OutStream out;
    bool inFrame = false;
    bool escaped = false;
    std::vector<uint8_t> current;
    for (uint8_t b : bytes) {
        if (!inFrame) {
            if (b == 0xC0) {
                inFrame = true;
                escaped = false;
                current.clear();
            } else {
                out.plain.push_back(static_cast<char>(b));
            }
            continue;
        }
        if (b == 0xC1) {
            out.frames.push_back(Decode(current));
            inFrame = false;
        } else if (escaped) {
            current.push_back(static_cast<uint8_t>(b ^ 0x20));
            escaped = false;
        } else if (b == 0x7D) {
            escaped = true;
        } else {
            current.push_back(b);
        }
    }
    out.unterminated = inFrame;
    return out;
}

std::string TextOfLine(const OutSubMessage& sub)
{
    if (sub.data.size() < 4)
        return {};
    const std::size_t n = static_cast<std::size_t>(sub.data[0] | (sub.data[1] << 8));
    if (4 + n > sub.data.size())
        return {};
    return std::string(sub.data.begin() + 4, sub.data.begin() + 4 + static_cast<long>(n));
}
