// Arbitrary bytes through the Moval stream. Byte 0 chooses the chunk size,
// byte 1 the settings, byte 2 the start-up countdown and stream state.
#include "DecodeFuzz.h"
#include "link/MovalStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::Harness harness;
    if (size < 3)
        return 0;
    const std::size_t chunk = 1 + std::size_t(data[0]) * 4;
    harness.Start(data[1]);
    g_liveData.deviceKind = kDeviceMoval;
    g_liveData.sampleRate = 500;
    g_liveData.startupCountdown = data[2] & 7;
    g_liveData.movalStreamState = (data[2] >> 3) & 1;
    fuzz::FeedInChunks(data + 3, size - 3, chunk, [&](const uint8_t* p, std::size_t n) {
        EcgMovalStream(harness.state, p, n);
        harness.CheckInvariants();
        fuzz::Check(harness.state.writePosition <= kMovalPacketSize);
    });
    return 0;
}
