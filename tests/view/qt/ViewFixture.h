#pragma once
// A view on a fresh application core and live store, its session log in a
// throwaway documents folder, on a poster that outlives it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "platform/qt/QtMessagePoster.h"
#include "view/qt/QuorinView.h"


// The recorder's worker has saved what was queued.
inline bool WaitForIdleRecorder(const CNorqFileRecorder& recorder)
{
    return QTest::qWaitFor([&] { return recorder.State() == CNorqFileRecorder::kIdle && !recorder.HasFile(); },
                           5000);
}

// The small dialogs of the commands, each closed with Escape; the cuff
// dialog with OK on the cuff in force.
class CEscapedCommandDialogs : public ICommandDialogs {
public:
    std::optional<int> EcgSweep(int) override { return std::nullopt; }
    std::optional<int> EcgGain(int) override { return std::nullopt; }
    std::optional<int> EcgBandwidth(int) override { return std::nullopt; }
    std::optional<WaveformChoice> Waveforms(int32_t, uint8_t, uint16_t, const WaveformChoice&) override
    {
        return std::nullopt;
    }
    std::optional<DemoModelChoice> DemoModel(uint8_t, uint16_t, int32_t) override { return std::nullopt; }
    bool Agents() override { return false; }
    bool BpCuff(int32_t) override { return true; }
};

class QuorinViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_documents.isValid());
        setenv("XDG_DOCUMENTS_DIR", m_documents.path().toUtf8().constData(), 1);
        CNorqEventLogger::RearmForTests();
        ResetLiveStore();
        m_app.SetDefaultSettings();
        m_app.m_config = m_app.m_factoryConfig;
        // No port: the view's own connect at start-up only reports that.
        m_app.m_config.portNum = 0;
        m_app.m_config.winBluetooth = 0;
        m_app.SetEpisodeFolder(m_documents.path().toStdString() + "/Norq_Patient_Episodes");
        m_app.SetRecordFolder(m_app.EpisodeFolder());
    }
    void TearDown() override
    {
        m_view.reset();
        CNorqEventLogger::RearmForTests();
        ResetLiveStore();
    }

    CQuorinView& Open(int width, int height, ViewServices services = {})
    {
        services.poster = &m_poster;
        if (services.prompter == nullptr)
            services.prompter = &m_prompter;
        services.wait = [](uint32_t) {};
        services.recorderWakeMs = 5;
        if (services.dialogs == nullptr)
            services.dialogs = &m_dialogs;
        // The patient dialog before a connection is cancelled unless a
        // test answers it.
        if (!services.runPatientDialog)
            services.runPatientDialog = [](CPatientInfoDlg&) { return false; };
        // One view at a time, as in the program: the views share the
        // terminal and the logger, which the old one's shutdown ends.
        m_view.reset();
        m_view = std::make_unique<CQuorinView>(m_app, std::move(services));
        m_view->resize(width, height);
        m_view->OnInitialUpdate();
        Paint();
        return *m_view;
    }

    // A paint, and what it queued.
    void Paint()
    {
        (void)m_view->grab();
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_documents;
    CQuorinAppCore m_app{{}};
    CQtMessagePoster m_poster;
    CScriptedPrompter m_prompter;
    CEscapedCommandDialogs m_dialogs;
    std::unique_ptr<CQuorinView> m_view;
};

