#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cmath>
#include <string>
#include <vector>

#include "EventLoopWait.h"
#include "ViewFixture.h"
#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/PacketStateMachine.h"
#include "platform/SerialErrors.h"
#include "sim/RemoteModels.h"
#include "sim/SimRemote.h"
#include "view/qt/ColorStatic.h"

namespace {

using ViewIntake = QuorinViewTest;

constexpr std::uintptr_t kNewData = DefaultComWParam(kComNewData, kNewDataMessages);

// Pixels of the grab inside `rect` within `tolerance` of `color`, by column.
std::vector<int> ColumnsNear(const QImage& image, const LayoutRect& rect, COLORREF color, int tolerance = 60)
{
    const QColor wanted = ToQColor(color);
    std::vector<int> columns;
    for (int x = rect.left; x < rect.right; ++x)
        for (int y = rect.top; y < rect.bottom; ++y) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
                    std::abs(c.blue() - wanted.blue()) < tolerance) {
                columns.push_back(x);
                break;
            }
        }
    return columns;
}

// Frames of a 2 Hz ECG-like wave with its pleth, beat-marked where asked.
void FillRing(int frames, const std::vector<int>& beats)
{
    for (int i = 0; i < frames; ++i) {
        SampleFrame& frame = BeginRingWrite();
        frame.ecg = int16_t(1500 * std::sin(i * 2 * M_PI / 200.0));
        frame.pleth = uint8_t(128 + 100 * std::sin(i * 2 * M_PI / 200.0));
        frame.flags = SampleFrame::kFlagEcgValid;
        for (const int beat : beats)
            if (beat == i)
                frame.flags = frame.flags | SampleFrame::kFlagBeat;
        CommitRingWrite();
    }
    g_liveData.lastBeatOffset = 1;
}

}  // namespace

TEST_F(ViewIntake, EachModelsValuesReachTheirBoxes)
{
    struct Case {
        RemoteModel model;
        bool celsius;
        std::vector<std::pair<int, std::string>> shown;
        bool heartRate;
    };
    // Recognisable values come in the model's cycles; the heart rate needs
    // a monitored ECG (the stream beats at 120 per minute).
    const Case cases[] = {
        {RemoteModel::Selvo, false, {{kParamTemperature, "101.5"}, {kParamSpO2, "97"}}, false},
        {RemoteModel::Selvo, true, {{kParamTemperature, "38.6"}}, false},
        {RemoteModel::Selvo, false, {}, true},
        {RemoteModel::Brindle, false, {{kParamSystolic, "121"}, {kParamDiastolic, "79"}, {kParamMean, "93"}}, false},
        {RemoteModel::TarvikPlus, false, {{kParamSpO2, "97"}, {kParamSystolic, "121"}}, false},
        {RemoteModel::Moval, false, {{kParamTemperature, "101.5"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.model));
        m_view.reset();
        ResetLiveStore();
        ResetEcgChainState();
        CPacketStateMachine::DestroyInstance();
        m_app.m_config.units[0] = c.celsius ? 0 : 1;
        m_app.m_factoryConfig.hrFromSpO2 = 0;  // the heart rate from the ECG
        CQuorinView& view = Open(1600, 900);
        SimRemote remote;
        ASSERT_TRUE(remote.Ok());
        ResetRemoteDataState();  // as the connection does before it opens the port
        ASSERT_EQ(view.Link().Open(remote.DevicePath().c_str(), &view, 0), kSerialOk);
        ASSERT_TRUE(remote.Send(ModelOpening(c.model)));
        if (c.model == RemoteModel::Moval) {  // its set-up after the prompt ends the text mode
            ASSERT_TRUE(ProcessEventsUntil(
                [] { return g_liveData.deviceKind == kDeviceMoval && g_liveData.movalTextMode == 0; }));
        }

        // The remote's groups, once it has said what it measures (the
        // connection's feature handling does this in the program).
        uint16_t laidOut = 0;
        auto shown = [&] {
            if (g_liveData.featureBits != laidOut) {
                laidOut = g_liveData.featureBits;
                view.LayoutNumerics();
                view.LayoutPanes();
            }
            for (const auto& [slot, text] : c.shown)
                if (view.ValueBox(slot) == nullptr || view.ValueBox(slot)->text().toStdString() != text)
                    return false;
            if (!c.heartRate)
                return true;
            const int rate = view.ValueBox(kParamHeartRate) ? view.ValueBox(kParamHeartRate)->text().toInt() : 0;
            return std::abs(rate - 120) <= 3;
        };
        // The remote keeps sending, as a connected one does: 16 s a second
        // at a time.
        const Bytes stream = c.heartRate ? ModelStream(c.model, 16.0) : ModelCycles(c.model, 0, 25 * 16);
        const std::size_t slice = stream.size() / 16 + 1;
        bool done = false;
        for (std::size_t at = 0; !done && at < stream.size(); at += slice) {
            const std::size_t end = std::min(stream.size(), at + slice);
            ASSERT_TRUE(remote.Send(stream.data() + at, end - at));
            done = ProcessEventsUntil(shown, 300);
        }
        if (!done)
            done = ProcessEventsUntil(shown, 2000);
        EXPECT_TRUE(done);
        for (const auto& [slot, text] : c.shown) {
            ASSERT_NE(view.ValueBox(slot), nullptr) << "slot " << slot;
            EXPECT_EQ(view.ValueBox(slot)->text().toStdString(), text) << "slot " << slot;
        }

        ASSERT_EQ(view.Link().Close(), kSerialOk);
    }
}

TEST_F(ViewIntake, TracesBeatMarksAndPlethAreDrawnOnceIntoTheirStrips)
{
    RemoteConfiguration& config = m_app.m_config;
    config.showSpO2 = 1;
    config.showResp2 = 0;
    config.showO2 = 0;
    config.grid = 0;
    config.rMarker = 1;
    config.maxEcgWaveforms = 1;
    CQuorinView& view = Open(1200, 700);
    g_liveData.deviceKind = kDeviceTarvik;
    g_liveData.featureBits = kFeatureEcg | kFeatureSpO2 | kFeatureTemp;
    g_liveData.sampleRate = 400;
    view.ResetWaveformStrips();
    view.LayoutNumerics();
    Paint();
    ASSERT_EQ(view.Roles().ecgStripCount, 1);
    ASSERT_EQ(view.Roles().spo2Strip, 1);

    g_liveData.numerics[kParamHeartRate] = 120;
    g_liveData.numerics[kParamSpO2] = 97;
    g_liveData.numerics[kParamTemperature] = 1015;
    FillRing(1601, {400, 1200});
    view.OnDefaultComMsg(kNewData, 0);
    EXPECT_EQ(g_liveData.ringReadIndex.load(), 1600) << "all but the newest frame";
    EXPECT_EQ(view.ValueBox(kParamHeartRate)->text(), QStringLiteral("120"));
    EXPECT_EQ(view.ValueBox(kParamSpO2)->text(), QStringLiteral("97"));
    EXPECT_EQ(view.ValueBox(kParamTemperature)->text(), QStringLiteral("101.5"));

    const QImage image = view.grab().toImage();
    const StripLayout strips = PlanStrips(view.width(), view.height(), view.Metrics(), view.Layout().bandHeight,
                                          view.Roles().stripCount);
    const LayoutRect ecg = strips.strips[0];
    // 1600 frames at 400/s and sweep 1 are half a row.
    const std::vector<int> trace = ColumnsNear(image, ecg, 0x59FF3C);
    ASSERT_FALSE(trace.empty());
    EXPECT_NEAR(trace.back() - ecg.left, ecg.Width() / 2, ecg.Width() / 50);
    EXPECT_FALSE(ColumnsNear(image, strips.strips[1], 0xFDFD2F).empty()) << "the pleth";

    // R triangles stand above the trace at the two beat-marked frames only.
    const LayoutRect top{ecg.left + ecg.Width() / 20, ecg.top + ecg.Height() * 5 / 100, ecg.right,
                         ecg.top + ecg.Height() * 10 / 100};
    const std::vector<int> marks = ColumnsNear(image, top, 0xFFFFFF, 30);
    ASSERT_FALSE(marks.empty());
    for (const int x : marks) {
        const double frame = double(x - ecg.left) / ecg.Width() * 3200;
        EXPECT_TRUE(std::abs(frame - 400) < 60 || std::abs(frame - 1200) < 60) << "a mark at frame " << frame;
    }
}

TEST_F(ViewIntake, AFrozenDisplayConsumesFramesButDrawsAndSoundsNothing)
{
    RemoteConfiguration& config = m_app.m_config;
    config.qrsTone = 1;
    config.alarms = 0;
    CRecordingSoundPlayer player;
    ViewServices services;
    services.soundPlayer = &player;
    CQuorinView& view = Open(1200, 700, services);
    g_liveData.deviceKind = kDeviceTarvik;
    g_liveData.featureBits = kFeatureEcg;
    g_liveData.sampleRate = 400;
    g_liveData.hrFromEcg = 120;
    view.SoundManager().SetWave(view.SoundManager().Row(), 0, std::make_shared<const std::vector<uint8_t>>(44, uint8_t(1)));
    view.ResetWaveformStrips();
    Paint();

    for (const bool frozen : {true, false}) {
        SCOPED_TRACE(frozen ? "frozen" : "running");
        if (frozen)
            view.OnDefaultComMsg(DefaultComWParam(kComRemoteStatus, 6), 0);
        const QImage before = view.grab().toImage();
        const std::size_t calls = player.Calls().size();
        FillRing(801, {100, 300, 500});
        view.OnDefaultComMsg(kNewData, 0);
        EXPECT_EQ(g_liveData.ringReadIndex.load(), (g_liveData.ringWriteIndex.load() - 1) & kSampleRingMask)
            << "consumed either way, the newest frame held";
        EXPECT_EQ(view.grab().toImage() == before, frozen);
        EXPECT_EQ(player.Calls().size() > calls, !frozen) << "the beat tone";
        if (frozen)
            view.OnDefaultComMsg(DefaultComWParam(kComRemoteStatus, 6), 0);
    }
}

TEST_F(ViewIntake, TheRemotesButtonsWaitWhileTheServiceTerminalIsOpen)
{
    CQuorinView& view = Open(800, 600);
    for (const bool terminal : {true, false}) {
        view.Terminal().SetShown(terminal);
        view.OnDefaultComMsg(DefaultComWParam(kComRemoteStatus, 5), 0);
        EXPECT_EQ(view.MarkPending(), !terminal);
        EXPECT_EQ(view.BannerText() == " Mark / Event ", !terminal);
    }
    view.Terminal().SetShown(false);
}

namespace {

// A box that asks again while it is open, as a second error would.
class ReenteringPrompter : public IPrompter {
public:
    std::function<void()> whileOpen;
    std::vector<std::string> shown;
    int MessageBox(const std::string& text, const std::string& caption, uint32_t) override
    {
        shown.push_back(caption + ": " + text.substr(0, 4));
        if (whileOpen) {
            auto again = std::move(whileOpen);
            again();
        }
        return kIdOk;
    }
};

}  // namespace

TEST_F(ViewIntake, ASecondBpErrorWhileItsBoxIsOpenIsNeitherShownNorLogged)
{
    ReenteringPrompter prompter;
    ViewServices services;
    services.prompter = &prompter;
    CQuorinView& view = Open(800, 600, services);
    prompter.shown.clear();  // the start-up's own box (no port configured)
    bool second = true;
    prompter.whileOpen = [&] { second = view.ProcessBPError(2); };
    EXPECT_TRUE(view.ProcessBPError(1));
    EXPECT_FALSE(second);
    EXPECT_EQ(prompter.shown, std::vector<std::string>{"BP Message: EC 1"});
    EXPECT_FALSE(view.ProcessBPError(0)) << "no error, no box";
    EXPECT_TRUE(view.ProcessBPError(3)) << "the guard is free again";

    CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
    ASSERT_NE(logger, nullptr);
    ASSERT_TRUE(logger->WaitForWriter(5000));
    QFile log(QString::fromStdString(logger->FullPath()));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_EQ(text.count("EC 1 Weak"), 1);
    EXPECT_EQ(text.count("EC 2 Artifact"), 0);
}

TEST_F(ViewIntake, RemoteTextsWhileItsBoxIsOpenGoToTheLogInsteadOfStackingBoxes)
{
    ReenteringPrompter prompter;
    ViewServices services;
    services.prompter = &prompter;
    CQuorinView& view = Open(800, 600, services);
    prompter.shown.clear();
    auto post = [&view](const char* text) {
        view.OnDefaultComMsg(DefaultComWParam(kComRemoteText, 0),
                             reinterpret_cast<std::intptr_t>(new std::string(text)));
    };
    prompter.whileOpen = [&] {
        post("Low battery 2");
        post("Low battery 3");
    };
    post("Low battery 1");
    post("Lead off");
    EXPECT_EQ(prompter.shown, (std::vector<std::string>{"Message from Remote: Low ", "Message from Remote: Lead"}));

    CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
    ASSERT_NE(logger, nullptr);
    ASSERT_TRUE(logger->WaitForWriter(5000));
    QFile log(QString::fromStdString(logger->FullPath()));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    for (const char* logged : {"Low battery 2", "Low battery 3"})
        EXPECT_EQ(text.count(QByteArray("Message from Remote: ") + logged), 1) << logged;
    EXPECT_EQ(text.count("Low battery 1"), 0) << "the one shown is not logged as well";
}
