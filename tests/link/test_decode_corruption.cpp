// A damaged byte anywhere in one packet drops exactly that packet: the live
// values, the ring and the posts end as if it had never been sent.
#include <gtest/gtest.h>

#include <functional>

#include "DecodeFixture.h"
#include "link/MonitorMessages.h"
#include "link/PacketStateMachine.h"
#include "link/TarvikPackets.h"

namespace {

// Everything a dropped packet must leave alone (the log and the packet
// time are not part of it).
struct Snapshot {
    std::vector<long> values;
    std::vector<std::pair<int, int>> posts;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os)
{
    *os << s.values.size() << " values, " << s.posts.size() << " posts";
}

class Corruption : public DecodeTest {
protected:
    using Feeder = std::function<void(const Bytes&)>;

    void StartRun(bool containers)
    {
        TearDown();
        SetUp();
        log.clear();
        g_liveData.startupCountdown = 0;
        CPacketStateMachine::DestroyInstance();
        machine = CPacketStateMachine::Instance();
        machine->owner = &state;
        machine->ownerLegacyA = ProcessTarvikClassicMessage;
        machine->ownerLegacyB = ProcessTarvikPlusMessage;
        if (containers)
            for (const auto& entry : kMonitorHandlers)
                machine->Dispatcher().Register(entry.id, &state, entry.callback);
    }

    Snapshot Take()
    {
        Snapshot s;
        const LiveData& d = g_liveData;
        for (int i = 0; i < kParameterCount; ++i)
            s.values.push_back(d.numerics[i]);
        for (long v : {long(d.deviceKind), long(d.featureBits), long(d.hrFromEcg), long(d.hrFromSpO2),
                       long(d.hrFromBp), long(d.heartRateSource), long(d.ambientPressure * 1000),
                       long(d.statusFlags), long(d.batteryLevel), long(d.gasModuleKind), long(d.primaryAgent),
                       long(d.secondaryAgent), long(d.startupCountdown), long(state.stateCode),
                       long(state.cycleMessageId), long(d.packetReceived)})
            s.values.push_back(v);
        const int written = RingWriteIndex();
        s.values.push_back(written);
        for (int i = 0; i < written; ++i) {
            const SampleFrame& f = Frame(i);
            for (long v : {long(f.ecg), long(f.resp), long(f.pleth), long(f.co2), long(f.co2Valid), long(f.o2),
                           long(f.flags)})
                s.values.push_back(v);
        }
        s.posts = TakeDefaultPosts();
        return s;
    }

    // Runs the packets with packet `dropped` left out, then once for every
    // damageable byte of it with that byte damaged, and compares. Container
    // marker and sequence numbers are covered by no sum; damage there may
    // leave the message delivered whole, never anything in between.
    void Check(const std::vector<Bytes>& packets, std::size_t dropped, bool containers, const Feeder& feed)
    {
        StartRun(containers);
        for (const Bytes& packet : packets)
            feed(packet);
        const Snapshot whole = Take();
        StartRun(containers);
        for (std::size_t i = 0; i < packets.size(); ++i)
            if (i != dropped)
                feed(packets[i]);
        const Snapshot expected = Take();
        ASSERT_GT(expected.values.size(), 100u);
        ASSERT_NE(expected, whole);
        int deliveredWhole = 0;

        const Bytes& victim = packets[dropped];
        int damaged = 0;
        for (std::size_t at = 1; at < victim.size(); ++at) {
            const uint8_t b = victim[at];
            const uint8_t changed = uint8_t(b ^ 0x04);
            // Framing bytes are the framer's business; damage data only.
            if (b == 0xAA || b == 0xA0 || changed == 0xAA || changed == 0xA0 || victim[at - 1] == 0xA0)
                continue;
            StartRun(containers);
            for (std::size_t i = 0; i < packets.size(); ++i) {
                if (i != dropped) {
                    feed(packets[i]);
                    continue;
                }
                Bytes bad = victim;
                bad[at] = changed;
                feed(bad);
            }
            const Snapshot got = Take();
            if (containers && got == whole) {
                ++deliveredWhole;
            } else {
                ASSERT_EQ(got, expected) << "damaged byte " << at;
            }
            ++damaged;
        }
        EXPECT_GT(damaged, 50);
        EXPECT_LE(deliveredWhole, 10);
        CPacketStateMachine::DestroyInstance();
    }

    CPacketStateMachine* machine = nullptr;
};

SelvoData Selvo(int n)
{
    SelvoData d;
    for (int k = 0; k < 32; ++k)
        d.ecg[k] = int16_t(30 * ((k + n) % 9) - 100);
    for (int i = 0; i < 6; ++i) {
        d.pleth[i] = uint8_t(40 + 10 * i + n);
        d.resp[i] = uint16_t(2000 + 50 * i);
    }
    d.temperature = int16_t(10000 + n);
    d.stateCode = uint16_t(n % 10);
    d.status = RemoteStatusWord(3, unsigned(n), true);
    d.featureBits = 0x2F;
    return d;
}

} // namespace

TEST_F(Corruption, ContainerStreamDropsOneMessage)
{
    std::vector<Bytes> packets;
    for (int n = 0; n < 6; ++n) {
        packets.push_back(FrameMessage(kMsgSelvoData, EncodeSelvoData(Selvo(n)), uint32_t(n)));
        GasBlock gas;
        gas.co2Exp = uint8_t(40 + n);
        gas.respRate = uint8_t(12 + n);
        gas.co2[0] = uint16_t(100 * n);
        packets.push_back(FrameMessage(kMsgCO2Data, EncodeGasBlock(gas), uint32_t(n)));
    }
    packets.push_back(Bytes{0xAA});
    const Feeder feed = [this](const Bytes& b) { machine->ProcessBytes(b.data(), uint32_t(b.size())); };
    Check(packets, 4, true, feed);
    Check(packets, 7, true, feed);
}

TEST_F(Corruption, LegacyPacketsDropOnePacket)
{
    std::vector<Bytes> packets;
    for (int n = 0; n < 6; ++n) {
        TarvikClassic p;
        for (int k = 0; k < 32; ++k)
            p.ecg[k] = int16_t(25 * ((k * 7 + n) % 11));
        p.pleth.fill(uint8_t(60 + n));
        p.spo2 = uint16_t(90 + n);
        p.pulse = uint16_t(100 + n);
        p.temperature = int16_t(9900 + n);
        p.stateCode = uint16_t(n);
        p.status = RemoteStatusWord(2, unsigned(n), true);
        packets.push_back(StuffFrame(EncodeTarvikClassic(p)));
    }
    packets.push_back(Bytes{0xAA});
    Check(packets, 3, false, [this](const Bytes& b) { machine->ProcessBytes(b.data(), uint32_t(b.size())); });
    Check(packets, 3, false, [this](const Bytes& b) { EcgTarvikStream(state, b.data(), b.size()); });
}

TEST_F(Corruption, TarvikPlusStreamDropsOnePacket)
{
    std::vector<Bytes> packets;
    for (int n = 0; n < 5; ++n) {
        TarvikPlus p;
        for (int k = 0; k < 32; ++k)
            p.ecg[k] = int16_t(20 * ((k * 5 + n) % 13));
        p.gas.co2Exp = uint8_t(35 + n);
        p.gas.agentsOffered = 0x20;
        p.systolic = uint16_t(110 + n);
        p.featureBits = 0x3F;
        p.stateCode = uint16_t(n + 1);
        p.status = RemoteStatusWord(1, unsigned(n), true);
        packets.push_back(StuffFrame(EncodeTarvikPlus(p)));
    }
    packets.push_back(Bytes{0xAA});
    Check(packets, 2, false, [this](const Bytes& b) {
        g_liveData.deviceKind = kDeviceTarvikPlus;
        EcgTarvikStream(state, b.data(), b.size());
    });
}
