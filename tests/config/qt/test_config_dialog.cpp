#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/QuorinAppCore.h"
#include "config/ConfigFilters.h"
#include "config/qt/ConfigLimitPage.h"
#include "config/qt/ConfigTabDlg.h"
#include "link/LiveData.h"

namespace {

class ConfigDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLiveStore();
        m_app.SetDefaultSettings();
        m_app.m_config = m_app.m_factoryConfig;
    }
    void TearDown() override { ResetLiveStore(); }

    ConfigTabDlg& Open(ConfigMode mode)
    {
        ConfigTabDlg::Setup setup;
        setup.app = &m_app;
        setup.prompter = &m_prompter;
        setup.mode = mode;
        m_dialog = std::make_unique<ConfigTabDlg>(setup, FillWorkingCopy(m_app.m_config, false));
        m_dialog->OnInitDialog();
        return *m_dialog;
    }

    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        ConfigTabCtrl& tabs = m_dialog->TabCtrl();
        for (int i = 0; i < tabs.count(); ++i)
            captions.push_back(tabs.tabText(i).toStdString());
        return captions;
    }

    template <class T>
    T* Find(const char* id) const
    {
        return m_dialog->findChild<T*>(id);
    }

    CQuorinAppCore m_app{{}};
    CScriptedPrompter m_prompter;
    std::unique_ptr<ConfigTabDlg> m_dialog;
};

}  // namespace

TEST_F(ConfigDialog, TabsFollowTheModeAndWhatTheRemoteMeasures)
{
    struct Case {
        ConfigMode mode;
        int32_t deviceKind;
        uint16_t features;
        std::vector<std::string> captions;
    } const cases[] = {
        {kConfigCurrent, kDeviceBrindle, kFeatureNibp, {"General", "Blood Pressure", "Practice Mgmt Software"}},
        {kConfigCurrent, kDeviceTarvikPlus, kFeatureEcg | kFeatureResp | kFeatureNibp | kFeatureCO2 | 0x100,
         {"General", "ECG, Temperature.", "Respiration.", "Blood Pressure", "Apnea", "CO2", "Isoflurane",
          "Sevoflurane", "Practice Mgmt Software"}},
        {kConfigDefaults, kDeviceBrindle, kFeatureNibp,
         std::vector<std::string>(kPageCaptions, kPageCaptions + kConfigPageCount)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.captions.size());
        g_liveData.deviceKind = c.deviceKind;
        g_liveData.featureBits = c.features;
        g_liveData.primaryAgent = 3;
        g_liveData.secondaryAgent = 4;
        ConfigTabDlg& dialog = Open(c.mode);
        EXPECT_EQ(Captions(), c.captions);
        EXPECT_EQ(dialog.objectName(), "4050");
        EXPECT_EQ(dialog.windowTitle(), "Product Configuration");
        const bool current = c.mode == kConfigCurrent;
        EXPECT_EQ(Find<QLabel>("4020")->isVisibleTo(&dialog), current);
        EXPECT_EQ(Find<QPushButton>("5320")->isVisibleTo(&dialog), !current);
        // Every page exists, shown or not.
        for (int page = 0; page < kConfigPageCount; ++page)
            EXPECT_NE(Find<QWidget>(std::to_string(kPageDialogIds[page]).c_str()), nullptr);
    }
}

TEST_F(ConfigDialog, TheCurrentSettingsShowOnlyThePatientsSpeciesAndNoDisplayBox)
{
    m_app.m_config.species = 1;
    g_liveData.featureBits = 0x3FF;
    for (const ConfigMode mode : {kConfigCurrent, kConfigDefaults}) {
        ConfigTabDlg& dialog = Open(mode);
        for (int page = kPageHrTemp; page <= kPageDesflurane; ++page) {
            auto* limits = qobject_cast<ConfigLimitPage*>(dialog.TabCtrl().Page(page));
            ASSERT_NE(limits, nullptr);
            SCOPED_TRACE(page);
            for (int s = 0; s < kSpeciesCount; ++s)
                for (int col = 0; col < limits->ColumnCount(); ++col) {
                    const bool shown = mode == kConfigDefaults || s == 1;
                    EXPECT_EQ(limits->Edit(col, s)->isVisibleTo(limits), shown);
                    EXPECT_EQ(limits->EnableBox(col, s)->isVisibleTo(limits), shown);
                    EXPECT_EQ(limits->Label(col, s)->isVisibleTo(limits), shown);
                }
            if (limits->DisplayBox() != nullptr) {
                EXPECT_EQ(limits->DisplayBox()->isVisibleTo(limits), mode == kConfigDefaults);
            }
        }
    }
}

TEST_F(ConfigDialog, GasEditsStoreWhatIsTypedInTheUnitShownAndOkRoundsToTenths)
{
    m_app.m_config.units[1] = 0;  // halothane in mmHg
    ConfigTabDlg& dialog = Open(kConfigDefaults);
    ConfigWorkingCopy& w = dialog.TabCtrl().WorkingCopy();
    auto* edit = Find<QLineEdit>("7270");  // halothane (I) High, canine
    ASSERT_NE(edit, nullptr);

    edit->clear();
    QTest::keyClicks(edit, "3.5");
    EXPECT_NEAR(w.halothane.value[0][0], 3.5 / kMmHgPerPercent, 1e-6);
    const float typed = w.halothane.value[0][0];
    edit->setText("1a");
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(w.halothane.value[0][0], typed);
    for (const char* empty : {".", "-.", ""}) {
        edit->setText(empty);
        EXPECT_EQ(w.halothane.value[0][0], typed) << empty;
    }

    // A unit switch rewrites every edit, and each slot is its text read back.
    for (const int unit : {1, 0}) {
        auto* radio = Find<QRadioButton>(unit == 1 ? "7590" : "7580");
        radio->click();
        EXPECT_EQ(w.halothane.unit, unit);
        auto* page = qobject_cast<ConfigLimitPage*>(dialog.TabCtrl().Page(kPageHalothane));
        for (int s = 0; s < kSpeciesCount; ++s)
            for (int col = 0; col < 4; ++col) {
                const double shown = page->Edit(col, s)->text().toDouble();
                EXPECT_NEAR(w.halothane.value[col][s], unit == 1 ? shown : shown / kMmHgPerPercent, 1e-6);
            }
    }

    edit->setText("3.5");
    Find<QLineEdit>("7290")->setText("0");  // its Low below it
    dialog.accept();
    ASSERT_TRUE(dialog.Result().has_value());
    EXPECT_EQ(dialog.Result()->config.alarmLimits[0][14].high, 5);
    EXPECT_TRUE(m_prompter.Prompts().empty());
}

TEST_F(ConfigDialog, EnterInAPageKeepsTheDialogOpen)
{
    ConfigTabDlg& dialog = Open(kConfigDefaults);
    dialog.show();
    dialog.TabCtrl().setCurrentIndex(kPageHrTemp);
    auto* page = qobject_cast<ConfigLimitPage*>(dialog.TabCtrl().Page(kPageHrTemp));
    QLineEdit* edit = page->Edit(0, 0);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.Result().has_value());
    dialog.reject();
}
