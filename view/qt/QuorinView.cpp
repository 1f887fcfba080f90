#include "view/qt/QuorinView.h"
#include "platform/qt/QtShellLauncher.h"

#include <QApplication>
#include <QLabel>
#include <chrono>
#include <thread>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "link/EcgChain.h"
#include "link/GasBlock.h"
#include "link/LiveData.h"
#include "link/ProgrammingFeed.h"
#include "patient/PatientDates.h"
#include "platform/Thread.h"
#include "platform/qt/Monitors.h"
#include "platform/qt/QtSoundPlayer.h"
#include "view/DisplayPar.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/ViewBitmaps.h"
#include "view/qt/ViewLaunchHost.h"
#include "view/qt/ViewTimers.h"

namespace {

constexpr char kProgramTitle[] = "Quorin";
// The periodic 100-ms timer that hides the beat icon, beside the numbered
// ones in the same table under an id no numbered timer uses.
constexpr int kMmTimer = 0x4D4D;
constexpr uint32_t kClockMs = 500;
constexpr uint32_t kMmTimerMs = 100;
constexpr uint32_t kBpTimerMs = 1000;

// A terminal left from an earlier view goes; this view's is made.
CTK_TermDlg* NewTerminal(ITermDlgOwner& owner)
{
    CTK_TermDlg::Destroy();
    return CTK_TermDlg::Instance(owner);
}

}  // namespace

CQuorinView::CQuorinView(CQuorinAppCore& app, ViewServices services, QWidget* parent)
    : QWidget(parent),
      m_app(app),
      m_services(std::move(services)),
      m_sounds(m_services.soundPlayer == nullptr ? MakeSoundPlayer() : nullptr, m_services.soundPlayer),
      m_ownPoster(m_services.poster == nullptr ? std::make_unique<CQtMessagePoster>() : nullptr),
      m_poster(m_services.poster != nullptr ? m_services.poster : m_ownPoster.get()),
      m_handle(m_poster->Register(this)),
      m_term(NewTerminal(*this)),
      m_wire(m_poster, m_handle, LogEventText)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Payloads of posts that are never handled (the view closed first).
    m_poster->SetPayloadDeleter(m_messageIds.defaultCom, [](const PostedMessage& message) {
        if ((message.wParam & 0xFFFF) == kComRemoteText)
            delete reinterpret_cast<std::string*>(message.lParam);
    });
    m_poster->SetPayloadDeleter(m_messageIds.displayPar, [](const PostedMessage& message) {
        delete reinterpret_cast<DisplayPar*>(message.wParam);
    });
    m_poster->SetPayloadDeleter(m_messageIds.setWindowText, [](const PostedMessage& message) {
        delete reinterpret_cast<std::string*>(message.lParam);
    });
    m_poster->SetPayloadDeleter(m_messageIds.launchBox, [](const PostedMessage& message) {
        EndLaunchBox(reinterpret_cast<LaunchBoxPost*>(message.lParam));
    });
    // One launcher for the review programs and the Help commands.
    if (!m_services.shell)
        m_services.shell = std::make_shared<CQtShellLauncher>();
    m_launchHost = MakeLaunchHost(m_services.shell, *m_poster, m_handle, m_messageIds.launchBox);
    m_wire.link.SetTerminal(&m_term.terminal);
    m_wire.link.SetProgrammingFeed(m_term.termDlg);
    m_wire.connectPort.SetTerminal(m_term.termDlg);
    // "COM5" reaches its device through the settings' port map.
    if (const IProfileStore* store = m_app.ProfileStore()) {
        m_wire.portMap = std::make_unique<CProfilePortMap>(*store);
        m_wire.link.SetPortMap(m_wire.portMap.get());
    }
    m_connectThread = std::make_unique<CConnectThread>(MakeConnectEnvironment());
    CreateRecording();
    if (!m_sounds.soundManager.LoadSounds())
        LogEventText("CQuorinView::CQuorinView", "The sounds could not be made.");

    m_gainIndex = 1;
    m_connection.connectThreadEnded = true;
    m_connection.writeThreadEnded = true;
    m_connection.stopRequested = false;

    if (CNorqEventLogger* logger = CNorqEventLogger::GetInstance()) {
        logger->LogSessionStarted(kProgramTitle, m_app.VersionText());
        m_logging = true;
    }

    m_timing.timers = new CViewTimers(
        [this](int id) {
            if (id == kMmTimer)
                MmTimerProc();
            else
                OnTimer(id);
        },
        this);
}

std::unique_ptr<ISoundPlayer> CQuorinView::MakeSoundPlayer()
{
    // Without an audio output the alarms still work on the screen; the
    // status bar says that they are silent.
    return std::make_unique<CQtSoundPlayer>(
        [](const std::string& text) { LogEventText("CQuorinView::SoundPlayer", text); },
        [this] {
            if (m_services.frame != nullptr)
                m_services.frame->SetStatusMessage(kAlarmsSilentText);
        });
}

CQuorinView::~CQuorinView()
{
    // The frame's bars may be gone before the view: the closing recording
    // tells them nothing.
    m_services.frame = nullptr;
    // A launch thread that is still running shows nothing more.
    m_launchHost->Close();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunViewShutdown(*this);
    QApplication::restoreOverrideCursor();
}

RemoteConfiguration& CQuorinView::Config()
{
    return m_app.m_config;
}

uint32_t CQuorinView::Tick() const
{
    return m_services.tick ? m_services.tick() : GetTickCount();
}

void CQuorinView::OnInitialUpdate()
{
    RemoteConfiguration& config = Config();
    LiveData& live = g_liveData;
    const bool demo = m_app.IsDemoMode();
    m_rec.startupPending = true;
    m_patient.nameEntered = false;
    m_patient.birthDateEntered = false;
    m_patient.breedChosen = false;

    m_strips.roles.stripCount = 4;
    if (LoadRelaxed(config.checkForUpdates) != 0 && m_services.checkForUpdates)
        m_services.checkForUpdates();

    UpdateTitle();

    const int32_t species = std::clamp(LoadRelaxed(config.species), 0, kSpeciesCount - 1);
    m_patient.info.speciesCode = species;
    m_patient.info.species = kSpeciesNames[species];
    m_patient.info.breed.clear();
    m_patient.info.breedNumber.clear();
    StoreRelaxed(config.hrFromSpO2, LoadRelaxed(m_app.m_factoryConfig.hrFromSpO2));
    live.hrFromSpO2Setting = LoadRelaxed(config.hrFromSpO2);

    ResetWaveformStrips();
    m_strips.grid = QImage();
    m_plan.viewWidth = 500;
    m_plan.viewHeight = 300;

    m_pane.beatBitmap = LoadBitmapResource(kBitmapQrsHeart);
    m_pane.bpOffBitmap = LoadBitmapResource(kBitmapBpOff);
    m_pane.toneBitmaps.clear();
    for (const int id : {kBitmapAlarmTonesOff, kBitmapAlarmsOff, kBitmapAlarmsOn})
        m_pane.toneBitmaps.emplace_back(id, LoadBitmapResource(id));

    live.showN2OSetting = LoadRelaxed(config.showN2O);
    live.ambientPressure = kStandardAmbientPressure;
    live.featureBits = uint16_t(kFeatureEcg | kFeatureTemp);
    live.handledFeatureBits = uint16_t(kFeatureEcg | kFeatureTemp);
    for (auto& value : live.numerics)
        value = 0;

    m_plan.bandHeight = 0;
    m_bp.bpRunning = 0;
    m_plan.initialUpdateDone = true;
    LayoutNumerics();
    SetAlarmSilence(LoadRelaxed(config.alarms));

    CountMonitors();

    if (demo) {
        StoreRelaxed(config.rMarker, 1);
        StoreRelaxed(config.qrsTone, 1);
        SetAlarmSilence(1);
        StoreRelaxed(config.alarmTones, 0);
        EnableAlarmTone(false);
        live.featureBits = uint16_t(live.featureBits | kFeatureNibp | kFeatureCO2);
        live.deviceKind = kDeviceTarvikPlus;
        live.gasModuleKind = 3;
        for (auto& available : live.agentAvailable)
            available = 1;
        StoreRelaxed(config.showHalothane, 1);
        StoreRelaxed(config.showEnflurane, 1);
        StoreRelaxed(config.showDesflurane, 1);
        StoreRelaxed(config.showN2O, 1);
    }

    live.primaryAgent = uint8_t(LoadRelaxed(config.primaryAgent));
    live.secondaryAgent = uint8_t(LoadRelaxed(config.secondaryAgent));
    LayoutPanes();

    m_sounds.soundManager.SetRow(LoadRelaxed(config.soundProfile));

    const std::string today = DateStamp(Now());
    SetPatientIdText(today);
    m_patient.info.patientId = today;

    // Status 0 restores the settings in force from the confirmed copy: the
    // copy is taken here, so that the demo's settings above survive it.
    m_app.m_confirmedConfig = m_app.m_config;
    SetConnectionStatus(0);
    UpdateTitle();

    m_timing.timers->SetTimer(kClockTimer, kClockMs);
    m_timing.timers->SetTimer(kMmTimer, kMmTimerMs);

    if (demo) {
        const bool exotic = m_services.chooseDemoModel ? m_services.chooseDemoModel()
                                                       : RunDemoModelChoice() && m_connection.exoticRates != 0;
        m_connection.exoticRates = exotic ? 1 : 0;
        StoreRelaxed(config.heartRatesAbove400, exotic ? 1 : 0);
        if (exotic) {
            StoreRelaxed(config.bandwidth, 0);
            StoreRelaxed(config.qrsTone, 0);
            StoreRelaxed(config.showSpO2, 0);
            StoreRelaxed(config.showO2, 0);
            StoreRelaxed(config.showResp, 0);
            StoreRelaxed(config.ecgSweep, 8);
        }
    }
    g_hrDetectMode = species == 2 ? 2 : LoadRelaxed(config.heartRatesAbove400) == 1 ? 1 : 0;

    m_plan.layoutRequested = true;
    update();
    OnFileConnect();

    m_printing.printThrottle = CPrintThrottle(CPrintThrottle::Clock::now());
    if (demo && live.deviceKind == kDeviceBrindle) {
        m_bp.bpRunning = 1;
        m_bp.bpCycle.Start();
        live.statusFlags = live.statusFlags | (1u << 24);
        m_timing.timers->SetTimer(kBpCycleTimer, kBpTimerMs);
        ShowBpPictures();
    }
    m_rec.startupPending = false;
}

void CQuorinView::CountMonitors()
{
    const CMonitors monitors;
    std::vector<LayerSize> sizes;
    for (int i = 0; i < monitors.GetCount() && i < 2; ++i) {
        const QRect rect = monitors.GetMonitor(i)->GetMonitorRect();
        sizes.push_back(LayerSize{rect.width(), rect.height()});
    }
    const LayerSize size = MaxStripLayerSize(sizes, m_plan.metrics.paneWidth);
    m_strips.maxStripWidth = size.width;
    m_strips.maxStripHeight = size.height;
    update();
}

void CQuorinView::OnSize(int cx, int cy)
{
    if (!m_plan.initialUpdateDone)
        return;
    m_plan.viewHeight = cy;
    m_intake.numerics.ForceRewrite();
    m_plan.viewWidth = cx;
    // Also before the first data: the pane follows the window at once
    // rather than at a later paint, and the layers are sized once.
    LayoutNumerics();
    LayoutPanes();
}

void CQuorinView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    OnSize(width(), height());
}

void CQuorinView::UpdateTitle()
{
    const std::optional<std::string> title =
        TitleText(m_app.IsDemoMode(), g_liveData.deviceKind, m_connection.connectionStatus, m_patient.info.name);
    if (!title)
        return;
    m_title = *title;
    m_document.SetTitle(m_title);
    if (QWidget* frame = window(); frame != nullptr && frame != this)
        frame->setWindowTitle(QString::fromStdString(m_title));
}

void CQuorinView::UpdateLinkIcon()
{
    const LinkIconAction action =
        m_pane.linkIcon.Update(m_connection.live != 0, m_app.IsDemoMode(), m_connection.stopRequested.load(), g_liveData.batteryLevel);
    QLabel* battery = m_pane.batteryIcon;
    if (battery == nullptr)
        return;
    if (action.loadIcon)
        battery->setPixmap(LoadIconResource(*action.loadIcon));
    battery->setVisible(action.visible);
}

void CQuorinView::MmTimerProc()
{
    QLabel* beat = m_pane.beatIcon;
    if (Tick() >= m_timing.beatIconDeadline && beat != nullptr)
        beat->hide();
}


ViewMessageIds::ViewMessageIds()
    : defaultCom(RegisterWindowMessage("CSerialMoval_DefaultComMsg")),
      updateConnectionStatus(RegisterWindowMessage("CDispView_UpdateConnectionStatus")),
      displayPar(RegisterWindowMessage("CDispView_DisplayPar")),
      resetWaveforms(RegisterWindowMessage("CDispView_ResetWaveforms")),
      invalidate(RegisterWindowMessage("CDispView_Invalidate")),
      enableAlarmTone(RegisterWindowMessage("CDispView_EnableAlarmTone")),
      setDocumentTitle(RegisterWindowMessage("CDispView_SetDocumentTitle")),
      setWindowText(RegisterWindowMessage("CDispView_SetWindowText")),
      closeRecording(RegisterWindowMessage("CDispView_CloseRecording")),
      programmingComplete(RegisterWindowMessage(kProgrammingCompleteMessage)),
      launchBox(RegisterWindowMessage("CQuorinView_LaunchBox"))
{
}

bool CQuorinView::event(QEvent* event)
{
    if (event->type() != CPostedEvent::EventType())
        return QWidget::event(event);
    auto& posted = static_cast<CPostedEvent&>(*event);
    const PostedMessage& message = posted.Message();
    if (message.message == m_messageIds.defaultCom) {
        // The remote's text is the handler's to free.
        const bool text = (message.wParam & 0xFFFF) == kComRemoteText;
        OnDefaultComMsg(message.wParam, text ? posted.TakePayload().lParam : message.lParam);
    } else if (message.message == m_messageIds.programmingComplete) {
        if (m_services.programmingComplete)
            m_services.programmingComplete();
        else
            m_term.termDlg->OnProgrammingComplete();
    } else if (message.message == m_messageIds.launchBox) {
        ShowLaunchBox(posted);
    } else {
        OnViewMessage(message.message, posted);
    }
    return true;
}

// ---- Shutdown steps ----

void CQuorinView::LeavePoster()
{
    m_poster->Unregister(m_handle);
}

void CQuorinView::KillMmTimer()
{
    m_timing.timers->KillTimer(kMmTimer);
}

void CQuorinView::RequestStop()
{
    m_connection.connected = 0;
    m_wire.viewEvent.Set();
    m_connection.stopRequested = true;
    m_connectThread->Kill();
    m_writer.RequestStop();
}

bool CQuorinView::PortOpen()
{
    return m_wire.link.IsOpen();
}

void CQuorinView::ClosePort()
{
    (void)m_wire.link.Close();  // the closing view has nobody to tell of a failure
}

void CQuorinView::Wait(uint32_t ms)
{
    if (m_services.wait)
        m_services.wait(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool CQuorinView::WorkersEnded()
{
    return m_connection.connectThreadEnded.load() && m_connection.writeThreadEnded.load();
}

void CQuorinView::StopPacketProcessor()
{
    m_wire.link.StopPacketProcessor();
}

void CQuorinView::ReleaseDrawing()
{
    m_timing.timers->KillTimer(kClockTimer);
    m_strips.grid = QImage();
    for (QImage& layer : m_strips.stripLayers)
        layer = QImage();
    for (QImage& backdrop : m_strips.backdrops)
        backdrop = QImage();
}

void CQuorinView::CloseLogger()
{
    if (!m_logging)
        return;
    if (CNorqEventLogger* logger = CNorqEventLogger::GetInstance())
        logger->LogSessionEnded(kProgramTitle, m_app.VersionText());
    CNorqEventLogger::Shutdown();
    m_logging = false;
}
