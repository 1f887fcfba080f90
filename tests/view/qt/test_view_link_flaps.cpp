// A recording over a link that keeps dropping: a Selvo on a pseudo-terminal
// goes quiet ten times, and each time the link is back before the episode
// it closed has been saved (the disk is slow). Every return resumes the recording, every
// episode is saved whole, and the display never waits for the recorder.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/MenuCommands.h"
#include "EventLoopWait.h"
#include "ViewFixture.h"
#include "app/SettingsNames.h"
#include "link/EcgChain.h"
#include "link/PacketStateMachine.h"
#include "platform/MemoryProfileStore.h"
#include "platform/Thread.h"
#include "recording/QreReader.h"
#include "recording/FakeRecordFiles.h"
#include "sim/RemoteModels.h"
#include "sim/SimRemote.h"

namespace {

// A Selvo that sends its cycles until paused; a resumed one opens again,
// as a remote coming back into range does.
class FlappingSelvo {
public:
    explicit FlappingSelvo(SimRemote& remote) : m_remote(remote)
    {
        m_thread = std::thread([this] { Play(); });
    }
    ~FlappingSelvo()
    {
        m_stop = true;
        m_thread.join();
    }
    void Pause() { m_paused = true; }
    void Resume() { m_paused = false; }

private:
    void Play()
    {
        bool opened = false;
        for (uint32_t cycle = 0; !m_stop;) {
            if (m_paused) {
                opened = false;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            if (!opened)
                opened = m_remote.Send(ModelOpening(RemoteModel::Selvo));
            if (!m_remote.SendPaced(ModelCycles(RemoteModel::Selvo, cycle, 5, m_remote.Notch().value_or(false)),
                                    20000, 256))
                return;
            cycle += 5;
        }
    }

    SimRemote& m_remote;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_paused{false};
    std::thread m_thread;
};

// The longest wait between two turns of the event loop, as a 10 ms timer
// sees it.
class LoopLateness {
public:
    LoopLateness()
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { m_longest = std::max(m_longest, m_clock.restart()); });
        m_timer.start(10);
    }
    qint64 LongestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

class ViewLinkFlaps : public QuorinViewTest {
protected:
    void SetUp() override
    {
        QuorinViewTest::SetUp();
        ResetEcgChainState();
        CPacketStateMachine::DestroyInstance();
        m_app.SetRegistryKey(m_keys, kCompanyKey);
        m_app.m_config.portNum = 5;
        m_app.m_config.notch = 1;
        m_app.m_config.autoSave = 0;
        m_app.m_factoryConfig.hrFromSpO2 = 0;
    }

    CMemorySettingsKeys m_keys;
    // Added to the view's clock: a jump makes the link look silent for
    // longer than the loss time-out at the connection's next look.
    std::atomic<uint32_t> m_skew{0};
};

}  // namespace

TEST_F(ViewLinkFlaps, EveryReturnResumesTheRecordingAndNoEpisodeIsLost)
{
    constexpr int kDrops = 10;
    SimRemote remote;
    ASSERT_TRUE(remote.Ok());
    ASSERT_TRUE(
        m_keys.Key(SettingsScope::User, kProgramKey)->WriteProfileString(kSectionPortMap, "COM5", remote.DevicePath()));
    FlappingSelvo selvo(remote);
    auto disk = std::make_shared<FakeDisk>();
    ViewServices services;
    services.tick = [this] { return GetTickCount() + m_skew.load(); };
    services.connectWatchMs = 100;
    services.recordFiles = std::make_shared<FakeFileSystem>(disk);
    CQuorinView& view = Open(1600, 900, std::move(services));
    view.m_rec.startupPending = false;
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connectionStatus == 2; }, 30000));
    const std::size_t promptsBefore = m_prompter.Prompts().size();

    view.RunCommand(menu::kRecord);
    ASSERT_TRUE(view.IsRecording());
    LoopLateness lateness;
    for (int drop = 0; drop < kDrops; ++drop) {
        SCOPED_TRACE(drop);
        ASSERT_TRUE(ProcessEventsUntil([&] { return view.Recording().RecordTicks() >= 40; }));
        {
            // A slow disk: the worker waits in its next write, the close's
            // at the latest, until let go.
            std::lock_guard lock(disk->mutex);
            disk->blockAtCall = disk->writeCalls + 1;
            disk->blocked = disk->released = false;
        }
        selvo.Pause();
        m_skew = 11000;
        ASSERT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connectionStatus == 3; }));
        m_skew = 0;
        EXPECT_FALSE(view.IsRecording());
        selvo.Resume();
        // Back while the episode it closed is still being saved: the next
        // one waits for it.
        ASSERT_TRUE(ProcessEventsUntil([&] { return view.m_connection.connectionStatus == 2; }));
        EXPECT_FALSE(view.IsRecording());
        disk->Release();
        ASSERT_TRUE(ProcessEventsUntil([&] { return view.IsRecording(); }));
    }
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.Recording().RecordTicks() >= 40; }));
    view.RunCommand(menu::kRecord);
    ASSERT_TRUE(WaitForIdleRecorder(view.Recorder()));
    EXPECT_LE(lateness.LongestMs(), 100) << "the display waited for the recorder";
    EXPECT_EQ(m_prompter.Prompts().size(), promptsBefore) << "no box while the link came and went";

    std::vector<std::string> names;
    for (const auto& [name, open] : disk->names)
        names.push_back(name);
    ASSERT_EQ(names.size(), std::size_t(kDrops + 1)) << "each file whole, no journal left";
    for (const std::string& name : names) {
        const QreContents qre = ReadQre(disk->Image(name));
        EXPECT_EQ(qre.magic, "QRE") << name;
        EXPECT_TRUE(qre.sizesAgree) << name;
        EXPECT_GE(qre.sampleCount, 40u) << name;
    }
    EXPECT_EQ(view.Recording().Episodes().size(), std::size_t(kDrops + 1));
}
