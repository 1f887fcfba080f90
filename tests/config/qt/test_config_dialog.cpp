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

TEST_F(ConfigDialog, FitsA1024By768ScreenWithOkAndCancelInSight)
{
    // The screen less the window's borders and title bar and a task bar.
    const QSize room(1024 - 16, 768 - 40 - 48);
    const struct {
        ConfigMode mode;
        int32_t deviceKind;
        uint16_t features;
    } cases[] = {
        {kConfigDefaults, kDeviceTarvikPlus, 0x3FF},
        {kConfigCurrent, kDeviceTarvikPlus, 0x3FF},
        {kConfigCurrent, kDeviceSelvo, 0x7F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << " " << c.deviceKind);
        g_liveData.deviceKind = c.deviceKind;
        g_liveData.featureBits = c.features;
        g_liveData.primaryAgent = 3;
        g_liveData.secondaryAgent = 4;
        ConfigTabDlg& dialog = Open(c.mode);
        dialog.show();
        EXPECT_LE(dialog.width(), room.width());
        EXPECT_LE(dialog.height(), room.height());
        EXPECT_LE(dialog.minimumSizeHint().width(), room.width());
        EXPECT_LE(dialog.minimumSizeHint().height(), room.height());
        for (const char* id : {"1", "2"}) {
            auto* button = Find<QPushButton>(id);
            EXPECT_TRUE(button->isVisible()) << id;
            EXPECT_TRUE(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size()))) << id;
        }
        dialog.reject();
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
    for (const char* unfinished : {".", ""}) {
        edit->setText(unfinished);
        EXPECT_EQ(w.halothane.value[0][0], typed) << unfinished;
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

// Typed as the user types, over the selected text: what the edit shows
// when OK is pressed is what OK stores. A key that would make the text no
// value is refused; an unfinished text gets the last stored value back.
TEST_F(ConfigDialog, WhatAnEditShowsIsWhatOkStores)
{
    struct Case {
        ConfigPage page;
        int column;          // -1: the initial cuff pressure
        const char* typed;   // "" erases the text
        const char* shown;   // while typing
        const char* atOk;    // once OK has run
        int parameter;       // -1: the initial cuff pressure
        bool high;
        int32_t stored;
    } const cases[] = {
        {kPageHrTemp, 1, "12a", "12", "12", 0, false, 12},
        {kPageHrTemp, 0, "", "", "250", 0, true, 250},
        {kPageHrTemp, 3, "38.55", "38.5", "38.5", 1, false, 1013},     // Celsius, stored in tenths of F
        {kPageHalothane, 0, " 2.0 ", "2.0", "2.0", 14, true, 3},        // mmHg, stored in tenths of a percent
        {kPageBp, 1, "1,5", "15", "15", 5, false, 15},
        {kPageApnea, 0, "6", "6", "30", 4, true, 30},
        {kPageApnea, 0, "65", "6", "30", 4, true, 30},
        {kPageApnea, 0, "45", "45", "45", 4, true, 45},
        {kPageBp, -1, "25x", "25", "25", -1, true, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " on page " + std::to_string(c.page));
        m_app.m_config = m_app.m_factoryConfig;
        m_app.m_config.units[0] = 0;  // Celsius
        m_app.m_config.units[1] = 0;  // halothane in mmHg
        m_app.m_config.alarmLimits[0][0].high = 250;
        m_app.m_config.alarmLimits[0][4].high = 30;
        m_app.m_config.alarmLimits[0][14].low = 0;
        const size_t prompts = m_prompter.Prompts().size();
        ConfigTabDlg& dialog = Open(kConfigDefaults);
        auto* page = qobject_cast<ConfigLimitPage*>(dialog.TabCtrl().Page(c.page));
        QLineEdit* edit = c.column >= 0 ? page->Edit(c.column, 0) : Find<QLineEdit>("4880");
        edit->selectAll();
        if (*c.typed == '\0')
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, c.typed);
        EXPECT_EQ(edit->text().toStdString(), c.shown);
        dialog.accept();
        EXPECT_EQ(edit->text().toStdString(), c.atOk);
        ASSERT_TRUE(dialog.Result().has_value());
        const RemoteConfiguration& stored = dialog.Result()->config;
        const AlarmLimit& limit = stored.alarmLimits[0][c.parameter < 0 ? 0 : c.parameter];
        EXPECT_EQ(c.parameter < 0 ? stored.initialPressure : c.high ? limit.high : limit.low, c.stored);
        EXPECT_EQ(m_prompter.Prompts().size(), prompts);
    }
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
