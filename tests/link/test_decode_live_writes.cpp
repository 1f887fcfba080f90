// The window thread reads the live store while the decoders write it: a
// decoder writes each field once, with its final value, never a cleared or
// provisional one first.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "DecodeFixture.h"
#include "link/MonitorMessages.h"
#include "link/MovalStream.h"
#include "link/TarvikPackets.h"

namespace {

struct Watched {
    const char* name;
    std::function<int()> read;
};

struct Case {
    const char* name;
    std::function<void()> prepare;  // the store before the first decode
    std::function<void()> decode;   // one whole decode of the same bytes
    std::vector<Watched> watched;
    int repeats;
};

int Numeric(int index)
{
    return g_liveData.numerics[index];
}

}  // namespace

using LiveWrites = DecodeTest;

TEST_F(LiveWrites, AReaderNeverSeesAValueOtherThanTheDecodedOne)
{
    NibpData nibp;
    nibp.pulse = 72;
    nibp.systolic = 128;
    nibp.diastolic = 84;
    nibp.mean = 99;
    const Bytes nibpBytes = EncodeNibpData(nibp);

    // A Selvo that measures CO2 with N2O shown and an agent identified: the
    // agent and N2O bits come on top of the remote's word.
    DeviceStateData selvoState;
    selvoState.extended = 4;
    selvoState.featureBits = kFeatureEcg | kFeatureCO2;
    const Bytes selvoStateBytes = EncodeDeviceState(selvoState);

    // The analyser names the same agent twice: the second value is the one shown.
    GasBlock gas;
    gas.agentsOffered = 0xF8;
    gas.agentId = 0x80 | (2 << 3) | 2;
    gas.primaryIns = 10;
    gas.secondaryIns = 20;
    gas.primaryExp = 11;
    gas.secondaryExp = 21;
    const Bytes gasBytes = EncodeGasBlock(gas);

    MovalPacket moval;
    moval.sequence = 9;
    moval.temperature = 10150;
    const Bytes movalBytes = EncodeMovalPacket(moval);

    // Short Tarvik frames, one after the other: from one 0xAA to the next
    // the stream stays inside a frame.
    Bytes frameStarts;
    for (int i = 0; i < 32; ++i)
        frameStarts.insert(frameStarts.end(), {0xAA, 0x10});

    const std::vector<Case> cases = {
        {"Brindle blood pressure", [] {},
         [&] { Send(ProcessMsgNibpData, nibpBytes); },
         {{"systolic", [] { return Numeric(kParamSystolic); }},
          {"diastolic", [] { return Numeric(kParamDiastolic); }},
          {"mean", [] { return Numeric(kParamMean); }},
          {"heart rate", [] { return Numeric(kParamHeartRate); }}},
         10000},
        {"Selvo device state", [] { g_liveData.showN2OSetting = 1; g_liveData.primaryAgent = 3; },
         [&] { Send(ProcessMsgDeviceState, selvoStateBytes); },
         {{"feature bits", [] { return int(g_liveData.featureBits); }}},
         20000},
        {"CO2 with one agent named twice", [] { g_liveData.featureBits = kFeatureCO2; },
         [&] { Send(ProcessMsgCO2Data, gasBytes); },
         {{"agent inspired", [] { return Numeric(kParamEnfIns); }},
          {"agent expired", [] { return Numeric(kParamEnfExp); }}},
         4000},
        {"Moval packet", [] { g_liveData.deviceKind = kDeviceMoval; g_liveData.sampleRate = 500; },
         [&] { EcgMovalStream(state, movalBytes.data(), movalBytes.size()); },
         {{"status flags", [] { return int(g_liveData.statusFlags); }},
          {"sequence", [] { return int(g_liveData.movalSequence); }}},
         2000},
        {"Tarvik frame starts", [] { g_liveData.deviceKind = kDeviceTarvik; },
         [&] { EcgTarvikStream(state, frameStarts.data(), frameStarts.size()); },
         {{"stream state", [] { return int(g_liveData.streamState); }}},
         20000},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLiveStore();
        ResetEcgChainState();
        ResetRemoteDataState();
        ResetDecodeState(state);
        c.prepare();
        c.decode();
        TakeDefaultPosts();
        std::vector<int> decoded;
        for (const Watched& w : c.watched)
            decoded.push_back(w.read());

        std::atomic<bool> started {false};
        std::atomic<bool> stop {false};
        std::vector<std::string> seen;
        std::thread reader([&] {
            started = true;
            while (!stop.load(std::memory_order_relaxed))
                for (std::size_t i = 0; i < c.watched.size(); ++i) {
                    const int value = c.watched[i].read();
                    if (value != decoded[i] && seen.size() < 8)
                        seen.push_back(std::string(c.watched[i].name) + " = " + std::to_string(value));
                }
        });
        while (!started.load())
            std::this_thread::yield();
        for (int i = 0; i < c.repeats; ++i) {
            c.decode();
            if (i % 256 == 0)
                TakeDefaultPosts();
        }
        stop = true;
        reader.join();
        TakeDefaultPosts();

        for (std::size_t i = 0; i < c.watched.size(); ++i)
            EXPECT_EQ(c.watched[i].read(), decoded[i]) << c.watched[i].name << ": the same bytes, the same end state";
        EXPECT_TRUE(seen.empty()) << "decoded " << ::testing::PrintToString(decoded) << ", read meanwhile "
                                  << ::testing::PrintToString(seen);
    }
}
