// The view's command handlers: what reaches the remote's write queue and
// the captions, with the waits after a command taken out.
#include <gtest/gtest.h>

#include <QLineEdit>

#include <limits>

#include "app/MenuCommands.h"
#include "config/qt/ConfigTabDlg.h"
#include "tests/view/qt/ViewFixture.h"
#include "view/ViewLayout.h"
#include "view/qt/ColorStatic.h"

namespace {

class ViewCommands : public QuorinViewTest {
protected:
    CQuorinView& OpenLive(int32_t kind, uint16_t features)
    {
        ViewServices services = m_services;
        services.commandPause = [](uint32_t) {};
        CQuorinView& view = Open(800, 600, std::move(services));
        std::string stale;
        while (view.WriteQueue().Pop(stale)) {
        }
        g_liveData.deviceKind = kind;
        g_liveData.featureBits = features;
        view.m_connection.live = 1;
        view.LayoutNumerics();  // the pane of this model
        return view;
    }
    std::vector<std::string> Queued(CQuorinView& view)
    {
        std::vector<std::string> texts;
        std::string text;
        while (view.WriteQueue().Pop(text))
            texts.push_back(text);
        return texts;
    }
    std::string Box(CQuorinView& view, int box) { return view.SingleBoxAt(box)->text().toStdString(); }
    ViewServices m_services;  // what OpenLive starts from
};

}  // namespace

TEST_F(ViewCommands, DisplayCyclesAndDentalCaptions)
{
    CQuorinView& view = OpenLive(kDeviceTarvikPlus, kFeatureEcg);
    const struct {
        int32_t from, to;
    } sweeps[] = {{8, 1}, {3, 2}, {4, 8}};
    for (const auto& s : sweeps) {
        m_app.m_config.ecgSweep = s.from;
        view.OnCommand(menu::kSweepCycle);
        EXPECT_EQ(m_app.m_config.ecgSweep, s.to) << s.from;
    }
    view.m_patient.info.speciesCode = 1;
    m_app.m_config.gain[0] = 2;
    view.m_gainIndex = 4;
    view.OnCommand(menu::kGainCycle);
    EXPECT_EQ(view.m_gainIndex, 0);
    EXPECT_EQ(m_app.m_config.gain[1], 0);
    EXPECT_EQ(m_app.m_config.gain[0], 2);  // the current species only
    EXPECT_EQ(Box(view, kBoxSweepGain), "200mm/sec  (x0.5)");

    view.OnCommand(menu::kDental);
    EXPECT_EQ(Queued(view), std::vector<std::string>{"\rsz 0\r"});
    EXPECT_EQ(Box(view, kBoxSweepGain), "200mm/sec  (x0.5) Dental");
    view.OnCommand(menu::kDental);
    EXPECT_EQ(Queued(view), std::vector<std::string>{"\rsz 1\r"});

    g_liveData.deviceKind = kDeviceBrindle;
    view.RefreshSweepGainCaption();
    EXPECT_EQ(Box(view, kBoxSweepGain), "6.25mm/sec  ");
    // A greyed command does nothing.
    view.OnCommand(menu::kSweepCycle);
    EXPECT_EQ(m_app.m_config.ecgSweep, sweeps[2].to);
}

// The filter dialog opens on the radio the toggle would call current,
// whatever a hand-edited store holds.
TEST_F(ViewCommands, TheFilterDialogPreselectsAsTheToggleReadsTheStoredValue)
{
    struct BandwidthDialogs : CEscapedCommandDialogs {
        std::optional<int> EcgBandwidth(int radio) override
        {
            shown = radio;
            return 1;
        }
        int shown = -1;
    } dialogs;
    ViewServices services;
    services.dialogs = &dialogs;
    CQuorinView& view = Open(800, 600, std::move(services));
    g_liveData.deviceKind = kDeviceTarvikPlus;
    g_liveData.featureBits = kFeatureEcg;
    view.m_connection.live = 1;
    for (const int32_t stored : {0, 1, 5, std::numeric_limits<int32_t>::min()}) {
        m_app.m_config.bandwidth = stored;
        view.OnCommand(menu::kFilterDialog);
        EXPECT_EQ(dialogs.shown, stored != 0 ? 0 : 1) << stored;
        EXPECT_EQ(m_app.m_config.bandwidth, 0) << "radio 1 chosen";
        view.OnCommand(menu::kBandwidth);
        EXPECT_EQ(m_app.m_config.bandwidth, 1) << "the toggle agrees";
    }
}

// The caption names the cuff the remote is sent: the one the cuff dialog
// leaves, not the one before it.
TEST_F(ViewCommands, BloodPressureStartsAndStopsOnTheRemoteWithTheCuffItsCaptionNames)
{
    struct CuffDialogs : CEscapedCommandDialogs {
        explicit CuffDialogs(RemoteConfiguration& config) : m_config(config) {}
        bool BpCuff(int32_t species) override
        {
            ++shown;
            if (chosen < 0)
                return false;
            m_config.cuffSize[species] = chosen;
            return true;
        }
        RemoteConfiguration& m_config;
        int chosen = -1;  // -1: Cancel
        int shown = 0;
    } dialogs(m_app.m_config);
    m_services.dialogs = &dialogs;
    CQuorinView& view = OpenLive(kDeviceTarvikPlus, kFeatureNibp);
    view.m_patient.info.speciesCode = 0;
    m_app.m_config.cuffSize[0] = 6;
    m_app.m_config.bpInterval = 3;
    m_app.m_config.initialPressure = 160;
    const struct {
        const char* name;
        int chosen;
        int dialogs;  // shown by this start
        std::vector<std::string> queued;
        const char* caption;
    } starts[] = {
        {"the first start asks nothing", 2, 0, {"sp 6 300 160\r", "bp 1\r"}, " BP (mmHg) Cuff: Adult"},
        {"cuff #8 chosen", 5, 1, {"sp 5 300 160\r", "bp 1\r"}, " BP(mmHg)   Cuff: #8"},
        {"Cancel starts nothing", -1, 1, {}, " BP(mmHg)   Cuff: #8"},
    };
    for (const auto& s : starts) {
        SCOPED_TRACE(s.name);
        dialogs.chosen = s.chosen;
        const int before = dialogs.shown;
        view.OnCommand(menu::kBloodPressure);
        EXPECT_EQ(dialogs.shown - before, s.dialogs);
        EXPECT_EQ(Queued(view), s.queued);
        EXPECT_EQ(view.m_bp.bpRunning, s.queued.empty() ? 0 : 1);
        ASSERT_NE(view.CaptionBox(kGroupBloodPressure), nullptr);
        EXPECT_EQ(view.CaptionBox(kGroupBloodPressure)->text().toStdString(), s.caption);
        if (view.m_bp.bpRunning == 0)
            continue;
        view.OnCommand(menu::kBloodPressure);
        EXPECT_EQ(Queued(view), std::vector<std::string>{"bp 0\r"});
        EXPECT_EQ(view.m_bp.bpRunning, 0);
    }
}

TEST_F(ViewCommands, TheVersionRequestOfAFramedRemote)
{
    CQuorinView& view = OpenLive(kDeviceSelvo, kFeatureEcg);
    g_versionPending = 0;
    g_liveData.movalTextMode = 1;
    view.RequestRemoteVersion();
    EXPECT_EQ(g_versionPending, 1);
    EXPECT_EQ(g_liveData.movalTextMode, 0);
    EXPECT_EQ(Queued(view), std::vector<std::string>{"sb 1\r"});
    g_versionPending = 0;
    view.VersionTimerProc();  // no version yet: asked again
    EXPECT_EQ(g_versionPending, 1);
}

TEST_F(ViewCommands, EditingTheDefaultsStoresThemOnlyWhenAccepted)
{
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        ViewServices services;
        services.runConfigDialog = [accept](ConfigTabDlg& dialog) {
            dialog.OnInitDialog();
            dialog.findChild<QLineEdit*>("4880")->setText("150");  // "Initial Pressure"
            if (accept)
                dialog.accept();
            else
                dialog.reject();
            return accept;
        };
        CQuorinView& view = Open(800, 600, std::move(services));
        m_app.m_config.initialPressure = 120;
        m_app.m_storedConfig.initialPressure = 120;
        view.OnCommand(menu::kDefaultConfiguration);
        EXPECT_EQ(m_app.m_storedConfig.initialPressure, accept ? 150 : 120);
        m_view.reset();
    }
}

TEST_F(ViewCommands, AboutAndUpdateCheckGoToTheApplication)
{
    int abouts = 0, checks = 0, weekly = 0;
    ViewServices services;
    services.about = [&] { ++abouts; };
    services.checkForUpdatesNow = [&] { ++checks; };
    services.checkForUpdates = [&] { ++weekly; };
    CQuorinView& view = Open(800, 600, std::move(services));
    EXPECT_EQ(weekly, m_app.m_config.checkForUpdates != 0 ? 1 : 0);
    view.OnCommand(menu::kAbout);
    view.OnCommand(menu::kCheckForUpdates);
    EXPECT_EQ(abouts, 1);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(weekly, m_app.m_config.checkForUpdates != 0 ? 1 : 0);
}
