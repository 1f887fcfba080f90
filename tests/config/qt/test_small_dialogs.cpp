// The small dialogs of the menu commands, offscreen: what each shows, what
// OK hands back, and that Escape changes nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "app/QuorinAppCore.h"
#include "config/qt/Agents.h"
#include "config/qt/BPcuff.h"
#include "config/qt/ConfigWaveDlg.h"
#include "config/qt/DemoConfigDlg.h"
#include "config/qt/EcgDialogs.h"
#include "config/qt/QtCommandDialogs.h"
#include "link/LiveData.h"

namespace {

// Runs a dialog: `act` on it, then OK or Escape as a user would.
std::function<int(QDialog&)> Answer(std::function<void(QDialog&)> act, bool ok)
{
    return [act = std::move(act), ok](QDialog& dialog) {
        dialog.show();
        act(dialog);
        if (ok)
            dialog.accept();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    };
}

void Pick(QDialog& dialog, const char* list, int index)
{
    auto* combo = dialog.findChild<QComboBox*>(list);
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

}  // namespace

TEST(SmallDialogs, EcgChoicesReturnTheRadioOnOkAndNothingOnEscape)
{
    CQuorinAppCore app({});
    const struct {
        const char* button;
        bool ok;
        std::optional<int> result;
    } cases[] = {{"130", true, 3}, {"110", false, std::nullopt}};
    for (const auto& c : cases) {
        CQtCommandDialogs dialogs(app, nullptr, Answer([&](QDialog& d) {
                                      EXPECT_TRUE(d.findChild<QRadioButton*>("100")->isChecked());
                                      d.findChild<QRadioButton*>(c.button)->click();
                                  }, c.ok));
        EXPECT_EQ(dialogs.EcgSweep(0), c.result);
    }
    CQtCommandDialogs gain(app, nullptr, Answer([](QDialog& d) { d.findChild<QRadioButton*>("1230")->click(); }, true));
    EXPECT_EQ(gain.EcgGain(4), 2);
    CQtCommandDialogs filter(app, nullptr, Answer([](QDialog& d) {
                                 EXPECT_EQ(d.windowTitle(), "Wireless Remote ECG Bandwidth");
                                 EXPECT_TRUE(d.findChild<QRadioButton*>("1260")->isChecked());
                             }, true));
    EXPECT_EQ(filter.EcgBandwidth(1), 1);
}

TEST(SmallDialogs, TheWaveformDialogShowsWhatTheRemoteOffers)
{
    const WaveformChoice stored{1, 0, 1};
    ConfigWaveDlg moval(kDeviceMoval, 0x7F, stored);
    for (const char* id : {"3590", "3530", "3550", "3560"})
        EXPECT_FALSE(moval.findChild<QCheckBox*>(id)->isVisibleTo(&moval)) << id;
    moval.accept();
    EXPECT_EQ(moval.m_choice.showSpO2, 1);
    EXPECT_EQ(moval.m_choice.showO2, 1);

    ConfigWaveDlg tarvik(kDeviceTarvik, 0x0F, stored);
    EXPECT_FALSE(tarvik.findChild<QCheckBox*>("3560")->isVisibleTo(&tarvik));
    tarvik.show();
    tarvik.findChild<QCheckBox*>("3550")->click();
    tarvik.findChild<QCheckBox*>("3530")->click();
    tarvik.findChild<QCheckBox*>("3590")->click();
    EXPECT_TRUE(tarvik.findChild<QCheckBox*>("3590")->isChecked()) << "the ECG cannot be turned off";
    EXPECT_EQ(tarvik.m_choice.showResp, 1);
    EXPECT_EQ(tarvik.m_choice.showSpO2, 0);
}

TEST(SmallDialogs, TheDemoDialogFollowsItsFormAndFitsItsTexts)
{
    CQuorinAppCore app({});
    CQtCommandDialogs dialogs(app, nullptr, Answer([](QDialog& d) {
                                  auto& demo = static_cast<DemoConfigDlg&>(d);
                                  EXPECT_GE(demo.width(), 510);
                                  EXPECT_GE(demo.height(), 470);
                                  EXPECT_GE(demo.width(), demo.sizeHint().width());
                                  EXPECT_TRUE(demo.Box(kDemoTarvik)->isChecked());
                                  EXPECT_FALSE(demo.Box(kDemoExotic)->isChecked());
                                  demo.Box(kDemoGasOrSevo)->click();
                                  EXPECT_TRUE(demo.Box(kDemoTarvikPlus)->isChecked());
                                  EXPECT_FALSE(demo.Box(kDemoTarvik)->isChecked());
                                  demo.Box(kDemoExotic)->click();
                              }, true));
    const auto choice = dialogs.DemoModel(5, 0x0F, kDeviceTarvik);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->deviceKind, kDeviceTarvikPlus);
    EXPECT_EQ(choice->featureBits, 0x1EF);
    EXPECT_EQ(choice->gasModuleKind, 0);
    EXPECT_TRUE(choice->exoticHeartRates);
}

TEST(SmallDialogs, AgentsAndCuffChangeTheSettingsOnlyOnOk)
{
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        CQuorinAppCore app({});
        app.SetDefaultSettings();
        app.m_config = app.m_factoryConfig;
        app.m_config.primaryAgent = 3;
        app.m_config.cuffSize[1] = 2;
        app.m_config.cuffSize[2] = 4;
        ResetLiveStore();
        g_liveData.gasModuleKind = 2;
        for (auto& available : g_liveData.agentAvailable)
            available = 1;
        g_liveData.primaryAgent = 3;

        CQtCommandDialogs agents(app, nullptr, Answer([](QDialog& d) {
                                     EXPECT_FALSE(d.findChild<QComboBox*>("3800")->isVisibleTo(&d));
                                     Pick(d, "3790", 1);  // sevoflurane
                                 }, ok));
        EXPECT_EQ(agents.Agents(), ok);
        EXPECT_EQ(app.m_config.primaryAgent, ok ? 4 : 3);
        EXPECT_EQ(int(g_liveData.primaryAgent), 3) << "a remote reports its own agent";

        CQtCommandDialogs cuff(app, nullptr, Answer([](QDialog& d) {
                                   EXPECT_EQ(d.findChild<QComboBox*>("3910")->currentText(), "#3");
                                   Pick(d, "3910", 6);
                               }, ok));
        EXPECT_EQ(cuff.BpCuff(1), ok);
        EXPECT_EQ(app.m_config.cuffSize[1], ok ? 6 : 2);
        EXPECT_EQ(app.m_config.cuffSize[2], 4) << "another species' cuff";
    }
    ResetLiveStore();
}
