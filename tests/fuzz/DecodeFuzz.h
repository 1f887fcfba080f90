#pragma once
// Shared set-up of the decoder fuzzers: one decode state over the live store,
// a poster that takes and frees every post, no log file, and a reset that
// brings the ring and the chains back between inputs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/TermTextModel.h"

namespace fuzz {

inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

class FreeingPoster : public IMessagePoster {
public:
    uint32_t defaultComMsg = 0;
    bool Post(const PostedMessage& m) override
    {
        if (m.message == defaultComMsg && (m.wParam & 0xFFFF) == kComRemoteText)
            delete reinterpret_cast<std::string*>(m.lParam);
        return true;
    }
};

struct Harness {
    FreeingPoster poster;
    CTermTextModel terminal;
    DecodeState state;

    Harness()
    {
        poster.defaultComMsg = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
        state.poster = &poster;
        state.targetWindow = 1;
        state.defaultComMsg = poster.defaultComMsg;
        state.invalidateMsg = RegisterWindowMessage("CDispView_Invalidate");
        state.terminal = &terminal;
        state.log = [](const char*, const std::string& text) { Check(text.size() < 70000); };
    }

    // A fresh connection; `options` varies the settings the decoders read.
    void Start(uint8_t options)
    {
        // Beat marks reach back up to 1500 frames behind the write index.
        const int32_t written = g_liveData.ringWriteIndex.load();
        for (int32_t i = -2000; i <= written; ++i)
            g_sampleRing[i & kSampleRingMask] = SampleFrame();
        ResetEcgChainState();
        ResetRemoteDataState();
        ResetDecodeState(state);
        terminal.ClearOutput();
        terminal.ClearReceiveBuffer();
        terminal.SetShown((options & 0x01) != 0);
        g_liveData.dentalScalarRejection = (options >> 1) & 1;
        g_liveData.movalTextMode = (options >> 2) & 1;
        g_liveData.showN2OSetting = (options >> 3) & 1;
        g_liveData.hrFromSpO2Setting = (options >> 4) & 1;
        g_hrDetectMode = uint8_t(((options >> 5) & 3) % 3);
        state.streamProtocol = 1;
    }

    void CheckInvariants() const
    {
        const int32_t written = g_liveData.ringWriteIndex.load();
        Check(written >= 0 && written < kSampleRingSize);
        Check(state.writePosition <= kStreamBufferSize);
        Check(terminal.GetReceiveBuffer().size() <= CTermTextModel::kReceiveBufferLimit);
    }
};

// Feeds `data` in chunks of `chunk` bytes.
template <class Feed>
void FeedInChunks(const uint8_t* data, std::size_t size, std::size_t chunk, Feed feed)
{
    for (std::size_t offset = 0; offset < size; offset += chunk)
        feed(data + offset, size - offset < chunk ? size - offset : chunk);
}

} // namespace fuzz
