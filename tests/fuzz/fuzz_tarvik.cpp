// Arbitrary bytes through the raw Tarvik stream. Byte 0 chooses the chunk
// size, byte 1 the settings, byte 2 the model already known (0, 1 or 2).
#include "DecodeFuzz.h"
#include "link/TarvikPackets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::Harness harness;
    if (size < 3)
        return 0;
    const std::size_t chunk = 1 + std::size_t(data[0]) * 4;
    harness.Start(data[1]);
    g_liveData.deviceKind = data[2] % 3;
    fuzz::FeedInChunks(data + 3, size - 3, chunk, [&](const uint8_t* p, std::size_t n) {
        EcgTarvikStream(harness.state, p, n);
        harness.CheckInvariants();
        fuzz::Check(harness.state.writePosition <= harness.state.lengthLimit);
    });
    return 0;
}
