#include "sim/Framing.h"

void AppendU16(Bytes& out, uint16_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void AppendU32(Bytes& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(uint8_t(value >> shift));
}

void PutU16(Bytes& out, std::size_t offset, uint16_t value)
{
    out.at(offset) = uint8_t(value);
    out.at(offset + 1) = uint8_t(value >> 8);
}

void PutU32(Bytes& out, std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.at(offset + i) = uint8_t(value >> (8 * i));
}

uint32_t SumOfBytes(const Bytes& bytes, std::size_t from, std::size_t count)
{
    uint32_t sum = 0;
    for (std::size_t i = from; i < bytes.size() && i - from < count; ++i)
        sum += bytes[i];
    return sum;
}

Bytes StuffFrame(const Bytes& frame)
{
    Bytes out{0xAA};
    for (uint8_t b : frame) {
        if (b == 0xAA) {
            out.push_back(0xA0);
            out.push_back(0x0A);
        } else if (b == 0xA0) {
            out.push_back(0xA0);
            out.push_back(0xA0);
        } else {
            out.push_back(b);
        }
    }
    return out;
}

Bytes BuildSubMessage(uint16_t id, const Bytes& data, uint32_t sequence)
{
    Bytes out;
    AppendU16(out, id);
    AppendU16(out, uint16_t(data.size()));
    AppendU32(out, sequence);
    AppendU32(out, SumOfBytes(data));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes BuildContainer(const std::vector<Bytes>& subMessages, uint32_t sequence)
{
    Bytes payload;
    for (const Bytes& sub : subMessages)
        payload.insert(payload.end(), sub.begin(), sub.end());
    Bytes out;
    AppendU16(out, 0);
    AppendU16(out, uint16_t(subMessages.size()));
    AppendU16(out, uint16_t(payload.size()));
    AppendU32(out, sequence);
    AppendU32(out, SumOfBytes(payload));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes FrameContainer(const std::vector<Bytes>& subMessages, uint32_t sequence)
{
    return StuffFrame(BuildContainer(subMessages, sequence));
}

Bytes BuildLegacyPacket(LegacyFormat format, Bytes packet)
{
    const std::size_t nominal = format == LegacyFormat::A ? 108 : 164;
    const std::size_t sumAt = format == LegacyFormat::A ? 104 : 160;
    if (packet.size() < nominal)
        packet.resize(nominal, 0);
    PutU16(packet, 0, uint16_t(packet.size()));
    PutU32(packet, sumAt, 0);
    PutU32(packet, sumAt, SumOfBytes(packet));
    return packet;
}
