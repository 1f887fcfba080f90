#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/MenuCommands.h"
#include "ViewFixture.h"
#include "link/DecodeState.h"
#include "view/AlarmTones.h"
#include "view/qt/ColorStatic.h"

namespace {

// The frame's bars as the view sets them.
class RecordingFrame : public IFrameControls {
public:
    struct State {
        bool enabled = false;
        bool checked = false;
    };
    std::map<uint32_t, State> commands;
    std::map<std::string, bool> buttons;
    std::string message;

    void SetRWaveMarkerButton(bool on) override { buttons["rmarker"] = on; }
    void SetQrsToneButton(bool on) override { buttons["qrs"] = on; }
    void SetSilenceAlarmButton(bool on) override { buttons["silence"] = on; }
    void SetAlarmsButton(bool on) override { buttons["alarms"] = on; }
    void SetRecordingButton(bool on) override { buttons["recording"] = on; }
    void SetTracingsButton(bool on) override { buttons["tracings"] = on; }
    void SetCommandState(uint32_t command, bool enabled, bool checked) override
    {
        commands[command] = State{enabled, checked};
    }
    void SetStatusMessage(const std::string& text) override { message = text; }
    void SetConnectionPane(const std::string& text, std::optional<COLORREF>) override { pane = text; }
    std::string pane;
};

using ViewAlarms = QuorinViewTest;

constexpr std::uintptr_t kNewData = DefaultComWParam(kComNewData, kNewDataMessages);

}  // namespace

TEST_F(ViewAlarms, ALimitCrossedTurnsItsBoxRedAndLoopsTheAlarmUntilTheValueReturns)
{
    for (const bool withSound : {true, false}) {
        SCOPED_TRACE(withSound ? "with an audio output" : "without one");
        m_view.reset();
        ResetLiveStore();
        CRecordingSoundPlayer player;
        RecordingFrame frame;
        ViewServices services;
        services.soundPlayer = withSound ? &player : nullptr;  // none: the real output, absent here
        services.frame = &frame;
        m_app.m_config.alarms = 1;
        m_app.m_config.alarmTones = 1;
        CQuorinView& view = Open(1200, 700, services);
        view.m_connection.connected = 1;
        view.m_connection.live = 1;
        g_liveData.featureBits = kFeatureEcg | kFeatureTemp;
        const AlarmLimit& limit = m_app.m_config.alarmLimits[0][kParamHeartRate];
        ASSERT_EQ(limit.highEnable, 1);
        CColorStatic* high = view.LimitBox(2 * kParamHeartRate);
        ASSERT_NE(high, nullptr);

        struct Step {
            int16_t rate;
            bool alarmed;
        } const steps[] = {{int16_t(limit.high), false}, {int16_t(limit.high + 1), true}, {int16_t(limit.high), false}};
        for (const Step& step : steps) {
            g_liveData.numerics[kParamHeartRate] = step.rate;
            view.OnDefaultComMsg(kNewData, 0);
            EXPECT_EQ(high->GetBkColor() == kAlarmedBack, step.alarmed) << "rate " << step.rate;
            EXPECT_EQ(view.AlarmTonePlaying(), step.alarmed) << "rate " << step.rate;
            if (withSound) {
                const bool looping = !player.Calls().empty() &&
                                     player.Calls().back().call == CRecordingSoundPlayer::Call::PlayLooped;
                EXPECT_EQ(looping, step.alarmed);
            }
        }
        EXPECT_EQ(frame.message.empty(), withSound) << "the status bar says the alarms are silent";
    }
}

TEST_F(ViewAlarms, TheAlarmCommandsFollowAlarmsTonesAndTheLiveView)
{
    RecordingFrame frame;
    ViewServices services;
    CRecordingSoundPlayer player;
    services.soundPlayer = &player;
    services.frame = &frame;
    CQuorinView& view = Open(800, 600, services);
    struct Case {
        int live;
        int alarms;
        int tones;
    } const cases[] = {{0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 1}};
    for (const Case& c : cases) {
        view.m_connection.live = c.live;
        m_app.m_config.alarms = c.alarms;
        m_app.m_config.alarmTones = c.tones;
        view.OnTimer(2);
        const auto silence = frame.commands.at(menu::kSilenceAlarm);
        const auto alarms = frame.commands.at(menu::kAlarms);
        EXPECT_EQ(silence.enabled, c.live && c.alarms);
        EXPECT_EQ(silence.checked, c.tones != 0);
        EXPECT_EQ(alarms.enabled, c.live != 0);
        EXPECT_EQ(alarms.checked, c.alarms != 0);
        EXPECT_EQ(frame.buttons.at("silence"), c.tones != 0);
        EXPECT_EQ(frame.buttons.at("alarms"), c.alarms != 0);
    }
}

TEST_F(ViewAlarms, TrendSamplingStopsWithTheData)
{
    CQuorinView& view = Open(800, 600);
    g_liveData.numerics[kParamHeartRate] = 97;
    view.m_connection.live = 1;
    view.OnTimer(3);
    EXPECT_EQ(view.Trend().Index(), 1);
    EXPECT_EQ(view.Trend().Ring(0)[0], 97);
    view.m_connection.live = 0;
    view.OnTimer(3);
    EXPECT_EQ(view.Trend().Index(), 1) << "no data, no sample";
}
