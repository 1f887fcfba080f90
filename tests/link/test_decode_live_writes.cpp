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

    const std::vector<Case> cases = {
        {"Brindle blood pressure", [] {},
         [&] { Send(ProcessMsgNibpData, nibpBytes); },
         {{"systolic", [] { return Numeric(kParamSystolic); }},
          {"diastolic", [] { return Numeric(kParamDiastolic); }},
          {"mean", [] { return Numeric(kParamMean); }},
          {"heart rate", [] { return Numeric(kParamHeartRate); }}},
         10000},
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
