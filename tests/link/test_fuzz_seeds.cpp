// The seed inputs of the packet fuzzer: a chunking byte, then a stream. Each
// seed is checked to decode as meant; with QUORIN_WRITE_FUZZ_SEEDS=<dir> the
// seeds are also written there (tests/fuzz/corpus/packets/).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "PacketHarness.h"

namespace {

struct Seed {
    const char* name;
    uint8_t chunking;
    Bytes stream;
    std::size_t messages;
    std::size_t legacyPackets;
};

std::vector<Seed> Seeds()
{
    Bytes a(116);
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = uint8_t(i * 3);
    Bytes b(170, 0xA0);
    return {
        {"container_two_subs", 0x7F,
         FrameContainer({BuildSubMessage(0x10, {1, 2, 3, 4}, 1), BuildSubMessage(0x1F, {5, 6}, 2)}, 7), 2, 0},
        {"container_escapes", 0x01,
         FrameContainer({BuildSubMessage(0x12, {0xAA, 0xA0, 0x0A, 0xAA}, 0xAAAAAAAA),
                         BuildSubMessage(0x13, {0x50, 0x50}, 0xA0A0A0A0)},
                        0xAAA0),
         2, 0},
        {"containers_split_small", 0x81,
         Concat({FrameContainer({BuildSubMessage(0x11, {9})}), Bytes{0x01, 0xAA, 0xA0, 0x41},
                 FrameContainer({BuildSubMessage(0x14, {8, 7})})}),
         2, 0},
        {"legacy_a", 0x20,
         Concat({StuffFrame(BuildLegacyPacket(LegacyFormat::A, a)), StuffFrame(BuildLegacyPacket(LegacyFormat::A, {}))}),
         0, 2},
        {"legacy_b", 0x05, Concat({StuffFrame(BuildLegacyPacket(LegacyFormat::B, b)), Bytes{0xAA}}), 0, 1},
    };
}

TEST(FuzzSeeds, EverySeedDecodesAsMeant)
{
    const char* dir = std::getenv("QUORIN_WRITE_FUZZ_SEEDS");
    for (const Seed& seed : Seeds()) {
        PacketHarness h;
        h.RegisterAllExcept();
        h.Feed(seed.stream);
        EXPECT_EQ(h.messages.size(), seed.messages) << seed.name;
        EXPECT_EQ(h.legacy.size(), seed.legacyPackets) << seed.name;
        if (dir) {
            std::ofstream out(std::string(dir) + "/" + seed.name, std::ios::binary);
            out.put(char(seed.chunking));
            out.write(reinterpret_cast<const char*>(seed.stream.data()), std::streamsize(seed.stream.size()));
            ASSERT_TRUE(out.good()) << seed.name;
        }
    }
}

}  // namespace
