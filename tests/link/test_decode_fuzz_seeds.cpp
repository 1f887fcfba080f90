// Seed inputs of the decoder fuzzers, valid packets of every model, run
// through the fuzzers' own paths. With QUORIN_WRITE_DECODE_SEEDS=<dir> the
// seeds are also written to <dir>/container, <dir>/tarvik and <dir>/moval
// (tests/fuzz/corpus/).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fuzz/DecodeFuzz.h"
#include "link/MonitorMessages.h"
#include "link/MovalStream.h"
#include "link/PacketStateMachine.h"
#include "link/TarvikPackets.h"
#include "sim/ModelStreams.h"

namespace {

enum class Target { Container, Tarvik, Moval };

struct Seed {
    Target target;
    const char* name;
    Bytes head; // chunking, settings, (model or countdown)
    Bytes stream;
    int frames; // ring frames the seed writes
};

Bytes Concat(const std::vector<Bytes>& parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TarvikClassic Classic(int n)
{
    TarvikClassic p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = int16_t((k * 37 + n) % 200 - 100);
    p.spo2 = 97;
    p.pulse = 120;
    p.temperature = 10100;
    p.stateCode = uint16_t(n % 3);
    p.status = RemoteStatusWord(4, unsigned(n), true);
    p.text = n == 1 ? "ver 1.0\r\n" : "";
    return p;
}

TarvikPlus Plus(int n)
{
    TarvikPlus p;
    for (int k = 0; k < 32; ++k)
        p.ecg[k] = int16_t((k * 29 + n) % 300 - 150);
    p.gas.co2Exp = 40;
    p.gas.agentsOffered = 0x28;
    p.gas.byte15 = n == 2 ? 0x83 : 0;
    p.systolic = 120;
    p.featureBits = 0x7F;
    p.stateCode = uint16_t(n + 4);
    p.status = RemoteStatusWord(2, unsigned(n), true, n == 0);
    p.text = n == 2 ? "BP ok\n" : "";
    return p;
}

MovalPacket Moval(unsigned sequence)
{
    MovalPacket p;
    p.sequence = sequence;
    p.stateCode = sequence == 2 ? 8 : 0;
    for (int k = 0; k < 48; ++k)
        p.ecg[k] = int16_t(k % 12 == 0 ? 400 : -5);
    p.temperature = 10100;
    return p;
}

std::vector<Seed> Seeds()
{
    GasBlock gas;
    gas.co2Exp = 45;
    gas.agentId = 0x80 | (4 << 3);
    gas.agentsOffered = 0xF8;
    gas.barometric = 1000;
    DeviceStateData selvoState;
    selvoState.extended = 4;
    selvoState.featureBits = 0x2F;
    selvoState.stateCode = 5;
    DeviceStateData brindleState;
    brindleState.extended = 0;
    brindleState.stateCode = 3;
    NibpData nibp;
    nibp.systolic = 130;
    nibp.cuff.fill(1200);
    const Bytes everyMessage = Concat({
        FrameMessage(kMsgProduct, EncodeProduct(4)),
        FrameContainer({BuildSubMessage(kMsgTerminalOutput, EncodeTerminalOutput("hello\n")),
                        BuildSubMessage(kMsgVersionInfo, EncodeVersionInfo("v3.1")),
                        BuildSubMessage(kMsgDebugOutput, EncodeDebugOutput(1, "dbg")),
                        BuildSubMessage(kMsgDebugOutput, EncodeDebugOutput(2, "log me")),
                        BuildSubMessage(kMsgDebugOutput, EncodeDebugOutput(3, "box"))}),
        FrameMessage(kMsgDeviceState, EncodeDeviceState(selvoState)),
        FrameMessage(kMsgEcgZData, EncodeEcgZData(EcgZData{})),
        FrameMessage(kMsgSpO2Data, EncodeSpO2Data(SpO2Data{})),
        FrameMessage(kMsgCO2Data, EncodeGasBlock(gas)),
        FrameMessage(kMsgTempData, EncodeTempData(9950)),
        FrameMessage(kMsgSelvoData, EncodeSelvoData(SelvoData{})),
        FrameMessage(kMsgDeviceState, EncodeDeviceState(brindleState)),
        FrameMessage(kMsgNibpData, EncodeNibpData(nibp)),
        Bytes{0xAA},
    });
    Bytes damagedMoval = EncodeMovalPacket(Moval(1));
    damagedMoval[30] ^= 0x01;

    return {
        {Target::Container, "selvo_stream", {0xFF, 0x01}, ModelStream(RemoteModel::Selvo, 0.8), 800 * 400 / 1000},
        {Target::Container, "brindle_stream", {0x40, 0x00}, ModelStream(RemoteModel::Brindle, 0.8), 320},
        {Target::Container, "every_message", {0x10, 0x01}, everyMessage, 5 * 32},
        {Target::Container, "legacy_classic", {0x20, 0x00},
         Concat({StuffFrame(EncodeTarvikClassic(Classic(0))), StuffFrame(EncodeTarvikClassic(Classic(1))),
                 StuffFrame(EncodeTarvikClassic(Classic(2))), Bytes{0xAA}}),
         3 * 32},
        {Target::Container, "legacy_plus", {0x05, 0x08},
         Concat({StuffFrame(EncodeTarvikPlus(Plus(0))), StuffFrame(EncodeTarvikPlus(Plus(1))),
                 StuffFrame(EncodeTarvikPlus(Plus(2))), Bytes{0xAA}}),
         3 * 32},
        {Target::Tarvik, "classic_stream", {0xFF, 0x01, 0},
         Concat({StuffFrame(EncodeTarvikClassic(Classic(0))), StuffFrame(EncodeTarvikClassic(Classic(1))),
                 StuffFrame(EncodeTarvikClassic(Classic(2))), StuffFrame(EncodeTarvikClassic(Classic(3)))}),
         3 * 32},
        {Target::Tarvik, "plus_stream", {0x07, 0x18, 0},
         Concat({StuffFrame(EncodeTarvikPlus(Plus(0))), StuffFrame(EncodeTarvikPlus(Plus(1))),
                 StuffFrame(EncodeTarvikPlus(Plus(2)))}),
         3 * 32},
        {Target::Tarvik, "classic_known", {0x00, 0x02, 1},
         Concat({StuffFrame(EncodeTarvikClassic(Classic(1))), StuffFrame(EncodeTarvikClassic(Classic(2)))}), 2 * 32},
        {Target::Moval, "moval_stream", {0xFF, 0x00, 4}, ModelStream(RemoteModel::Moval, 1.0), 10 * 48},
        {Target::Moval, "moval_damaged_gap", {0x03, 0x20, 1},
         Concat({EncodeMovalPacket(Moval(0)), damagedMoval, EncodeMovalPacket(Moval(2)),
                 Bytes{0xAA, 0xAA, 0xAA, 0x01}, EncodeMovalPacket(Moval(5))}),
         4 * 48},
    };
}

int RunSeed(fuzz::Harness& harness, const Seed& seed)
{
    const Bytes& head = seed.head;
    const std::size_t chunk = 1 + std::size_t(head[0]) * 4;
    harness.Start(head[1]);
    const uint8_t* data = seed.stream.data();
    const std::size_t size = seed.stream.size();
    switch (seed.target) {
    case Target::Container: {
        CPacketStateMachine::DestroyInstance();
        CPacketStateMachine* machine = CPacketStateMachine::Instance();
        machine->owner = &harness.state;
        machine->ownerLegacyA = ProcessTarvikClassicMessage;
        machine->ownerLegacyB = ProcessTarvikPlusMessage;
        for (const auto& entry : kMonitorHandlers)
            machine->Dispatcher().Register(entry.id, &harness.state, entry.callback);
        fuzz::FeedInChunks(data, size, chunk,
                           [&](const uint8_t* p, std::size_t n) { machine->ProcessBytes(p, uint32_t(n)); });
        CPacketStateMachine::DestroyInstance();
        break;
    }
    case Target::Tarvik:
        g_liveData.deviceKind = head[2] % 3;
        fuzz::FeedInChunks(data, size, chunk,
                           [&](const uint8_t* p, std::size_t n) { EcgTarvikStream(harness.state, p, n); });
        break;
    case Target::Moval:
        g_liveData.deviceKind = kDeviceMoval;
        g_liveData.sampleRate = 500;
        g_liveData.startupCountdown = head[2] & 7;
        fuzz::FeedInChunks(data, size, chunk,
                           [&](const uint8_t* p, std::size_t n) { EcgMovalStream(harness.state, p, n); });
        break;
    }
    return g_liveData.ringWriteIndex.load();
}

} // namespace

TEST(DecodeFuzzSeeds, EverySeedDecodesAsMeant)
{
    ResetLiveStore();
    fuzz::Harness harness;
    std::vector<std::string> logged;
    harness.state.log = [&](const char*, const std::string& text) { logged.push_back(text); };
    const char* dir = std::getenv("QUORIN_WRITE_DECODE_SEEDS");
    for (const Seed& seed : Seeds()) {
        logged.clear();
        EXPECT_EQ(RunSeed(harness, seed), seed.frames) << seed.name;
        if (seed.target == Target::Moval) {
            // Only the lost packet is logged; the damaged one is drawn flat.
            EXPECT_EQ(logged.size(), std::string(seed.name) == "moval_damaged_gap" ? 1u : 0u) << seed.name;
        }
        if (dir == nullptr)
            continue;
        const char* folder = seed.target == Target::Container ? "container"
                             : seed.target == Target::Tarvik  ? "tarvik"
                                                              : "moval";
        const std::filesystem::path path = std::filesystem::path(dir) / folder;
        std::filesystem::create_directories(path);
        std::ofstream out(path / seed.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.head.data()), std::streamsize(seed.head.size()));
        out.write(reinterpret_cast<const char*>(seed.stream.data()), std::streamsize(seed.stream.size()));
        ASSERT_TRUE(out.good()) << seed.name;
    }
    ResetLiveStore();
    ResetEcgChainState();
}
