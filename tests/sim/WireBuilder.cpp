#include "sim/WireBuilder.h"

namespace {

Bytes TextMessage(uint16_t word0, uint16_t word2, const std::string& text)
{
    Bytes out;
    AppendU16(out, word0);
    AppendU16(out, word2);
    out.insert(out.end(), text.begin(), text.end());
    if (text.size() % 2 != 0)
        out.push_back(0);
    return out;
}

template <std::size_t N>
void AppendWords(Bytes& out, const std::array<int16_t, N>& words)
{
    for (int16_t w : words)
        AppendU16(out, uint16_t(w));
}

template <std::size_t N>
void AppendWords(Bytes& out, const std::array<uint16_t, N>& words)
{
    for (uint16_t w : words)
        AppendU16(out, w);
}

void PutBytes(Bytes& out, std::size_t offset, const Bytes& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out.at(offset + i) = bytes[i];
}

// Length word at 0, checksum (byte sum, its own four bytes as zero) at
// `sumAt`.
Bytes SealTarvik(Bytes packet, std::size_t sumAt, const std::string& text)
{
    packet.insert(packet.end(), text.begin(), text.end());
    PutU16(packet, 0, uint16_t(packet.size()));
    PutU32(packet, sumAt, 0);
    PutU32(packet, sumAt, SumOfBytes(packet));
    return packet;
}

} // namespace

uint32_t RemoteStatusWord(unsigned battery, unsigned sequence, bool ecgValid, bool bit25)
{
    return (battery & 7u) | ((sequence & 0x3Fu) << 8) | (ecgValid ? 1u << 14 : 0u) | (bit25 ? 1u << 25 : 0u);
}

Bytes EncodeProduct(uint16_t productCode)
{
    Bytes out(74, 0);
    PutU16(out, 0, productCode);
    return out;
}

Bytes EncodeTerminalOutput(const std::string& text, uint16_t firstWord)
{
    return TextMessage(firstWord, uint16_t(text.size()), text);
}

Bytes EncodeVersionInfo(const std::string& text)
{
    return TextMessage(uint16_t(text.size()), 0, text);
}

Bytes EncodeDebugOutput(uint16_t kind, const std::string& text)
{
    return TextMessage(kind, uint16_t(text.size()), text);
}

Bytes EncodeEcgZData(const EcgZData& m)
{
    Bytes out;
    AppendU16(out, 0);
    AppendWords(out, m.ecg);
    AppendWords(out, m.resp);
    AppendU16(out, 0);
    return out;
}

Bytes EncodeSpO2Data(const SpO2Data& m)
{
    Bytes out(m.pleth.begin(), m.pleth.end());
    AppendU16(out, m.spo2);
    AppendU16(out, m.pulse);
    AppendU16(out, m.signal);
    return out;
}

Bytes EncodeGasBlock(const GasBlock& m)
{
    Bytes out;
    out.push_back(m.respRate);
    out.push_back(m.status1);
    AppendWords(out, m.co2);
    out.push_back(m.byte14);
    out.push_back(m.byte15);
    AppendWords(out, m.o2);
    for (uint8_t b : {m.co2Ins, m.n2oIns, m.primaryIns, m.secondaryIns, m.o2Ins, m.co2Exp, m.n2oExp,
                      m.primaryExp, m.secondaryExp, m.o2Exp, m.apnea, m.agentId})
        out.push_back(b);
    AppendU16(out, m.barometric);
    out.push_back(m.probe);
    out.push_back(m.status43);
    out.push_back(m.status44);
    out.push_back(m.agentsOffered);
    return out;
}

Bytes EncodeTempData(int16_t hundredthsF)
{
    Bytes out;
    AppendU16(out, 0);
    AppendU16(out, uint16_t(hundredthsF));
    return out;
}

Bytes EncodeNibpData(const NibpData& m)
{
    Bytes out;
    AppendU16(out, m.pulse);
    AppendU16(out, m.systolic);
    AppendU16(out, m.diastolic);
    AppendU16(out, m.mean);
    AppendWords(out, m.cuff);
    AppendWords(out, m.oscillation);
    return out;
}

Bytes EncodeDeviceState(const DeviceStateData& m)
{
    Bytes out;
    AppendU16(out, 0);
    AppendU16(out, m.stateCode);
    AppendU32(out, m.status);
    AppendU32(out, m.extended);
    AppendU16(out, m.featureBits);
    AppendU16(out, m.word14);
    return out;
}

Bytes EncodeSelvoData(const SelvoData& m)
{
    Bytes out(100, 0);
    for (std::size_t k = 0; k < 32; ++k)
        PutU16(out, 2 * k, uint16_t(m.ecg[k]));
    for (std::size_t i = 0; i < 6; ++i) {
        out[64 + i] = m.pleth[i];
        PutU16(out, 70 + 2 * i, m.resp[i]);
    }
    PutU16(out, 86, uint16_t(m.temperature));
    PutU16(out, 90, m.stateCode);
    PutU32(out, 92, m.status);
    PutU16(out, 96, m.featureBits);
    return out;
}

Bytes FrameMessage(uint16_t id, const Bytes& data, uint32_t sequence)
{
    return FrameContainer({BuildSubMessage(id, data, sequence)}, sequence);
}

Bytes EncodeTarvikClassic(const TarvikClassic& m)
{
    Bytes out(108, 0);
    for (std::size_t k = 0; k < 32; ++k)
        PutU16(out, 2 + 2 * k, uint16_t(m.ecg[k]));
    for (std::size_t i = 0; i < 6; ++i) {
        out[66 + i] = m.pleth[i];
        PutU16(out, 72 + 2 * i, m.resp[i]);
    }
    PutU16(out, 86, m.spo2);
    PutU16(out, 88, m.pulse);
    PutU16(out, 90, m.signal);
    PutU16(out, 94, uint16_t(m.temperature));
    PutU16(out, 98, m.stateCode);
    PutU32(out, 100, m.status);
    return SealTarvik(std::move(out), 104, m.text);
}

Bytes EncodeTarvikPlus(const TarvikPlus& m)
{
    Bytes out(164, 0);
    for (std::size_t k = 0; k < 32; ++k)
        PutU16(out, 2 + 2 * k, uint16_t(m.ecg[k]));
    for (std::size_t i = 0; i < 6; ++i)
        PutU16(out, 68 + 2 * i, m.resp[i]);
    PutBytes(out, 80, EncodeGasBlock(m.gas));
    PutU16(out, 126, m.bpPulse);
    PutU16(out, 128, m.systolic);
    PutU16(out, 130, m.diastolic);
    PutU16(out, 132, m.mean);
    for (std::size_t i = 0; i < 6; ++i)
        out[134 + i] = m.pleth[i];
    PutU16(out, 140, m.spo2);
    PutU16(out, 142, m.pulse);
    PutU16(out, 144, m.signal);
    PutU16(out, 146, uint16_t(m.temperature));
    PutU16(out, 150, m.stateCode);
    PutU32(out, 152, m.status);
    PutU16(out, 156, m.featureBits);
    return SealTarvik(std::move(out), 160, m.text);
}

int16_t MovalWord(int16_t value, uint8_t flags)
{
    return int16_t(uint16_t(value) * 4u + (flags & 3u));
}

Bytes EncodeMovalPacket(const MovalPacket& m)
{
    const uint32_t header = ((m.battery & 7u) << 13) | ((m.stateCode & 0x3Fu) << 19) |
                            (m.statusFlag ? 1u << 25 : 0u) | ((m.sequence & 0x3Fu) << 26);
    Bytes out{0xAA, 0xAA, 0xAA, 0xAA};
    AppendU32(out, header);
    uint32_t sum = 0;
    for (std::size_t k = 0; k < 48; ++k) {
        const int16_t word = MovalWord(m.ecg[k], m.flags[k]);
        AppendU16(out, uint16_t(word));
        sum += uint32_t(int32_t(word));
    }
    AppendU16(out, m.aux);
    AppendU16(out, uint16_t(m.temperature));
    sum += uint32_t(m.aux) | (uint32_t(uint16_t(m.temperature)) << 16);
    AppendU16(out, uint16_t(2u * (header + sum) + 1u));
    AppendU16(out, 0);
    return out;
}
