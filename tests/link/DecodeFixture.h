#pragma once
// A decode state wired to a queue poster, a captured log and a terminal
// text model, over a freshly reset live store and ECG chain.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/MessageHandler.h"
#include "link/LiveData.h"
#include "link/TermTextModel.h"
#include "platform/WindowMessages.h"
#include "sim/WireBuilder.h"

struct LogLine {
    std::string tag;
    std::string text;
};

class DecodeTest : public ::testing::Test {
protected:
    static constexpr WindowHandle kView = 0x51;
    static constexpr WindowHandle kMainWindow = 0x77;

    void SetUp() override
    {
        ResetLiveStore();
        ResetEcgChainState();
        ResetRemoteDataState();
        state.poster = &poster;
        state.targetWindow = kView;
        state.mainWindow = kMainWindow;
        state.defaultComMsg = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
        state.invalidateMsg = RegisterWindowMessage("CDispView_Invalidate");
        state.terminal = &terminal;
        state.log = [this](const char* tag, const std::string& text) {
            log.push_back({tag != nullptr ? tag : "", text});
        };
        ResetDecodeState(state);
    }

    void TearDown() override
    {
        // Kind-6 posts carry a heap text the receiver owns.
        while (auto message = poster.Take(0)) {
            if (message->message == state.defaultComMsg && (message->wParam & 0xFFFF) == kComRemoteText)
                delete reinterpret_cast<std::string*>(message->lParam);
        }
        ResetLiveStore();
        ResetEcgChainState();
    }

    // Calls a handler with the encoded data.
    void Send(MessageCallback handler, const Bytes& data)
    {
        handler(&state, data.data(), uint16_t(data.size()));
    }

    // Every post of the default message so far, as (kind, value).
    std::vector<std::pair<int, int>> TakeDefaultPosts()
    {
        std::vector<std::pair<int, int>> out;
        while (auto message = poster.Take(0)) {
            if (message->message == state.defaultComMsg) {
                EXPECT_EQ(message->target, kView);
                out.emplace_back(int(message->wParam & 0xFFFF), int((message->wParam >> 16) & 0xFFFF));
                if ((message->wParam & 0xFFFF) == kComRemoteText)
                    delete reinterpret_cast<std::string*>(message->lParam);
            } else {
                others.push_back(*message);
            }
        }
        return out;
    }

    int RingWriteIndex() const { return g_liveData.ringWriteIndex.load(); }
    const SampleFrame& Frame(int index) const { return g_sampleRing[index & kSampleRingMask]; }

    bool Logged(const std::string& text) const
    {
        for (const auto& line : log)
            if (line.text == text)
                return true;
        return false;
    }

    QueuePoster poster;
    CTermTextModel terminal;
    DecodeState state;
    std::vector<LogLine> log;
    std::vector<PostedMessage> others; // posts other than the default message
};
