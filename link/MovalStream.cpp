#include "link/MovalStream.h"

#include "link/BeatMarks.h"
#include "link/DecodeCommon.h"
#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/RemoteStatusCodes.h"
#include "link/WireFields.h"
#include "platform/Thread.h"

namespace {

constexpr int kMovalSamples = 48;
constexpr uint32_t kSampleOffset = 8;

// The packet counter runs with the remote's 6-bit sequence; a jump that is
// neither the counter nor the last sequence + 1 is a lost packet. Returns
// the received sequence.
uint32_t CheckSequence(DecodeState& link, uint32_t header)
{
    const uint32_t received = header >> 26;
    const uint32_t expected = (link.lastMovalSequence + 1) % 64;
    if (received != link.movalPacketCounter && g_liveData.startupCountdown <= 0 && received != expected) {
        link.missedPacket = 1;
        DecodeLogFormat(link, "CSerialMoval::EcgMovalStream", "Missed Packet pkt %d;  Count: Expect %d, Rcv %d",
                        int(link.movalPacketCounter), int(expected), int(received));
    }
    link.lastMovalSequence = received;
    return received;
}

void WriteFlatPacket()
{
    for (int k = 0; k < kMovalSamples; ++k) {
        BeginRingWrite();
        CommitRingWrite();
    }
}

void DecodeGoodPacket(DecodeState& link, uint32_t header)
{
    LiveData& live = g_liveData;
    const uint8_t* p = link.packet;
    const int16_t temperature = ReadLeI16(p + 106);
    live.packetReceived = 1;
    // Bit 15 when the packet carries a temperature.
    live.statusFlags = ((header & (1u << 25)) != 0 ? 0x80u : 0u) | (temperature >= 0 ? 0x8000u : 0u);
    live.lastPacketTick = GetTickCount();
    live.batteryLevel = int16_t((header >> 13) & 7);
    link.stateCode = uint16_t((header >> 19) & 0x3F);
    live.numerics[kParamTemperature] = temperature >= 0 ? int16_t(temperature / 10) : int16_t(0);
    for (int k = 0; k < kMovalSamples; ++k) {
        const int16_t word = ReadLeI16(p + kSampleOffset + 2 * k);
        const bool valid = (word & 3) != 0;
        SampleFrame& frame = BeginRingWrite();
        g_beatFlag = 0;
        g_qrsOutput = 0;
        frame.ecg = DeriveHeartRateMoval(MovalSampleValue(word), valid);
        const int16_t rate = valid ? int16_t(g_heartRate) : int16_t(0);
        live.hrFromEcg = rate;
        live.heartRateSource = 0;
        if (g_beatFlag == 1 && valid)
            MarkBeatAtNewestSample();
        live.numerics[kParamHeartRate] = RateOrZero(rate);
        frame.flags = valid ? SampleFrame::kFlagEcgValid : 0;
        CommitRingWrite();
    }
}

void CompletePacket(DecodeState& link)
{
    LiveData& live = g_liveData;
    const uint32_t header = ReadLe32(link.packet + 4);
    const bool good = MovalChecksum(link.packet) == ReadLe16(link.packet + 108);
    link.movalPacketCounter = (link.movalPacketCounter + 1) % 64;
    const uint32_t received = CheckSequence(link, header);
    if (good) {
        DecodeGoodPacket(link, header);
    } else {
        // A damaged packet still takes its time on the strip, as a flat line.
        live.packetReceived = 0;
        WriteFlatPacket();
    }
    // The field shows the received sequence + 1, or 0 when a restart was
    // asked for; it is stored once, with that value.
    if (live.movalStreamState == 1) {
        live.movalSequence = 0;
        live.movalStreamState = 0;
    } else {
        live.movalSequence = int16_t((received + 1) % 128);
    }
    CloseCycle(link, kNewDataMoval, false);
    // A damaged header must not repeat the last button or state code.
    if (good)
        PostStatusCode(link, RemoteStatusCode(kDeviceMoval, link.stateCode));
}

} // namespace

uint16_t MovalChecksum(const uint8_t* packet)
{
    uint32_t sum = 0;
    for (int k = 0; k < kMovalSamples; ++k)
        sum += uint32_t(int32_t(ReadLeI16(packet + kSampleOffset + 2 * k)));
    sum += ReadLe32(packet + 104);
    return uint16_t(2u * (ReadLe32(packet + 4) + sum) + 1u);
}

void EcgMovalStream(DecodeState& link, const uint8_t* data, std::size_t length)
{
    if (data == nullptr)
        return;
    for (std::size_t i = 0; i < length; ++i) {
        const uint8_t byte = data[i];
        if (byte == 0xAA) {
            if (++link.consecutiveAa == 4) {
                link.consecutiveAa = 0;
                link.insideMovalPacket = 1;
                for (int k = 0; k < 4; ++k)
                    link.packet[k] = 0xAA;
                link.writePosition = 4;
                continue;
            }
        } else {
            link.consecutiveAa = 0;
        }
        if (link.insideMovalPacket == 0)
            continue;
        if (link.writePosition < 4 || link.writePosition >= kMovalPacketSize) {
            link.insideMovalPacket = 0;
            continue;
        }
        link.packet[link.writePosition++] = byte;
        if (link.writePosition == kMovalPacketSize) {
            link.insideMovalPacket = 0;
            CompletePacket(link);
        }
    }
}
