#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/OutgoingMessages.h"
#include "link/SerialMoval.h"
#include "link/StreamDetector.h"
#include "link/TermTextModel.h"
#include "sim/OutgoingFrames.h"
#include "sim/RemoteModels.h"
#include "sim/SimRemote.h"
#include "tests/link/LinkHarness.h"

namespace {

constexpr WindowHandle kMainWindow = 0x100;
constexpr WindowHandle kView = 0x200;
constexpr int kWaitMs = 10000;
const std::string kEventTag = "CSerialMoval::OnEvent|";

class LinkOverLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(remote.Ok());
        FreshLiveState();
        CPacketStateMachine::DestroyInstance();
        link = std::make_unique<CSerialMovalMFC>(&poster, kMainWindow, sink.Function());
        link->SetTerminal(&terminal);
        defaultComMsg = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
    }
    void TearDown() override
    {
        link.reset();
        FreshLiveState();
    }

    // What the connection thread does before it opens the port. The reset
    // comes first here: it leaves the processor with nothing to decode, so
    // the test may then clear the store and the ring directly.
    void Connect()
    {
        ASSERT_TRUE(link->ResetLinkState());
        FreshLiveState();
        silentCycles = g_liveData.startupCountdown;
        ASSERT_EQ(link->Open(remote.DevicePath().c_str(), kView, 0), kSerialOk);
    }

    // Takes posts until one of `kind` (and `value`, when given) arrives.
    std::optional<PostedMessage> WaitForPost(uint16_t kind, std::optional<uint16_t> value = std::nullopt)
    {
        for (;;) {
            std::optional<PostedMessage> post = poster.Take(kWaitMs);
            if (!post)
                return std::nullopt;
            if (post->message != defaultComMsg)
                continue;
            const uint16_t k = static_cast<uint16_t>(post->wParam & 0xFFFF);
            const uint16_t v = static_cast<uint16_t>(post->wParam >> 16);
            if (k == kind && (!value || *value == v))
                return post;
        }
    }

    // Waits until the processor has decoded `cycles` data cycles (messages
    // that close one) and returns the last one's post. The first
    // `silentCycles` post nothing; every later one posts new data as the
    // last thing its decoder does, so after the last post the store holds
    // the last cycle's values and nothing more decodes.
    std::optional<PostedMessage> WaitForDecodedCycles(int cycles, uint16_t value = kNewDataMessages)
    {
        std::optional<PostedMessage> post;
        for (int posted = 0; posted < cycles - silentCycles; ++posted)
            if (!(post = WaitForPost(kComNewData, value)))
                break;
        return post;
    }

    SimRemote remote;
    QueuePoster poster;
    LogSink sink;
    CTermTextModel terminal;
    std::unique_ptr<CSerialMovalMFC> link;
    uint32_t defaultComMsg = 0;
    int silentCycles = 0;  // the start-up countdown at connect
};

// Sends a model's cycles until told to stop.
class Feeder {
public:
    Feeder(SimRemote& remote, RemoteModel model)
        : m_thread([this, &remote, model] {
              for (uint32_t cycle = 0; !m_stop.load(); ++cycle)
                  if (!remote.Send(ModelCycle(model, cycle), 200))
                      break;
          })
    {
    }
    ~Feeder() { Stop(); }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

}  // namespace

TEST_F(LinkOverLine, SelvoContainersReachTheStoreTheRingAndTheView)
{
    Connect();
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Selvo)));
    ASSERT_TRUE(remote.Send(ModelCycles(RemoteModel::Selvo, 0, 8)));
    // Each cycle's ECG and SpO2 messages close a data cycle.
    const auto post = WaitForDecodedCycles(2 * 8);
    ASSERT_TRUE(post.has_value()) << "the data cycles after the start-up count are posted to the view";
    EXPECT_EQ(post->target, kView);
    EXPECT_EQ(link->StreamProtocol(), kStreamContainers);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceSelvo);
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], ModelValues::kTemperature / 10);
    EXPECT_EQ(g_liveData.numerics[kParamSpO2], ModelValues::kSpO2);
    const int32_t written = g_liveData.ringWriteIndex.load(std::memory_order_acquire);
    EXPECT_GE(written, 2 * 32);
    EXPECT_EQ(g_sampleRing[0].flags & SampleFrame::kFlagEcgValid, SampleFrame::kFlagEcgValid);
}

TEST_F(LinkOverLine, BrindlePressuresArriveFramed)
{
    Connect();
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Brindle)));
    ASSERT_TRUE(remote.Send(ModelCycles(RemoteModel::Brindle, 0, 8)));
    ASSERT_TRUE(WaitForDecodedCycles(8).has_value());
    EXPECT_EQ(link->StreamProtocol(), kStreamContainers);
    EXPECT_EQ(g_liveData.deviceKind, kDeviceBrindle);
    EXPECT_EQ(g_liveData.numerics[kParamSystolic], ModelValues::kSystolic);
    EXPECT_EQ(g_liveData.numerics[kParamDiastolic], ModelValues::kDiastolic);
    EXPECT_EQ(g_liveData.numerics[kParamMean], ModelValues::kMean);
    EXPECT_EQ(g_liveData.ringWriteIndex.load(std::memory_order_acquire), 8 * SamplesPerCycle(RemoteModel::Brindle));
    EXPECT_EQ(g_sampleRing[0].co2Valid, 1) << "the cuff pressure rides in the CO2 lane";
}

TEST_F(LinkOverLine, TarvikPacketsOfBothFormsArriveAsALegacyStream)
{
    for (RemoteModel model : {RemoteModel::TarvikClassic, RemoteModel::TarvikPlus}) {
        SCOPED_TRACE(model == RemoteModel::TarvikClassic ? "classic" : "plus");
        Connect();
        poster.Clear();
        ASSERT_TRUE(remote.Send(ModelCycles(model, 0, 8)));
        // A classic's first frame only names the model: the length word of
        // an unknown remote is read with the Plus layout.
        const int decoded = model == RemoteModel::TarvikClassic ? 7 : 8;
        ASSERT_TRUE(WaitForDecodedCycles(decoded).has_value());
        EXPECT_EQ(link->StreamProtocol(), kStreamLegacy);
        EXPECT_EQ(g_liveData.deviceKind, model == RemoteModel::TarvikClassic ? kDeviceTarvik : kDeviceTarvikPlus);
        EXPECT_EQ(g_liveData.numerics[kParamSpO2], ModelValues::kSpO2);
        EXPECT_EQ(g_liveData.numerics[kParamTemperature], ModelValues::kTemperature / 10);
        if (model == RemoteModel::TarvikPlus) {
            EXPECT_EQ(g_liveData.numerics[kParamSystolic], ModelValues::kSystolic);
        }
        EXPECT_EQ(g_liveData.ringWriteIndex.load(std::memory_order_acquire), decoded * SamplesPerCycle(model));
        ASSERT_EQ(link->Close(), kSerialOk);
    }
}

TEST_F(LinkOverLine, AMovalIsFoundByItsPromptThenItsPacketsFillTheRing)
{
    Connect();
    terminal.AppendReceiveBuffer("old", 3);
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Moval)));
    ASSERT_TRUE(WaitForPost(kComMovalDetected).has_value());
    EXPECT_EQ(g_liveData.deviceKind, kDeviceMoval);
    EXPECT_EQ(link->StreamProtocol(), kStreamLegacy);
    EXPECT_EQ(g_liveData.sampleRate, 500);
    EXPECT_EQ(terminal.GetReceiveBuffer(), "");
    // The view's set-up ends the text mode; then the packets come.
    g_liveData.movalTextMode = 0;
    ASSERT_TRUE(remote.Send(ModelCycles(RemoteModel::Moval, 0, 8)));
    ASSERT_TRUE(WaitForDecodedCycles(8, kNewDataMoval).has_value());
    EXPECT_EQ(g_liveData.numerics[kParamTemperature], ModelValues::kTemperature / 10);
    EXPECT_EQ(g_liveData.ringWriteIndex.load(std::memory_order_acquire), 8 * SamplesPerCycle(RemoteModel::Moval));
}

TEST_F(LinkOverLine, MovalAnswersInTextModeGoToTheTerminal)
{
    Connect();
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Moval)));
    ASSERT_TRUE(WaitForPost(kComMovalDetected).has_value());
    QueuePoster terminalWindow;
    terminal.SetWindow(&terminalWindow, 0x300, RegisterWindowMessage("CTK_TERMDLG_NEWSTRING"));
    terminal.SetShown(true);
    const std::string answer = "Software: Ecg_Rev_2.01\n";
    ASSERT_TRUE(remote.Send(answer));
    std::string shown;
    while (shown.size() < answer.size() + 1) {  // the line feed comes out as CR LF
        const auto post = terminalWindow.Take(kWaitMs);
        ASSERT_TRUE(post.has_value()) << "shown so far: " << shown;
        auto* text = reinterpret_cast<std::string*>(post->wParam);
        shown = *text;
        delete text;
        delete reinterpret_cast<TermSelection*>(post->lParam);
    }
    EXPECT_EQ(shown, "Software: Ecg_Rev_2.01\r\n");
    EXPECT_EQ(link->Close(), kSerialOk);
    // Nothing may post to this window once it goes: the processor stops,
    // then what is still queued is freed.
    link->StopPacketProcessor();
    terminal.SetWindow(nullptr, 0, 0);
    while (const auto post = terminalWindow.Take(0)) {
        delete reinterpret_cast<std::string*>(post->wParam);
        delete reinterpret_cast<TermSelection*>(post->lParam);
    }
    EXPECT_EQ(terminal.GetReceiveBuffer(), answer) << "a Moval's text answers also fill the version buffer";
}

TEST_F(LinkOverLine, HangUpIsLoggedOnceAndCloseIsPrompt)
{
    Connect();
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Selvo)));
    ASSERT_TRUE(remote.Send(ModelCycles(RemoteModel::Selvo, 0, 4)));
    ASSERT_TRUE(WaitForPost(kComNewData, kNewDataMessages).has_value());
    remote.HangUp();
    ASSERT_TRUE(sink.WaitFor(kEventTag + "A line-status error occurred."));
    for (int i = 0; i < 3; ++i)
        // Wakes: a listener still on the dead line would log again.
        ASSERT_EQ(link->SetMask(CSerial::kDefaultMask), kSerialOk);
    EXPECT_EQ(SendTextLines("bp 1\r", *link), kSerialNotConnected);
    EXPECT_EQ(link->Close(), kSerialOk);
    EXPECT_FALSE(link->IsListening());
    EXPECT_EQ(sink.Count(kEventTag + "A line-status error occurred."), 1u);
    EXPECT_EQ(sink.Count(kEventTag + "An internal error occurred."), 1u);
}

TEST_F(LinkOverLine, OpenFailuresAreReturnedAndStartNoListener)
{
    EXPECT_EQ(link->Open("/dev/no-such-remote", kView, 0), kSerialNotFound);
    EXPECT_FALSE(link->IsListening());
    Connect();
    EXPECT_EQ(link->Open(remote.DevicePath().c_str(), kView, 0), kSerialAlreadyOpen);
    EXPECT_TRUE(link->IsListening());
}

TEST_F(LinkOverLine, AWindowObjectNamesTheTarget)
{
    struct Window : IWindowObject {
        WindowHandle GetSafeHwnd() const override { return 0x4242; }
    } window;
    ASSERT_TRUE(link->ResetLinkState());
    FreshLiveState();
    ASSERT_EQ(link->Open(remote.DevicePath().c_str(), &window, 0), kSerialOk);
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Moval)));
    const auto post = WaitForPost(kComMovalDetected);
    ASSERT_TRUE(post.has_value());
    EXPECT_EQ(post->target, 0x4242u);
}

TEST_F(LinkOverLine, ResetDuringDecodingIsDoneByTheProcessor)
{
    Connect();
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Selvo)));
    {
        Feeder feeder(remote, RemoteModel::Selvo);
        for (int i = 0; i < 30; ++i)
            ASSERT_TRUE(link->ResetLinkState());
        feeder.Stop();
    }
    // Still decoding afterwards: the detector finds the containers again.
    ASSERT_EQ(link->Close(), kSerialOk);
    Connect();
    poster.Clear();
    ASSERT_TRUE(remote.Send(ModelCycles(RemoteModel::Selvo, 100, 8)));
    ASSERT_TRUE(WaitForPost(kComNewData, kNewDataMessages).has_value());
    EXPECT_EQ(link->StreamProtocol(), kStreamContainers);
    ASSERT_EQ(link->Close(), kSerialOk);
    ASSERT_TRUE(link->ResetLinkState());
    EXPECT_EQ(link->Pool().FreeCount(), CBthPacketMan::kBufferCount) << "no buffer lost, none handed out twice";
}

TEST_F(LinkOverLine, DestroyingTheLinkMidStreamStopsEverythingCleanly)
{
    Connect();
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Selvo)));
    Feeder feeder(remote, RemoteModel::Selvo);
    ASSERT_TRUE(WaitForPost(kComNewData, kNewDataMessages).has_value());
    link.reset();
    feeder.Stop();
    for (const std::string& line : sink.Lines())
        EXPECT_EQ(line.find("has not ended"), std::string::npos) << line;
}

TEST_F(LinkOverLine, FramedAndPlainWritesWhileReceivingStayWhole)
{
    Connect();
    ASSERT_TRUE(remote.Send(ModelOpening(RemoteModel::Selvo)));
    ResetOutgoingSequences();
    Feeder feeder(remote, RemoteModel::Selvo);
    constexpr int kEach = 100;
    std::thread framed([&] {
        for (int i = 0; i < kEach; ++i)
            ASSERT_EQ(SendTextLines("\rsp 3 5 " + std::to_string(i) + "\r", *link), kSerialOk);
    });
    std::thread plain([&] {
        for (int i = 0; i < kEach; ++i)
            ASSERT_EQ(link->Write("ws\r", 3), kSerialOk);
    });
    framed.join();
    plain.join();
    ASSERT_TRUE(remote.WaitFor(
        [](const std::vector<uint8_t>& got) {
            const OutStream s = ParseOutgoing(got);
            return s.frames.size() == kEach && s.plain.size() == 3 * kEach;
        },
        kWaitMs));
    feeder.Stop();
    const OutStream stream = ParseOutgoing(remote.Received());
    for (int i = 0; i < kEach; ++i) {
        ASSERT_TRUE(stream.frames[i].wellFormed);
        EXPECT_TRUE(stream.frames[i].payloadSumOk);
        ASSERT_EQ(stream.frames[i].subMessages.size(), 1u);
        EXPECT_EQ(TextOfLine(stream.frames[i].subMessages[0]), "sp 3 5 " + std::to_string(i));
    }
    std::string expected;
    for (int i = 0; i < kEach; ++i)
        expected += "ws\r";
    EXPECT_EQ(stream.plain, expected);
    ResetOutgoingSequences();
}
