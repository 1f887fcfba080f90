// The view's own connection against a simulated remote on a pseudo-terminal:
// "COM5" leads to the remote through the settings' port map.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <thread>

#include "EventLoopWait.h"
#include "ViewFixture.h"
#include "app/SettingsNames.h"
#include "link/EcgChain.h"
#include "link/PacketStateMachine.h"
#include "platform/MemoryProfileStore.h"
#include "sim/RemoteModels.h"
#include "sim/SimRemote.h"
#include "view/SoundColumns.h"
#include "view/WaveSounds.h"
#include "view/qt/ColorStatic.h"

namespace {

// A remote that keeps sending its model's cycles, with the mains filter the
// PC last set, until it is stopped. One that takes `setupsNeeded` set-ups
// reports its filter only from that set-up on: the PC's check retries.
class RemotePlayer {
public:
    RemotePlayer(SimRemote& remote, RemoteModel model, int setupsNeeded = 1)
        : m_remote(remote), m_model(model), m_setupsNeeded(setupsNeeded)
    {
        m_thread = std::thread([this] { Play(); });
    }
    ~RemotePlayer()
    {
        m_stop = true;
        m_thread.join();
    }

    // How often the PC has set the filter up.
    int Setups() const
    {
        const std::vector<uint8_t> received = m_remote.Received();
        const std::string text(received.begin(), received.end());
        int count = 0;
        for (std::size_t at = text.find("sl 6"); at != std::string::npos; at = text.find("sl 6", at + 1))
            ++count;
        return count;
    }

private:
    void Play()
    {
        m_remote.Send(ModelOpening(m_model));
        // A Moval talks text after its prompt until the PC sets it up.
        if (m_model == RemoteModel::Moval) {
            while (!m_stop && !m_remote.WaitFor(
                                  [](const std::vector<uint8_t>& r) {
                                      return std::string(r.begin(), r.end()).find("\rob\rl1\rws\r") !=
                                             std::string::npos;
                                  },
                                  100)) {
            }
        }
        for (uint32_t cycle = 0; !m_stop; cycle += 5) {
            // A line's pace: five cycles take about 80 ms.
            const bool notch = m_remote.Notch().value_or(false) && Setups() >= m_setupsNeeded;
            if (!m_remote.SendPaced(ModelCycles(m_model, cycle, 5, notch), 20000, 256))
                return;
        }
    }

    SimRemote& m_remote;
    RemoteModel m_model;
    int m_setupsNeeded;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class ViewConnection : public QuorinViewTest {
protected:
    void SetUp() override
    {
        QuorinViewTest::SetUp();
        ResetEcgChainState();
        CPacketStateMachine::DestroyInstance();
        m_app.SetRegistryKey(m_keys, kCompanyKey);
        m_app.m_config.portNum = 5;
        m_app.m_config.notch = 1;
        m_app.m_factoryConfig.hrFromSpO2 = 0;
    }
    void PointCom5At(const std::string& device)
    {
        ASSERT_TRUE(m_keys.Key(SettingsScope::User, kProgramKey)->WriteProfileString(kSectionPortMap, "COM5", device));
    }
    bool Shows(CQuorinView& view, int slot, const std::string& text)
    {
        return view.ValueBox(slot) != nullptr && view.ValueBox(slot)->text().toStdString() == text;
    }

    CMemorySettingsKeys m_keys;
};

// The status pane as the frame shows it.
class PaneFrame : public IFrameControls {
public:
    void SetRWaveMarkerButton(bool) override {}
    void SetQrsToneButton(bool) override {}
    void SetSilenceAlarmButton(bool) override {}
    void SetAlarmsButton(bool) override {}
    void SetRecordingButton(bool) override {}
    void SetTracingsButton(bool) override {}
    void SetCommandState(uint32_t, bool, bool) override {}
    void SetStatusMessage(const std::string&) override {}
    void SetConnectionPane(const std::string& text, std::optional<COLORREF>) override { pane = text; }
    std::string pane;
};

bool ReceivedAll(const SimRemote& remote, std::initializer_list<std::string> texts)
{
    const std::vector<uint8_t> received = remote.Received();
    const std::string text(received.begin(), received.end());
    for (const std::string& wanted : texts)
        if (text.find(wanted) == std::string::npos)
            return false;
    return true;
}

}  // namespace

TEST_F(ViewConnection, EachModelConnectsIsSetUpKeptAliveAndShowsItsValues)
{
    struct Case {
        RemoteModel model;
        int slot;
        const char* shown;
        std::string keepAlive;
    } const cases[] = {
        {RemoteModel::Selvo, kParamSpO2, "97", "\x06"},
        {RemoteModel::Brindle, kParamSystolic, "121", "\x06"},
        {RemoteModel::TarvikPlus, kParamSpO2, "97", "\x06"},
        {RemoteModel::Moval, kParamTemperature, "101.5", "ws\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.model));
        m_view.reset();
        ResetLiveStore();
        ResetEcgChainState();
        SimRemote remote;
        ASSERT_TRUE(remote.Ok());
        PointCom5At(remote.DevicePath());
        RemotePlayer player(remote, c.model);
        CQuorinView& view = Open(1600, 900);
        EXPECT_TRUE(ProcessEventsUntil(
            [&] { return view.m_connection.connectionStatus == 2 && Shows(view, c.slot, c.shown); }, 30000));
        EXPECT_TRUE(ProcessEventsUntil([&] { return ReceivedAll(remote, {"sl 60", c.keepAlive}); }, 10000))
            << "the set-up and a keep-alive";
        m_view.reset();
    }
}

TEST_F(ViewConnection, ALostRemoteIsNoticedAndAFreshOneReconnectsElseFiveAttemptsEndInTheBox)
{
    auto remote = std::make_unique<SimRemote>();
    PointCom5At(remote->DevicePath());
    auto player = std::make_unique<RemotePlayer>(*remote, RemoteModel::Selvo);
    PaneFrame frame;
    ViewServices services;
    services.frame = &frame;
    CQuorinView& view = Open(1600, 900, services);
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connectionStatus == 2 && Shows(view, kParamSpO2, "97"); },
                                   30000));

    // The remote goes silent: after 10 s without packets the view says so
    // and blanks its values.
    player.reset();
    remote->HangUp();
    EXPECT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connectionStatus == 3; }, 20000));
    EXPECT_TRUE(ProcessEventsUntil([&] { return Shows(view, kParamSpO2, "---"); }, 2000)) << "the values blanked";

    // "COM5" now leads to another remote: the next open finds it.
    SimRemote fresh;
    PointCom5At(fresh.DevicePath());
    {
        RemotePlayer again(fresh, RemoteModel::Selvo);
        EXPECT_TRUE(ProcessEventsUntil(
            [&] { return view.m_connection.connectionStatus == 2 && Shows(view, kParamSpO2, "97"); }, 30000));
        fresh.HangUp();
        EXPECT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connectionStatus == 3; }, 20000));
    }

    // Nothing there at all: five attempts, then the box and status 0.
    PointCom5At("/nonexistent/quorin-remote");
    EXPECT_TRUE(ProcessEventsUntil(
        [&] {
            for (const auto& prompt : m_prompter.Prompts())
                if (prompt.caption == "Wireless Remote Connection Error")
                    return true;
            return false;
        },
        30000));
    EXPECT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connected == 0 && view.m_connection.connectionStatus == 0; }, 5000));
    EXPECT_EQ(frame.pane, "Wireless Remote Disconnected") << "the pane does not go blank";

    // One press connects again.
    SimRemote last;
    PointCom5At(last.DevicePath());
    RemotePlayer third(last, RemoteModel::Selvo);
    view.OnFileConnect();
    EXPECT_TRUE(ProcessEventsUntil(
        [&] { return view.m_connection.connectionStatus == 2 && Shows(view, kParamSpO2, "97"); }, 30000));
    EXPECT_EQ(view.m_connection.connected, 1);
}

TEST_F(ViewConnection, AStandingAlarmSoundsAgainAfterTheChimeOfEachConnection)
{
    // 101.5 F is above a high limit of 100.0 for every species.
    for (auto& limits : m_app.m_config.alarmLimits)
        limits[kParamTemperature] = AlarmLimit{1000, 900, 1, 0};
    m_app.m_config.alarms = 1;
    m_app.m_config.alarmTones = 1;
    CRecordingSoundPlayer sounds;
    ViewServices services;
    services.soundPlayer = &sounds;
    auto remote = std::make_unique<SimRemote>();
    PointCom5At(remote->DevicePath());
    // The notch set-up needs a retry.
    auto player = std::make_unique<RemotePlayer>(*remote, RemoteModel::Selvo, 2);
    CQuorinView& view = Open(1600, 900, services);
    const WaveImage alarm = view.SoundManager().Wave(view.SoundManager().Row(), kSoundAlarm);
    const WaveImage connected = MakeWave(kConnectedWave);
    const WaveImage lost = MakeWave(kLostConnectionWave);
    auto playing = [&](const WaveImage& wave) { return sounds.PlayingWave() && *sounds.PlayingWave() == *wave; };

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "the first connection" : "the reconnection");
        // Whichever comes first, the alarm or the chime: the chime plays.
        ASSERT_TRUE(ProcessEventsUntil(
            [&] { return view.m_connection.connectionStatus == 2 && view.AlarmTonePlaying() && playing(connected); }, 30000));
        EXPECT_TRUE(ProcessEventsUntil([&] { return player->Setups() >= 2 && ReceivedAll(*remote, {"sb 1"}); }, 10000))
            << "the set-up was retried and then agreed";
        sounds.EndOnceSound();
        EXPECT_TRUE(playing(alarm)) << "the loop sounds again after the chime";
        EXPECT_EQ(sounds.Calls().back().call, CRecordingSoundPlayer::Call::PlayLooped);
        if (round == 1)
            break;

        // The remote is lost: its chime plays whole, with no alarm over it.
        player.reset();
        remote->HangUp();
        ASSERT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connectionStatus == 3; }, 20000));
        EXPECT_TRUE(playing(lost));
        EXPECT_FALSE(view.AlarmTonePlaying());
        remote = std::make_unique<SimRemote>();
        PointCom5At(remote->DevicePath());
        player = std::make_unique<RemotePlayer>(*remote, RemoteModel::Selvo, 2);
    }
    player.reset();
    m_view.reset();
}
