#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/DecodeState.h"
#include "link/ProcessBuffer.h"
#include "link/StreamDetector.h"
#include "link/TermTextModel.h"
#include "platform/WindowMessages.h"
#include "sim/RemoteModels.h"
#include "tests/link/LinkHarness.h"

namespace {

constexpr WindowHandle kView = 0x1234;

class StreamRecognition : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreshLiveState();
        CPacketStateMachine::DestroyInstance();
        decode.poster = &poster;
        decode.targetWindow = kView;
        decode.defaultComMsg = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
        decode.terminal = &terminal;
        decode.outputToTerminal = [this](DecodeState&, const char* text, std::size_t n) {
            terminalText.append(text, n);
        };
        sink.Attach(decode);
        AttachDecoders(decode);
    }
    void TearDown() override
    {
        CPacketStateMachine::DestroyInstance();
        FreshLiveState();
    }

    void Feed(const std::vector<uint8_t>& bytes) { ProcessBuffer(decode, detector, bytes.data(), bytes.size()); }
    void Feed(const std::string& text)
    {
        ProcessBuffer(decode, detector, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }

    QueuePoster poster;
    CTermTextModel terminal;
    DecodeState decode;
    StreamDetector detector;
    LogSink sink;
    std::string terminalText;
};

}  // namespace

TEST_F(StreamRecognition, AMovalIsFoundByItsPromptInTheFirstBuffer)
{
    terminal.AppendReceiveBuffer("stale", 5);
    Feed(std::string("\r\nv> ?\r\n"));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceMoval);
    EXPECT_EQ(g_liveData.featureBits, kFeatureEcg | kFeatureTemp);
    EXPECT_EQ(g_liveData.sampleRate, 500);
    EXPECT_EQ(g_liveData.gasModuleKind, 5);
    EXPECT_EQ(g_liveData.movalTextMode, 1);
    EXPECT_EQ(g_liveData.firstBuffer, 0);
    EXPECT_EQ(decode.streamProtocol, kStreamLegacy);
    EXPECT_EQ(terminal.GetReceiveBuffer(), "") << "the version buffer starts empty";
    const auto post = poster.Take(0);
    ASSERT_TRUE(post.has_value());
    EXPECT_EQ(post->target, kView);
    EXPECT_EQ(post->message, decode.defaultComMsg);
    EXPECT_EQ(post->wParam, DefaultComWParam(kComMovalDetected, 0));
    EXPECT_FALSE(poster.Take(0).has_value());

    // In text mode the Moval's answers go to the terminal.
    Feed(std::string("Software: Ecg_Rev_1.2\r\n"));
    EXPECT_EQ(terminalText, "Software: Ecg_Rev_1.2\r\n");
}

TEST_F(StreamRecognition, APromptWithAnyOtherCharacterIsNoMovalAndOnlyTheFirstBufferCounts)
{
    Feed(std::string("\r\nv> x"));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceUnknown);
    EXPECT_EQ(g_liveData.movalTextMode, 0);
    EXPECT_FALSE(detector.synchronised) << "went to the detector, which found no 0xAA";
    Feed(std::string("\r\nv> "));
    EXPECT_EQ(g_liveData.deviceKind, kDeviceUnknown) << "only the first buffer after a reset is examined";
    EXPECT_EQ(poster.Size(), 0u);
}

TEST_F(StreamRecognition, DetectorTellsContainersFromLegacyPackets)
{
    Feed(std::vector<uint8_t> {0x12, 0xAA, 0x00, 0x00});
    EXPECT_TRUE(detector.synchronised);
    EXPECT_EQ(decode.streamProtocol, kStreamContainers);

    FreshLiveState();
    detector.Reset();
    decode.streamProtocol = 0;
    Feed(std::vector<uint8_t> {0xAA, 0x6C, 0x00});
    EXPECT_EQ(decode.streamProtocol, kStreamLegacy);
}

TEST_F(StreamRecognition, DetectorBytesMaySpanBuffersAndANewStartRestartsThem)
{
    Feed(std::vector<uint8_t> {0x01, 0xAA});
    EXPECT_FALSE(detector.synchronised);
    EXPECT_EQ(decode.streamProtocol, kStreamUnknown);
    Feed(std::vector<uint8_t> {0x00});
    EXPECT_FALSE(detector.synchronised);
    Feed(std::vector<uint8_t> {0x00, 0x55});
    EXPECT_EQ(decode.streamProtocol, kStreamContainers);

    StreamDetector fresh;
    const std::vector<uint8_t> restart = {0xAA, 0x00, 0xAA, 0x6C, 0x00};
    EXPECT_EQ(fresh.Feed(restart.data(), restart.size()), kStreamLegacy)
        << "the second 0xAA starts the three bytes again";
}

TEST_F(StreamRecognition, ContainerAndTarvikStreamsReachTheirDecoders)
{
    Feed(ModelOpening(RemoteModel::Selvo));
    EXPECT_EQ(decode.streamProtocol, kStreamContainers);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceSelvo) << "the product message came through the packet machine";

    CPacketStateMachine::DestroyInstance();
    AttachDecoders(decode);
    FreshLiveState();
    detector.Reset();
    decode.streamProtocol = 0;
    ResetDecodeState(decode);
    Feed(ModelCycles(RemoteModel::TarvikClassic, 0, 3));
    EXPECT_EQ(decode.streamProtocol, kStreamLegacy);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceTarvik) << "the Tarvik stream decoder named the model";
    EXPECT_EQ(g_liveData.numerics[kParamSpO2], ModelValues::kSpO2);
}
