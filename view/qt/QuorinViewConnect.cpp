// The connect command: a connection thread for a remote, or the demo
// generator; and the calls the connection thread makes into the view.
#include <QApplication>
#include <QMetaObject>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "platform/OsVersion.h"
#include "platform/Thread.h"
#include "view/qt/QuorinView.h"

namespace {

constexpr char kConnectTag[] = "CQuorinView::OnFileConnect";

const std::string& Separator()
{
    static const std::string line(108, '+');
    return line;
}

}  // namespace

// ---- The connection thread's calls, each queued to the UI thread ----

template <class F>
void CQuorinView::ConnectActions::Queue(F&& f)
{
    QMetaObject::invokeMethod(&m_view, std::forward<F>(f), Qt::QueuedConnection);
}

void CQuorinView::ConnectActions::ShowMessageBox(const std::string& text, const std::string& caption, uint32_t type)
{
    Queue([this, text, caption, type] { m_view.Prompter().MessageBox(text, caption, type); });
}

void CQuorinView::ConnectActions::ClearMarkAndBanner()
{
    Queue([this] { m_view.ClearMarkAndBanner(); });
}

void CQuorinView::ConnectActions::CloseRemoteMenu(bool sendMenuIdZero)
{
    Queue([this, sendMenuIdZero] {
        m_view.m_menu.menu.Close(sendMenuIdZero);
        m_view.update();
    });
}

void CQuorinView::ConnectActions::RequestGasServicePoll()
{
    Queue([this] { m_view.m_gasProbe.gasPollRequested = true; });
}

void CQuorinView::ConnectActions::RequestContainerKeepAlive()
{
    g_versionPending = 1;  // the command writer sends it once
}

void CQuorinView::ConnectActions::RequestRemoteVersion()
{
    Queue([this] { m_view.RequestRemoteVersion(); });
}

void CQuorinView::ConnectActions::RestartVersionTimer()
{
    Queue([this] { m_view.RestartVersionTimer(); });
}

void CQuorinView::ConnectActions::ResumeRemoteRecording()
{
    Queue([this] {
        if (g_liveData.deviceKind == kDeviceSelvo && m_view.IsRecording())
            m_view.m_wire.writeQueue.Push("\rRD 1\r");
    });
}

void CQuorinView::ConnectActions::StartCommandWriter()
{
    Queue([this] {
        // A writer left from the last connection ends when its port
        // closed; the new one takes over after it.
        m_view.m_writer.Stop();
        if (!::StartCommandWriter(m_view.m_writer, m_view.m_wire.commandPort, m_view.m_wire.writeQueue,
                                  [this] { return m_view.Tick(); }, LogEventText))
            LogEventText(kConnectTag, "The command writer could not be started.");
    });
}

ConnectEnvironment CQuorinView::MakeConnectEnvironment()
{
    return ConnectEnvironment{
        m_wire.connectPort,
        m_connectActions,
        *this,
        *m_poster,
        m_wire.writeQueue,
        &m_term.terminal,
        m_app.m_config,
        ConnectFlags{m_connection.connected, m_connection.live, m_connection.lastDataTick, m_verboseLogging, m_connection.sharedSpecies, m_connection.connectThreadEnded,
                     &m_app.m_connected},
        [this] { return Tick(); },
        LogEventText,
        m_app.IsBluetoothLibraryLoaded() ? &m_app.Zelbex() : nullptr,
        m_services.osVersion != nullptr ? *m_services.osVersion : SystemOsVersion(),
        m_services.connectWatchMs,
    };
}

// ---- The demo generator's questions ----

bool CQuorinView::DemoConnected()
{
    return !m_connection.stopRequested.load() && m_connection.connected != 0;
}

bool CQuorinView::ExoticHeartRates()
{
    return m_connection.exoticRates != 0;
}

void CQuorinView::SetDemoLive()
{
    m_connection.live = 1;
    m_app.m_connected = 1;
}

// ---- The command ----

void CQuorinView::ClearMarkAndBanner()
{
    m_intake.mark = CMarkStamp();
    m_remote.bannerShown = false;
    m_remote.bannerText.clear();
}

void CQuorinView::OnFileConnect()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool demo = m_app.IsDemoMode();
    // A recording belongs to its patient: the next connection's is new,
    // and is not one a dropped link left to resume.
    if (RecordingWanted()) {
        CloseRecording();
        ResetForNewPatient(m_patient, Now());
    }
    m_rec.recordingResume = false;

    ResetAlarmDisplay();
    m_remote.remoteStop = 0;
    m_remote.tracingsHalted = 0;
    ClearMarkAndBanner();
    CloseRemoteMenu();

    // The one connect state: whatever ended the last connection (the user,
    // or the thread giving up), a press now connects.
    const bool connecting = m_connection.connected == 0;
    // A connection starts the session the trend window's times count from.
    if (connecting && m_rec.recording != nullptr)
        m_rec.recording->SetSessionDate(Now());
    // Commands queued for the last connection are not this one's.
    std::string stale;
    while (m_wire.writeQueue.Pop(stale)) {
    }

    if (m_connection.connected != 0) {
        LogEventText(kConnectTag, "Disconnect from Remote . . .\r\n");
        LogEventText(kConnectTag, Separator());
        m_sounds.soundManager.StopAlarmLoop();
        if (!demo) {
            m_connection.connected = 0;
            m_connectThread->Kill();
            m_gasProbe.gasUseOnConnect.OnUserDisconnect();
        }
        m_wire.viewEvent.Set();
        if (m_wire.link.IsOpen())
            (void)m_wire.link.Close();  // the thread's own close reports a failure
        m_connection.live = 0;
        m_app.m_connected = 0;
        SetConnectionStatus(0);
        update();
        if (!demo)
            g_liveData.featureBits = uint16_t(kFeatureEcg | kFeatureTemp);
    }

    if (demo) {
        LogEventText(kConnectTag, "Toggle Demo Mode connection . . . ");
        m_connection.connected = m_connection.connected != 0 ? 0 : 1;
        m_wire.viewEvent.ResetEvent();
        // Only switching the demo on starts it: the old generator ends
        // first, so there are never two writers.
        if (m_connection.connected != 0) {
            if (m_app.m_config.autoSave != 0 && !IsRecording())
                StartRecording();
            m_writer.Stop();
            DemoWiring wiring;
            wiring.view = this;
            wiring.config = &m_app.m_config;
            wiring.poster = m_poster;
            wiring.window = m_handle;
            wiring.tick = [this] { return Tick(); };
            wiring.seed = TimeOfDaySeed();
            if (!StartDemoGenerator(m_writer, wiring))
                LogEventText(kConnectTag, "The demo generator could not be started.");
        }
    } else if (connecting) {
        m_connection.connected = 1;
        // The dialogs before a connection run here, on the UI thread, after
        // the command has returned.
        QMetaObject::invokeMethod(this, &CQuorinView::StartConnection, Qt::QueuedConnection);
    }
    QApplication::restoreOverrideCursor();
}

void CQuorinView::StartConnection()
{
    const RemoteConfiguration& config = m_app.m_config;
    const bool bluetooth = m_app.IsBluetoothLibraryLoaded() && LoadRelaxed(config.winBluetooth) != 0;
    const bool portNamed = LoadRelaxed(config.portNum) >= 1;
    if (!bluetooth && !portNamed) {
        static constexpr char kText[] =
            "Wireless Remote Com Port Number has not been configured.\nSee Tools->Configure Wireless Remote...";
        LogEventText(kConnectTag, kText);
        Prompter().MessageBox(kText, "Wireless Remote Configuration Error", kMbOk | kMbIconWarning);
        m_connection.connected = 0;
        return;
    }
    ConnectStart start;
    if (bluetooth) {
        int device = 0;
        if (!ChooseBluetoothDevice(device)) {
            LogEventText("CQuorinView::ConnectThread", "Connect to Remote - Cancelled");
            SetConnectionStatus(0);
            m_connection.connected = 0;
            return;
        }
        start.bluetoothDevice = device;
    }
    m_patient.nameEntered = false;
    m_patient.birthDateEntered = false;
    m_patient.breedChosen = false;
    FilePatientInfo(true);
    UpdateTitle();
    // The adaptor's use is counted once the remote has said what it measures.
    m_gasProbe.gasUseOnConnect.OnUserConnect();

    m_wire.viewEvent.ResetEvent();
    LogEventText(kConnectTag, Separator());
    LogEventText(kConnectTag, "Connect to Remote . . . ");
    // The settings the remote may force are restored from this copy when
    // it goes.
    m_app.m_confirmedConfig = m_app.m_config;
    m_connection.sharedSpecies = m_patient.info.speciesCode;
    m_connection.connected = 1;
    // The thread before this one is told to end and waited for.
    if (!m_connectThread->Start(start)) {
        m_connection.connected = 0;
        m_gasProbe.gasUseOnConnect.OnUserDisconnect();
        LogEventText(kConnectTag, "No port is named: no connection was started.");
    }
}
