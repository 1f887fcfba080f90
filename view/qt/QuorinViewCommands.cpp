// The commands of the menu and the tool bar: one rule each for enabled and
// checked (CommandRules), one handler each here.
#include <chrono>
#include <thread>

#include "app/MenuCommands.h"
#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/EcgChain.h"
#include "config/qt/QtCommandDialogs.h"
#include "link/RemoteCommands.h"
#include "view/CommandActions.h"
#include "view/CommandRules.h"
#include "view/ConfigApply.h"
#include "view/ConnectMachine.h"
#include "view/NumericFormat.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewTimers.h"

using namespace menu;

namespace {

constexpr uint32_t kVersionPollMs = 15000;

}  // namespace

ICommandDialogs& CQuorinView::Dialogs()
{
    if (m_services.dialogs != nullptr)
        return *m_services.dialogs;
    if (!m_own.ownDialogs)
        m_own.ownDialogs = std::make_unique<CQtCommandDialogs>(m_app, this);
    return *m_own.ownDialogs;
}

void CQuorinView::Pause(uint32_t ms)
{
    if (m_services.commandPause)
        m_services.commandPause(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

CommandContext CQuorinView::MakeCommandContext() const
{
    const LiveData& live = g_liveData;
    CommandContext c;
    c.deviceKind = live.deviceKind;
    c.featureBits = live.featureBits;
    c.live = IsLiveOrDemo();
    c.demoMode = m_app.IsDemoMode();
    c.connected = m_connection.connected != 0;
    c.movalTextMode = live.movalTextMode != 0;
    c.terminalOpen = m_term.terminal.IsShown();
    c.remoteStop = m_remote.remoteStop != 0;
    c.recording = IsRecording();
    c.bpRunning = m_bp.bpRunning != 0;
    c.tracingsHalted = m_remote.tracingsHalted != 0;
    c.exoticHeartRates = m_connection.exoticRates != 0;
    c.verboseLogging = m_verboseLogging != 0;
    c.hasEpisodes = HasEpisodes();
    c.ecgProgramsPresent = m_app.EcgProgramsPresent();
    c.gasModuleKind = live.gasModuleKind;
    c.dentalScalarRejection = live.dentalScalarRejection;
    c.config = &m_app.m_config;
    return c;
}

CommandState CQuorinView::CommandStateOf(uint32_t id) const
{
    return CommandRule(id, MakeCommandContext());
}

void CQuorinView::UpdateCommandStates()
{
    IFrameControls* frame = m_services.frame;
    if (frame == nullptr)
        return;
    const CommandContext context = MakeCommandContext();
    for (const uint32_t id : ViewCommandIds()) {
        const CommandState state = CommandRule(id, context);
        frame->SetCommandState(id, state.enabled, state.checked);
        if (state.toolbarImage != 0)
            frame->SetCommandImage(id, state.toolbarImage);
    }
    // The toggle buttons show their state; a greyed one shows off.
    const RemoteConfiguration& config = m_app.m_config;
    const CommandState marker = CommandRule(kRWaveMarker, context);
    frame->SetRWaveMarkerButton(marker.enabled && LoadRelaxed(config.rMarker) != 0);
    const CommandState qrs = CommandRule(kQrsTone, context);
    frame->SetQrsToneButton(qrs.enabled && LoadRelaxed(config.qrsTone) != 0);
    // Image 10 is the idle button: shown when not live and while not
    // recording.
    frame->SetRecordingButton(!context.live || !context.recording);
    frame->SetTracingsButton(!context.live || context.demoMode || !context.tracingsHalted);
    ShowAlarmButtons(*frame, context);
}

void CQuorinView::OnCommand(uint32_t id)
{
    if (!CommandStateOf(id).enabled)
        return;
    RunCommand(id);
    UpdateCommandStates();
}

void CQuorinView::RunCommand(uint32_t id)
{
    RemoteConfiguration& config = Config();
    LiveData& live = g_liveData;
    switch (id) {
    case kConnect: OnFileConnect(); break;
    case kNewPatient: OnNewPatient(); break;
    case kPatientInformation:
        FilePatientInfo(false);
        UpdateTitle();
        break;
    case kPrint:
    case kPrintPreview:
    case kPrintSetup:
    case kPrintDirect:
    case kPrintDefault:
    case kPrintPreviewFramework: PrintCommand(id); break;
    case kGrid:
        StoreRelaxed(config.grid, LoadRelaxed(config.grid) != 0 ? 0 : 1);
        update();
        break;
    case kRWaveMarker: StoreRelaxed(config.rMarker, LoadRelaxed(config.rMarker) != 0 ? 0 : 1); break;
    case kQrsTone: StoreRelaxed(config.qrsTone, LoadRelaxed(config.qrsTone) != 0 ? 0 : 1); break;
    case kTrend:
        if (IsLiveOrDemo())
            OpenTrendWindow();
        break;
    case kWaveforms: OnWaveforms(); break;
    case kAtmosphericPressure:
        if ((live.featureBits & kFeatureCO2) != 0)
            Prompter().MessageBox(AtmosphericPressureText(live.ambientPressure), "Atmospheric Pressure",
                                  kMbOk | kMbIconWarning);
        break;
    case kSweepCycle:
        StoreRelaxed(config.ecgSweep, NextSweep(LoadRelaxed(config.ecgSweep)));
        RefreshSweepGainCaption();
        break;
    case kGainCycle:
        m_gainIndex = NextGain(m_gainIndex);
        StoreRelaxed(config.gain[LimitSpecies(m_patient.info.speciesCode)], m_gainIndex);
        RefreshSweepGainCaption();
        break;
    case kSweepDialog: {
        const int32_t sweep = LoadRelaxed(config.ecgSweep);
        const int radio = sweep == 2 ? 1 : sweep == 4 ? 2 : sweep == 8 ? 3 : 0;
        if (const auto chosen = Dialogs().EcgSweep(radio); chosen && *chosen >= 0 && *chosen <= 3) {
            StoreRelaxed(config.ecgSweep, 1 << *chosen);
            RefreshSweepGainCaption();
        }
        break;
    }
    case kGainDialog:
        if (const auto chosen = Dialogs().EcgGain(m_gainIndex); chosen && *chosen >= 0 && *chosen <= 4) {
            m_gainIndex = *chosen;
            StoreRelaxed(config.gain[LimitSpecies(m_patient.info.speciesCode)], m_gainIndex);
            RefreshSweepGainCaption();
        }
        break;
    case kFilterDialog:
        // Any stored value but 0 is the narrow filter, as the toggle reads it.
        if (const auto radio = Dialogs().EcgBandwidth(LoadRelaxed(config.bandwidth) != 0 ? 0 : 1))
            SetBandwidth(1 - *radio);
        break;
    case kBandwidth: SetBandwidth(LoadRelaxed(config.bandwidth) != 0 ? 0 : 1); break;
    case kDental: ToggleDental(); break;
    case kHrFromSpO2: {
        const int32_t on = LoadRelaxed(config.hrFromSpO2) != 0 ? 0 : 1;
        StoreRelaxed(config.hrFromSpO2, on);
        live.hrFromSpO2Setting = uint8_t(on);
        break;
    }
    case kAlarms: OnToggleAlarms(); break;
    case kSilenceAlarm: OnSilenceAlarm(); break;
    case kZeroCo2: ZeroCo2Probe(); break;
    case kBloodPressure: ToggleBloodPressure(); break;
    case kReview: ReviewEpisode(); break;
    case kRecord: ToggleRecording(); break;
    case kPlayHalt: OnDefaultComMsg(kComRemoteStatus | (6u << 16), 0); break;
    case kMarkEvent: OnDefaultComMsg(kComRemoteStatus | (5u << 16), 0); break;
    case kDemoConfiguration: OnDemoConfiguration(); break;
    case kVerboseLogging: m_verboseLogging = m_verboseLogging != 0 ? 0 : 1; break;
    case kAgents:
        if (Dialogs().Agents()) {
            m_intake.numerics.ForceRewrite();
            live.primaryAgent = uint8_t(LoadRelaxed(config.primaryAgent));
            live.secondaryAgent = uint8_t(LoadRelaxed(config.secondaryAgent));
            live.handledFeatureBits = 0;
            ApplyFeatureChange();
        }
        break;
    case kService: OnServiceCommand(); break;
    case kDefaultConfiguration: {
        m_configMode = 0;
        const RemoteConfiguration before = m_app.m_config;
        const bool accepted = ShowConfigTabDlg();
        ResetAlarmDisplay();
        // Only an accepted dialog becomes the stored defaults.
        if (accepted) {
            m_app.m_storedConfig = DefaultsToStore(m_app.m_storedConfig, before, m_app.m_config, m_app.IsDemoMode());
            if (!m_app.SaveSettings())
                LogEventText("CQuorinView::OnEditDefaultConfiguration", "The settings could not be saved.");
        }
        break;
    }
    case kCurrentConfiguration:
        m_configMode = 1;
        StoreRelaxed(config.species, m_patient.info.speciesCode);
        ShowConfigTabDlg();
        ResetAlarmDisplay();
        break;
    case kVetInformation: OnEditVetInfo(); break;
    case kAbout:
        if (m_services.about)
            m_services.about();
        break;
    case kCheckForUpdates:
        if (m_services.checkForUpdatesNow)
            m_services.checkForUpdatesNow();
        break;
    default: OtherCommand(id); break;
    }
}

void CQuorinView::RefreshSweepGainCaption()
{
    if (CColorStatic* box = SingleBoxAt(kBoxSweepGain)) {
        const LiveData& live = g_liveData;
        const std::string text = FormatSweepGainText(LoadRelaxed(m_app.m_config.ecgSweep), m_gainIndex,
                                                     live.deviceKind, live.featureBits,
                                                     live.dentalScalarRejection == 1);
        box->setText(QString::fromStdString(text));
    }
}

void CQuorinView::SetBandwidth(int32_t bandwidth)
{
    StoreRelaxed(Config().bandwidth, bandwidth);
    g_ecgBandwidthFlag = bandwidth != 0 ? 1 : 0;
    if (CColorStatic* box = SingleBoxAt(kBoxFilter))
        box->setText(QString::fromStdString(FormatFilterText(bandwidth)));
}

void CQuorinView::ToggleDental()
{
    LiveData& live = g_liveData;
    // The command's argument is the opposite of the new flag.
    if (live.dentalScalarRejection == 1) {
        live.dentalScalarRejection = 0;
        m_wire.writeQueue.Push(kCmdDentalOn);
    } else {
        live.dentalScalarRejection = 1;
        m_wire.writeQueue.Push(kCmdDentalOff);
    }
    Pause(100);
    RefreshSweepGainCaption();
}

void CQuorinView::ZeroCo2Probe()
{
    if (!IsLiveOrDemo() || (g_liveData.featureBits & kFeatureCO2) == 0)
        return;
    uint8_t gas[kGasStatusSize];
    for (int i = 0; i < kGasStatusSize; ++i)
        gas[i] = g_gasStatus[i];
    const ProbeZeroing zeroing = DecideProbeZeroing(gas, m_gasProbe.probeConnectedMs, g_liveData.co2ProbeState);
    using Box = ProbeZeroing::Box;
    bool send = false;
    switch (zeroing.box) {
    case Box::None: return;
    case Box::NotReady:
    case Box::WarmingUp:
        Prompter().MessageBox(zeroing.text, zeroing.caption, kMbOk | kMbIconWarning);
        return;
    case Box::Instructions:
        Prompter().MessageBox(zeroing.text, zeroing.caption, kMbOk | kMbIconWarning);
        send = true;
        break;
    case Box::Ask:
        send = Prompter().MessageBox(zeroing.text, zeroing.caption, kMbOkCancel | kMbIconWarning) == kIdOk;
        break;
    }
    if (!send)
        return;
    m_wire.writeQueue.Push(kCmdGasProbeZero);
    Prompter().MessageBox(kProbeZeroSent, kProbeZeroSentCaption, kMbOk | kMbIconWarning);
}

void CQuorinView::StopBloodPressureCommon()
{
    m_bp.bpRunning = 0;
    m_bp.bpStatus.AnimationsStopped();
    ShowBpPictures();
    m_bp.bpCuffAsked = 1;
}

void CQuorinView::ToggleBloodPressure()
{
    LiveData& live = g_liveData;
    RemoteConfiguration& config = Config();
    const int32_t species = LimitSpecies(m_patient.info.speciesCode);
    const bool demo = m_app.IsDemoMode();
    if (demo)
        m_timing.timers->KillTimer(kBpErrorTimer);
    else
        m_bp.bpStatus.ClearPeriods();
    if (m_bp.bpRunning != 0) {
        if (demo) {
            m_timing.timers->KillTimer(kBpCycleTimer);
            m_bp.bpCycle.Stop();
            live.statusFlags = live.statusFlags & ~(CBpStatus::kMeasuringBit | CBpStatus::kCycleBit);
        } else {
            m_timing.timers->KillTimer(kBpErrorTimer);
            m_wire.writeQueue.Push(kCmdBpStop);
            Pause(333);
        }
        StopBloodPressureCommon();
        return;
    }
    if (m_bp.bpCuffAsked != 0 && !Dialogs().BpCuff(species))
        return;
    // The caption names the cuff the dialog left, the one the remote is sent.
    const int32_t cuff = LoadRelaxed(config.cuffSize[species]);
    if (const auto text = BpCuffCaption(cuff, demo); text) {
        if (CColorStatic* caption = CaptionBox(kGroupBloodPressure))
            caption->setText(QString::fromStdString(*text));
    }
    if (demo) {
        live.statusFlags = live.statusFlags | CBpStatus::kCycleBit;
        m_timing.timers->SetTimer(kBpCycleTimer, 10);
        m_bp.bpCycle.Start();
    } else {
        m_wire.writeQueue.Push(::BpSetupCommand(config, m_patient.info.speciesCode));
        m_wire.writeQueue.Push(kCmdBpStart);
        Pause(333);
        m_timing.timers->SetTimer(kBpErrorTimer, 3000);
    }
    m_bp.bpRunning = 1;
    m_bp.bpCuffAsked = 1;
    ShowBpPictures();
}

void CQuorinView::OnWaveforms()
{
    RemoteConfiguration& config = Config();
    const LiveData& live = g_liveData;
    WaveformChoice shown;
    shown.showSpO2 = LoadRelaxed(config.showSpO2);
    shown.showResp = LoadRelaxed(config.showResp2);
    shown.showO2 = LoadRelaxed(config.showO2);
    const auto chosen = Dialogs().Waveforms(live.deviceKind, live.gasModuleKind, live.featureBits, shown);
    if (!chosen)
        return;
    StoreRelaxed(config.showSpO2, chosen->showSpO2);
    StoreRelaxed(config.showResp, chosen->showResp);
    StoreRelaxed(config.showResp2, chosen->showResp);
    StoreRelaxed(config.showO2, chosen->showO2);
    ResetWaveformStrips();
    update();
}

void CQuorinView::ToggleShowSpO2()
{
    RemoteConfiguration& config = Config();
    StoreRelaxed(config.showSpO2, LoadRelaxed(config.showSpO2) != 0 ? 0 : 1);
    ResetWaveformStrips();
    update();
}

void CQuorinView::ToggleShowResp()
{
    RemoteConfiguration& config = Config();
    const int32_t on = LoadRelaxed(config.showResp2) != 0 ? 0 : 1;
    StoreRelaxed(config.showResp2, on);
    StoreRelaxed(config.showResp, on);
    ResetWaveformStrips();
    update();
}

bool CQuorinView::RunDemoModelChoice()
{
    LiveData& live = g_liveData;
    RemoteConfiguration& config = Config();
    m_connection.exoticRates = 0;
    const auto chosen = Dialogs().DemoModel(live.gasModuleKind, live.featureBits, live.deviceKind);
    if (!chosen)
        return false;
    m_connection.exoticRates = chosen->exoticHeartRates ? 1 : 0;
    live.gasModuleKind = chosen->gasModuleKind;
    live.featureBits = chosen->featureBits;
    live.deviceKind = chosen->deviceKind;
    switch (chosen->gasModuleKind) {
    case 0: live.primaryAgent = 4; break;
    case 1: live.primaryAgent = 3; break;
    case 2: live.primaryAgent = uint8_t(LoadRelaxed(config.primaryAgent)); break;
    case 3:
        live.primaryAgent = uint8_t(LoadRelaxed(config.primaryAgent));
        live.secondaryAgent = uint8_t(LoadRelaxed(config.secondaryAgent));
        break;
    default: break;
    }
    return true;
}

void CQuorinView::OnDemoConfiguration()
{
    if (!RunDemoModelChoice())
        return;
    // The pane is built anew for the chosen model.
    m_intake.numerics.ForceRewrite();
    LayoutNumerics();
    LayoutPanes();
    UpdateTitle();
}

void CQuorinView::OnServiceCommand()
{
    OnServiceTerminal();
}

void CQuorinView::OtherCommand(uint32_t id)
{
    switch (id) {
    case kExportSettings: OnExportSettings(); break;
    case kImportSettings: OnImportSettings(); break;
    case kManual: OnViewManual(); break;
    case kSupportWebsite: OnSupportWebsite(); break;
    case kGuidelines: OnMonitoringGuidelines(); break;
    case kQuickSupport: OnQuickSupport(); break;
    default: break;
    }
}

// ---- The remote's version ----

void CQuorinView::SetMovalTextMode(uint8_t value)
{
    m_term.terminal.ClearReceiveBuffer();
    g_liveData.movalTextMode = value;
}

void CQuorinView::RequestRemoteVersion()
{
    if (m_wire.link.StreamProtocol() == 1) {
        m_wire.writeQueue.Push(kCmdVersionRequest);
        m_timing.timers->SetTimer(kGasTimer, kVersionPollMs);
    } else {
        m_term.terminal.ClearReceiveBuffer();
        g_liveData.movalTextMode = 0;
        g_versionPending = 1;
        RestartVersionTimer();
    }
    m_wire.writeQueue.Push(kCmdSb1);
}

void CQuorinView::RestartVersionTimer()
{
    m_timing.timers->KillTimer(kVersionTimer);
    m_timing.timers->SetTimer(kVersionTimer, kVersionPollMs);
}

void CQuorinView::VersionTimerProc()
{
    const VersionPoll poll = DecideVersionPoll(g_liveData.deviceKind, RemoteVersionMatched());
    g_liveData.movalTextMode = poll.movalTextMode;
    if (poll.requestText)
        m_wire.writeQueue.Push(kCmdVersionRequest);
    if (poll.requestFramed)
        g_versionPending = 1;
    if (!poll.keepPolling)
        m_timing.timers->KillTimer(kVersionTimer);
}

bool CQuorinView::RemoteVersionMatched() const
{
    return m_term.termDlg != nullptr && m_term.termDlg->CheckRemoteVersion();
}
