#include <gtest/gtest.h>

#include <QLineEdit>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/NorqEventLogger.h"
#include "config/qt/ConfigTabDlg.h"
#include "link/LiveData.h"
#include "tests/view/qt/ViewFixture.h"

namespace {

class ViewConfig : public QuorinViewTest {
protected:
    // The view with its dialog run by `drive`, which returns whether OK
    // ended it; what the view queued at its start is dropped.
    CQuorinView& OpenWith(std::function<bool(ConfigTabDlg&)> drive)
    {
        ViewServices services;
        services.runConfigDialog = std::move(drive);
        CQuorinView& view = Open(1200, 800, std::move(services));
        Queued();
        return view;
    }

    std::vector<std::string> Queued()
    {
        std::vector<std::string> texts;
        std::string text;
        while (m_view->WriteQueue().Pop(text))
            texts.push_back(text);
        return texts;
    }

    static std::string LogText()
    {
        CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
        if (logger == nullptr || !logger->WaitForWriter(5000))
            return {};
        std::ifstream file(logger->FullPath());
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

bool TypeInitialPressure(ConfigTabDlg& dialog, const char* text)
{
    dialog.OnInitDialog();
    dialog.findChild<QLineEdit*>("4880")->setText(text);
    dialog.accept();
    return true;
}

}  // namespace

TEST_F(ViewConfig, AnAcceptedConfigurationSendsTheNotchAndAChangedCuffSetUpOnlyWhenIdle)
{
    struct Case {
        const char* name;
        int32_t bpRunning;
        std::vector<std::string> sent;
        bool warned;
    } const cases[] = {
        // The set-up sent again ends with the version request ("sb 1").
        {"idle", 0, {"sl 60\r", "sp 2 300 150\r", "sb 1\r"}, false},
        {"measuring", 1, {"sl 60\r", "sb 1\r"}, true},
    };
    CQuorinView& view = OpenWith([](ConfigTabDlg& dialog) { return TypeInitialPressure(dialog, "150"); });
    g_liveData.featureBits = kFeatureEcg | kFeatureNibp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_app.m_config = m_app.m_factoryConfig;
        m_app.m_config.portNum = 5;  // after the view's start: it stays unconnected
        view.m_bp.bpRunning = c.bpRunning;
        const size_t promptsBefore = m_prompter.Prompts().size();
        ASSERT_TRUE(view.ShowConfigTabDlg());
        EXPECT_EQ(Queued(), c.sent);
        EXPECT_EQ(m_app.m_config.initialPressure, 150);
        EXPECT_TRUE(m_app.m_confirmedConfig == m_app.m_config);
        const auto prompts = m_prompter.Prompts();
        ASSERT_EQ(prompts.size() - promptsBefore, c.warned ? 1u : 0u);
        if (c.warned) {
            EXPECT_EQ(prompts.back().caption, "Configuration Change");
            EXPECT_NE(LogText().find("CQuorinView::ShowConfigTabDlg"), std::string::npos);
            EXPECT_NE(LogText().find(prompts.back().text), std::string::npos);
        }
    }
}

TEST_F(ViewConfig, FactoryDefaultsSendOnlyTheNotchAndCancelChangesNothing)
{
    m_app.m_config.initialPressure = 120;
    m_app.m_config.alarms = 0;
    const RemoteConfiguration before = m_app.m_config;
    bool factory = false;
    CQuorinView& view = OpenWith([&](ConfigTabDlg& dialog) {
        dialog.OnInitDialog();
        if (!factory) {
            dialog.findChild<QLineEdit*>("4880")->setText("150");
            dialog.reject();
            return false;
        }
        m_prompter.QueueAnswer(kIdYes);
        dialog.OnFactoryDefaults();
        return true;
    });
    g_liveData.featureBits = kFeatureEcg | kFeatureNibp;
    EXPECT_FALSE(view.ShowConfigTabDlg());
    EXPECT_TRUE(Queued().empty());
    EXPECT_TRUE(m_app.m_config == before);

    factory = true;
    EXPECT_TRUE(view.ShowConfigTabDlg());
    EXPECT_EQ(Queued(), (std::vector<std::string>{"sl 60\r", "sb 1\r"}));
    EXPECT_EQ(m_app.m_config.initialPressure, m_app.m_factoryConfig.initialPressure);
    EXPECT_EQ(m_app.m_config.alarms, 1);
}

TEST_F(ViewConfig, EditingTheDefaultsKeepsThePatientsSpeciesUnlessSpeciesChanged)
{
    int32_t newSpecies = -1;
    CQuorinView& view = OpenWith([&](ConfigTabDlg& dialog) {
        dialog.OnInitDialog();
        if (newSpecies >= 0)
            dialog.TabCtrl().WorkingCopy().species = newSpecies;
        dialog.accept();
        return true;
    });
    view.SetDisplayMode(1);
    m_app.m_config.species = 0;
    view.m_configMode = 0;
    ASSERT_TRUE(view.ShowConfigTabDlg());
    EXPECT_EQ(view.m_patient.info.speciesCode, 1);

    newSpecies = 2;
    ASSERT_TRUE(view.ShowConfigTabDlg());
    EXPECT_EQ(m_app.m_config.species, 2);
    EXPECT_EQ(view.m_patient.info.speciesCode, 2);
}
