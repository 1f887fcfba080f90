// What the numerics pane and the strips show after the window is laid out
// again: a resize must not undo the connection, a snooze, the battery or a
// measurement, and a waveform change starts the strips afresh.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <cmath>
#include <functional>
#include <map>

#include "ViewFixture.h"
#include "app/MenuCommands.h"
#include "view/AlarmTones.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/ViewBitmaps.h"

namespace {

constexpr std::uintptr_t kNewData = DefaultComWParam(kComNewData, kNewDataMessages);

// The tool-bar images the view gives the frame.
class ImageFrame : public IFrameControls {
public:
    void SetRWaveMarkerButton(bool) override {}
    void SetQrsToneButton(bool) override {}
    void SetSilenceAlarmButton(bool) override {}
    void SetAlarmsButton(bool) override {}
    void SetRecordingButton(bool) override {}
    void SetTracingsButton(bool) override {}
    void SetCommandState(uint32_t, bool, bool) override {}
    void SetStatusMessage(const std::string&) override {}
    void SetConnectionPane(const std::string&, std::optional<COLORREF>) override {}
    void SetCommandImage(uint32_t command, int image) override { images[command] = image; }
    std::map<uint32_t, int> images;
};

class ViewRelayout : public QuorinViewTest {
protected:
    // Laid out anew at another size, as a user's resize does.
    void Resize(int width, int height)
    {
        m_view->resize(width, height);
        Paint();
    }
    CRecordingSoundPlayer m_player;
};

// Frames of a slow wave with its pleth and respiration.
void FillRing(int frames)
{
    for (int i = 0; i < frames; ++i) {
        SampleFrame& frame = BeginRingWrite();
        frame.ecg = int16_t(1500 * std::sin(i * 2 * M_PI / 200.0));
        frame.pleth = uint8_t(128 + 100 * std::sin(i * 2 * M_PI / 200.0));
        frame.resp = int16_t(1000 * std::sin(i * 2 * M_PI / 1600.0));
        frame.flags = SampleFrame::kFlagEcgValid;
        CommitRingWrite();
    }
    g_liveData.lastBeatOffset = 1;
}

// Pixels of `image` inside `rect` within a small distance of `color`.
int PixelsNear(const QImage& image, const QRect& rect, COLORREF color)
{
    const QColor wanted = ToQColor(color);
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
                                 std::abs(c.blue() - wanted.blue());
            n += distance < 60 ? 1 : 0;
        }
    return n;
}

QRect ToQRect(const LayoutRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

TEST_F(ViewRelayout, TheStatusBoxAndTheBatteryShowTheSameAfterAResize)
{
    struct Case {
        const char* name;
        std::function<void(CQuorinView&)> happen;
        const char* statusText;  // nullptr: the battery is looked at
        COLORREF statusColor;
        bool connectAnimationPlays;
    };
    const Case cases[] = {
        {"connected", [](CQuorinView& view) { view.SetConnectionStatus(2); }, "Connected:", 0x00C800, false},
        {"connecting", [](CQuorinView& view) { view.SetConnectionStatus(1); }, "Connecting:", 0x40FFFF, true},
        {"snoozing",
         [this](CQuorinView& view) {
             m_app.m_config.alarmTones = 1;
             m_app.m_config.alarmSnooze = 120;
             view.SetAlarmSilence(1);
             view.OnSilenceAlarm();
         },
         kSnoozeStatusText, kSnoozeStatusColor, false},
        {"battery at 4",
         [](CQuorinView& view) {
             view.m_connection.live = 1;
             g_liveData.batteryLevel = 4;
             view.UpdateLinkIcon();
         },
         nullptr, 0, false},
    };
    const QPixmap battery = LoadIconResource(RemoteBatteryIconId(4));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewServices services;
        services.soundPlayer = &m_player;
        CQuorinView& view = Open(900, 650, std::move(services));
        c.happen(view);
        for (const QSize size : {QSize(1200, 820), QSize(700, 520)}) {
            Resize(size.width(), size.height());
            view.UpdateLinkIcon();  // as the clock does every second
            const QImage image = view.grab().toImage();
            if (c.statusText != nullptr) {
                CColorStatic* status = view.SingleBoxAt(kBoxStatusText);
                ASSERT_NE(status, nullptr);
                EXPECT_EQ(status->text().toStdString(), c.statusText);
                EXPECT_FALSE(status->isHidden());
                EXPECT_GT(PixelsNear(image, status->geometry(), c.statusColor), 10) << "the text drawn in its colour";
                CAnimateCtrl* connecting = view.Animation(kConnectAnimation);
                ASSERT_NE(connecting, nullptr);
                EXPECT_EQ(connecting->IsPlaying(), c.connectAnimationPlays);
                continue;
            }
            QLabel* picture = view.Picture(kPictureBattery);
            ASSERT_NE(picture, nullptr);
            EXPECT_FALSE(picture->isHidden());
            // Drawn as the label draws it: centred, on the pane's black.
            QImage expected(picture->size(), QImage::Format_RGB32);
            expected.fill(Qt::black);
            QPainter(&expected).drawPixmap((expected.width() - battery.width()) / 2,
                                           (expected.height() - battery.height()) / 2, battery);
            EXPECT_EQ(image.copy(picture->geometry()).convertToFormat(QImage::Format_RGB32), expected)
                << "the level's icon is what is drawn";
        }
    }
}

// The three blood-pressure pictures share one place: one of them is shown,
// and the tool-bar button tells whether a measurement runs.
TEST_F(ViewRelayout, OneBloodPressurePictureShowsAndTheToolBarFollowsTheMeasurement)
{
    ImageFrame frame;
    ViewServices services;
    services.frame = &frame;
    services.commandPause = [](uint32_t) {};
    CQuorinView& view = Open(900, 650, std::move(services));
    g_liveData.deviceKind = kDeviceTarvikPlus;
    g_liveData.featureBits = kFeatureEcg | kFeatureNibp;
    g_liveData.handledFeatureBits = g_liveData.featureBits;
    g_liveData.sampleRate = 400;
    view.m_connection.live = 1;
    view.LayoutNumerics();
    view.ResetWaveformStrips();
    Paint();

    struct Step {
        const char* name;
        std::function<void()> happen;
        int shown;  // kPictureBpOff, one of the animations, or -1 none
        int image;
    };
    const Step steps[] = {
        {"idle", [] {}, kPictureBpOff, 15},
        {"started", [&] { view.OnCommand(menu::kBloodPressure); }, -1, 22},
        {"inflating",
         [] {
             g_liveData.statusFlags = CBpStatus::kCycleBit | CBpStatus::kMeasuringBit;
             FillRing(401);
         },
         kBpCycleAnimation, 22},
        {"between readings",
         [] {
             g_liveData.statusFlags = CBpStatus::kCycleBit;
             FillRing(401);
         },
         kBpPauseAnimation, 22},
        {"stopped", [&] { view.OnCommand(menu::kBloodPressure); }, kPictureBpOff, 15},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.happen();
        view.OnDefaultComMsg(kNewData, 0);
        // Every other step after a resize, so that each state meets a relayout.
        if (++n % 2 == 0)
            Resize(1100, 760);
        else
            Resize(900, 650);
        view.UpdateCommandStates();
        const QPointer<QLabel> bpOff = view.Picture(kPictureBpOff);
        const QPointer<CAnimateCtrl> measuring = view.Animation(kBpCycleAnimation);
        const QPointer<CAnimateCtrl> pausing = view.Animation(kBpPauseAnimation);
        ASSERT_TRUE(bpOff != nullptr && measuring != nullptr && pausing != nullptr);
        EXPECT_EQ(!bpOff->isHidden(), s.shown == kPictureBpOff);
        EXPECT_EQ(!measuring->isHidden() && measuring->IsPlaying(), s.shown == kBpCycleAnimation);
        EXPECT_EQ(!pausing->isHidden() && pausing->IsPlaying(), s.shown == kBpPauseAnimation);
        // What is drawn in the shared place is the picture shown.
        const QImage drawn = view.grab(bpOff->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_NE(bpOff, nullptr) << "the pictures outlive a paint";
        const QImage off = bpOff->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(drawn == off, s.shown == kPictureBpOff);
        EXPECT_EQ(frame.images[menu::kBloodPressure], s.image);
    }
}

TEST_F(ViewRelayout, AWaveformChangeStartsEveryStripAfresh)
{
    struct WaveformDialogs : CEscapedCommandDialogs {
        std::optional<WaveformChoice> Waveforms(int32_t, uint8_t, uint16_t, const WaveformChoice&) override
        {
            WaveformChoice choice;
            choice.showSpO2 = 0;
            choice.showResp = 1;
            choice.showO2 = 0;
            return choice;
        }
    } dialogs;
    // With four strips the count stays: only the roles move.
    struct Case {
        const char* name;
        int32_t showSpO2, showResp;
        std::function<void(CQuorinView&)> change;
    };
    const Case cases[] = {
        {"Show SpO2", 0, 0, [](CQuorinView& view) { view.ToggleShowSpO2(); }},
        {"Show Resp", 1, 0, [](CQuorinView& view) { view.ToggleShowResp(); }},
        {"Show Waveforms", 1, 0, [](CQuorinView& view) { view.OnCommand(menu::kWaveforms); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoteConfiguration& config = m_app.m_config;
        config.showSpO2 = c.showSpO2;
        config.showResp = config.showResp2 = c.showResp;
        config.showO2 = 0;
        config.grid = 0;
        config.rMarker = 0;
        config.maxEcgWaveforms = 4;
        ViewServices services;
        services.dialogs = &dialogs;
        CQuorinView& view = Open(1200, 700, std::move(services));
        g_liveData.deviceKind = kDeviceTarvik;
        g_liveData.featureBits = kFeatureEcg | kFeatureResp | kFeatureSpO2 | kFeatureTemp;
        g_liveData.handledFeatureBits = g_liveData.featureBits;
        g_liveData.sampleRate = 400;
        view.m_connection.live = 1;
        view.ResetWaveformStrips();
        view.LayoutNumerics();
        Paint();
        ASSERT_EQ(view.Roles().stripCount, 4);
        FillRing(3 * 3200 + 1601);  // three and a half ECG rows
        view.OnDefaultComMsg(kNewData, 0);

        auto traces = [&] {
            const QImage image = view.grab().toImage();
            const StripLayout strips = PlanStrips(view.width(), view.height(), view.Metrics(),
                                                  view.Layout().bandHeight, view.Roles().stripCount);
            int n = 0;
            for (int k = 0; k < strips.count; ++k)
                for (const COLORREF color : {COLORREF(0x59FF3C), COLORREF(0xFDFD2F)})
                    n += PixelsNear(image, ToQRect(strips.strips[k]), color);
            return n;
        };
        ASSERT_GT(traces(), 0) << "the ECG and the pleth drawn";
        c.change(view);
        ASSERT_EQ(view.Roles().stripCount, 4);
        EXPECT_EQ(traces(), 0) << "no trace left under another strip's label";
    }
}
