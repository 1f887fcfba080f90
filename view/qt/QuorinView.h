#pragma once
// The one view of the main frame: it owns the link, the write queue, the
// sound manager and the logger's lifetime, builds the numerics pane from the
// layout plan and keeps the strip layers the waveform drawing uses.
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QPrinter>
#include <QWidget>
#include <array>
#include <bitset>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/DeviceSelection.h"
#include "link/SerialMoval.h"
#include "link/TermDlg.h"
#include "link/TermTextModel.h"
#include "link/WriteQueue.h"
#include "platform/Event.h"
#include "platform/FileChooser.h"
#include "platform/ProfilePortMap.h"
#include "platform/Prompter.h"
#include "platform/ShellLauncher.h"
#include "platform/Sound.h"
#include "platform/qt/QtMessagePoster.h"
#include "view/AlarmEvaluator.h"
#include "view/AlarmTones.h"
#include "view/BeatTones.h"
#include "config/CommandDialogs.h"
#include "view/CommandRules.h"
#include "view/CommandWriter.h"
#include "view/ConnectThread.h"
#include "view/DemoGenerator.h"
#include "view/LinkConnectPort.h"
#include "view/WriterThread.h"
#include "view/EventQueue.h"
#include "view/BpCycle.h"
#include "view/GasProbe.h"
#include "view/GasUses.h"
#include "view/RemoteMenu.h"
#include "view/TrendStore.h"
#include "view/FrameControls.h"
#include "view/BpStatus.h"
#include "view/LinkIntake.h"
#include "view/SweepEngine.h"
#include "view/StripRoles.h"
#include "link/LiveData.h"
#include "view/ViewLayout.h"
#include "patient/AVImark.h"
#include "patient/PatientInfo.h"
#include "recording/LiveRecording.h"
#include "recording/PrintEpisode.h"
#include "recording/TrendView.h"
#include "view/OutsideLaunches.h"
#include "view/PrintCapture.h"
#include "view/ViewShutdown.h"
#include "view/ViewTexts.h"
#include "view/SoundManager.h"
#include "view/qt/ComposedState.h"
#include "view/qt/PrintPainter.h"
#include "view/qt/QuorinDoc.h"
#include "view/qt/ViewGroups.h"

class CAnimateCtrl;
class CMemDC;
class CTK_TermDlgWnd;
class QDialog;
class CPatientInfoDlg;
class CGasUses;
class ConfigTabDlg;
class CVetInfoDlg;
class CColorStatic;
class CQuorinAppCore;
class CViewTimers;
class CViewLaunchHost;
class QLabel;
class QPainter;
class QPrintDialog;
class QPrintPreviewDialog;
class QPageSetupDialog;
class CReviewEpisodeDlg;

inline constexpr char kAlarmsSilentText[] = "No audio output: alarm sounds are silent";

// What the view takes from outside. Empty hooks stand for work that is not
// built yet; they do nothing.
struct ViewServices {
    IPrompter* prompter = nullptr;               // null: message boxes over the view
    // Outlives the view, so that a post that comes too late fails instead of
    // reaching a view that is gone. Null: the view keeps its own.
    CQtMessagePoster* poster = nullptr;
    ISoundPlayer* soundPlayer = nullptr;         // null: the audio output
    IFrameControls* frame = nullptr;             // the main frame's bars; null: none
    std::function<uint32_t()> tick;              // milliseconds; empty: GetTickCount
    std::function<void(uint32_t ms)> wait;       // the destructor's waits; empty: sleep
    std::function<void()> checkForUpdates;       // the silent start-up update check
    std::function<void()> checkForUpdatesNow;    // the menu's update check, not silent
    std::function<void()> about;                 // the application's about box
    std::function<bool()> chooseDemoModel;       // true: "Exotic Heart Rates" chosen; empty: the dialog
    ICommandDialogs* dialogs = nullptr;          // null: the dialogs over the view
    // Starts the review programs and opens the Help commands' documents and
    // addresses; null: the desktop's.
    std::shared_ptr<IShellLauncher> shell;
    IFileChooser* fileChooser = nullptr;         // null: the file dialogs over the view
    std::function<void(uint32_t ms)> commandPause;  // the waits after a command; empty: sleep
    // Where recordings are written; null: the disk.
    std::shared_ptr<IRecordFileSystem> recordFiles;
    uint32_t recorderWakeMs = 1000;              // how often the recorder's worker writes
    std::function<uint64_t()> tickMs;            // milliseconds that never wrap; empty: steady clock
    uint32_t connectWatchMs = kConnectWatchWaitMs;  // between two looks at a running link
    std::function<void()> programmingComplete;   // the service terminal's box
    // The device selection before a Bluetooth connection: false when the
    // user cancelled, else the chosen device. Empty: the device dialog over
    // the Bluetooth library, which also stores the chosen port.
    std::function<bool(int& device)> chooseDevice;
    // Runs the service terminal's dialogs (the lock, the terminal, the
    // device choice) modally; the dialog's result. Empty: exec().
    std::function<int(QDialog& dialog)> runServiceDialog;
    // Runs the patient dialog modally: true on OK. Empty: exec().
    std::function<bool(CPatientInfoDlg& dialog)> runPatientDialog;
    // Runs the product configuration dialog modally: true on OK. Empty: exec().
    std::function<bool(ConfigTabDlg& dialog)> runConfigDialog;
    // Runs the practice-information dialog modally: true on OK. Empty: exec().
    std::function<bool(CVetInfoDlg& dialog)> runVetInfoDialog;
    // Runs the airway adaptor's dialog modally. Empty: exec().
    std::function<void(CGasUses& dialog)> runGasUsesDialog;
    IAVImark* avimark = nullptr;                 // null: this system's automation and processes
    std::function<COleDate()> now;               // the local time; empty: the clock's
    const IOsVersion* osVersion = nullptr;       // null: this system's
    // Builds the trend window over the view, not yet shown; empty: none.
    std::function<QDialog*(ITrendView& view, QWidget* parent)> makeTrendWindow;
    // Printing: the printer (empty: the system's default, high resolution)
    // and the print, preview and page set-up dialogs, run modally (empty:
    // exec()); the print and set-up hooks return true on OK.
    std::function<std::unique_ptr<QPrinter>()> makePrinter;
    std::function<bool(QPrintDialog& dialog)> runPrintDialog;
    std::function<void(QPrintPreviewDialog& dialog)> runPreviewDialog;
    std::function<bool(QPageSetupDialog& dialog)> runPageSetupDialog;
    // Runs the episode review dialog modally; its result. Empty: exec().
    std::function<int(CReviewEpisodeDlg& dialog)> runReviewDialog;
};

// The ids of the messages the view handles (registered once per process).
struct ViewMessageIds {
    ViewMessageIds();
    uint32_t defaultCom;
    uint32_t updateConnectionStatus;
    uint32_t displayPar;
    uint32_t resetWaveforms;
    uint32_t invalidate;
    uint32_t enableAlarmTone;
    uint32_t setDocumentTitle;
    uint32_t setWindowText;
    uint32_t closeRecording;
    uint32_t programmingComplete;
    uint32_t launchBox;  // a launch thread's box; lParam: its LaunchBoxPost
};


// A line of text over the pane (a banner, a line of the recording's) on
// its own background, as wide as it is.
struct PaneText {
    int font = 0;  // one of the view's fonts
    int32_t left = 0;
    int32_t top = 0;
    std::string text;
    COLORREF textColor = 0;
    COLORREF backColor = 0;
};

class CQuorinView : public QWidget,
                    public IWindowObject,
                    public IDemoView,
                    private IViewShutdownSteps,
                    private ITermDlgOwner,
                    private ITrendView {
    Q_OBJECT
public:
    CQuorinView(CQuorinAppCore& app, ViewServices services, QWidget* parent = nullptr);
    ~CQuorinView() override;

    void OnInitialUpdate();
    void OnSize(int cx, int cy);
    void LayoutNumerics();
    // True when the layers were made or cleared.
    bool PrepareStripLayers(const LayoutRect& stripRect);
    void ResetWaveformStrips();
    void UpdateTitle();
    void UpdateLinkIcon();
    void MmTimerProc();
    void OnTimer(int id);

    // News from the link and the view's own threads.
    void OnDefaultComMsg(std::uintptr_t wParam, std::intptr_t lParam);
    void ShowBanner(const std::string& text);

    void AppendEcgData(int32_t count);

    // The numeric boxes.
    void DisplayParameterValue(int slot, int32_t value, bool hasDecimals);
    void LayoutPanes();
    uint8_t GetUnitSelector(int slot) const;
    void SetAlarmSilence(int32_t on);
    void UpdateSweepGainText();
    // The sweep-and-gain caption from the settings and the current gain.
    void RefreshSweepGainCaption();
    void SetPatientIdText(const std::string& text);
    void SetDisplayMode(int32_t species);
    bool ProcessBPError(int code);

    // The patient record: its dialog for this patient or a new one, and
    // the new-patient command (from the live recording's own path without
    // the question).
    void FilePatientInfo(bool newPatient);
    void OnNewPatient(bool fromRecording = false);
    // Command 8760: the practice's texts, stored at once when confirmed.
    void OnEditVetInfo();
    bool IsLiveOrDemo() const;

    // Alarms.
    void EvaluateAlarms();
    void ResetAlarmDisplay();
    void OnSilenceAlarm();
    void OnToggleAlarms();
    void EnableAlarmTone(bool on);
    bool Snoozing() const { return m_sounds.tones.Snoozing(); }
    bool AlarmTonePlaying() const { return m_sounds.tones.Playing(); }

    // The connect command: the connection to the remote, or the demo.
    void OnFileConnect();
    // The service command: the access lock, then the terminal, modally.
    void OnServiceTerminal();
    CTK_TermDlg& TermDlg() { return *m_term.termDlg; }
    CTK_TermDlgWnd* TermDlgWindow() const;
    // `afterGivingUp`: the thread gave up opening the port; the pane says
    // the remote is disconnected.
    void SetConnectionStatus(int32_t status, bool afterGivingUp = false);
    // The set-up for features the remote newly reports; `sendBpSetup`
    // false leaves the blood-pressure set-up to the caller.
    void ApplyFeatureChange(bool sendBpSetup = true);

    // The product configuration dialog on the mode in m_configMode (0 the
    // defaults, 1 the settings in force); on OK the result is put in force
    // and sent to the remote. True when OK ended it.
    bool ShowConfigTabDlg();
    uint8_t m_configMode = 0;
    CWriteQueue& WriteQueue() { return m_wire.writeQueue; }
    // IDemoView, asked on the generator's thread.
    bool DemoConnected() override;
    bool ExoticHeartRates() override;
    void SetDemoLive() override;

    // Printing: the capture of the printed stretch, the print job's steps
    // and the print episode.
    void CapturePrintData();
    const CPrintCapture& PrintCapture() const { return m_printing.print; }
    CPrintWriters& PrintWriters() { return m_printing.printWriters; }
    // The page count of the capture; false when nothing is to be printed.
    bool OnPreparePrinting(int& pageCount);
    void OnBeginPrinting(QPrinter& printer);
    void OnPrint(QPainter& painter, QPrinter& printer, int page, int pageCount, bool preview);
    void OnEndPrinting();
    void PrintReport(QPainter& painter, QPrinter& printer, int page, int pageCount, uint32_t firstFrame,
                     uint32_t frameCount);
    void StorePrintReport();
    // The review command: the dialog, then the chosen episode in the
    // review program.
    void OnReviewEpisode();

    // The remote's menu buttons: 1 previous, 2 next, 3 select.
    void RemoteMenuStep(int code);
    void CloseRemoteMenu();
    const CRemoteMenu& RemoteMenuState() const { return m_menu.menu; }
    // Where the open menu is drawn: near the top left of the strips.
    QPoint RemoteMenuOrigin() const;
    void RunCommand(uint32_t id);
    // A command of the menu, the keys or the tool bar: run when its rule
    // enables it; then every command's state is refreshed.
    void OnCommand(uint32_t id);
    CommandState CommandStateOf(uint32_t id) const;
    void UpdateCommandStates();
    void ToggleShowSpO2();
    void ToggleShowResp();
    void SetMovalTextMode(uint8_t value);
    void RequestRemoteVersion();
    void RestartVersionTimer();
    void VersionTimerProc();
    void RecordVitalsEvent() { StoreVitalsEvent(); }
    void RemoteBloodPressure();
    bool HasEpisodes() const;
    bool IsRecording() const;
    void StoreVitalsEvent();
    void StartRecording();
    void CloseRecording() override;
    std::string GetMissingPatientFields() const;
    // The record command: the episode's end, or a new one.
    void ToggleRecording();
    const CLiveRecording& Recording() const { return *m_rec.recording; }
    CLiveRecording& Recording() { return *m_rec.recording; }
    CNorqFileRecorder& Recorder() { return *m_rec.recorder; }
    void CountGasProbeUse();
    void HandFrameToRecording(const SampleFrame& frame, int32_t index);

    // IWindowObject: where the link's posts go.
    WindowHandle GetSafeHwnd() const override { return m_handle; }

    CQuorinDoc& Document() { return m_document; }
    const std::string& Title() const { return m_title; }
    const BoxMetrics& Metrics() const { return m_plan.metrics; }
    const NumericsLayout& Layout() const { return m_plan.layout; }
    const StripRoles& Roles() const { return m_strips.roles; }
    CColorStatic* ValueBox(int slot) const;
    CColorStatic* LimitBox(int box) const;
    const CTrendStore& Trend() const { return m_trendState.trend; }
    QDialog* TrendWindow() const { return m_trendState.trendWindow; }
    CColorStatic* CaptionBox(int group) const;
    CColorStatic* SingleBoxAt(int box) const;
    QLabel* Picture(int picture) const;
    CAnimateCtrl* Animation(int animation) const;
    int LayerCount() const;
    QSize StripLayerSize() const;     // in the view's pixels
    double StripLayerRatio() const;   // the layers' pixels per view pixel
    int LayerRefreshCount() const { return m_repaint.layerRefreshes; }
    CQtMessagePoster& Poster() { return *m_poster; }
    CSoundManager& SoundManager() { return m_sounds.soundManager; }
    CTermTextModel& Terminal() { return m_term.terminal; }
    bool MarkPending() const { return m_intake.mark.Pending(); }
    const std::string& BannerText() const { return m_remote.bannerText; }
    CSerialMovalMFC& Link() { return m_wire.link; }

    // Written on the UI thread; read by the connection thread and the
    // command writer or generator (the Relaxed and atomic ones).
    ConnectionGroup m_connection;
    int32_t m_gainIndex = 1;  // the ECG gain of the patient's species
    PatientData m_patient;    // filed by the patient dialog, the remote and AVImark
    // Made at construction; started and closed by the record command, the
    // link and the patient; both pointers reset at shutdown.
    RecordingGroup m_rec;
    // Written by the link's events, the remote menu and the commands they run.
    RemoteGroup m_remote;
    // Sampled by the trend timers; opened by the trend command or the remote.
    TrendGroup m_trendState;
    // Started and stopped by the BP command and the remote; followed by the timers.
    BloodPressureGroup m_bp;
    Relaxed<int32_t> m_verboseLogging{0};

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // IViewShutdownSteps
    void LeavePoster() override;
    void KillMmTimer() override;
    void RequestStop() override;
    bool PortOpen() override;
    void ClosePort() override;
    void Wait(uint32_t ms) override;
    bool WorkersEnded() override;
    void StopPacketProcessor() override;
    void ReleaseDrawing() override;
    void DeleteRecorder() override;
    void CloseLogger() override;
    void DestroyTerminal() override;

    // ITermDlgOwner
    bool LinkLive() const override;
    CSerial& LinkPort() override;
    CWriteQueue& LinkQueue() override;
    bool RecordingRuns() const override;
    uint32_t ProbeConnectedMs() const override;
    void LogTerminal(const std::string& text) override;

    // ITrendView
    TrendStoreRead TrendStore() const override;
    bool TrendTimerOn() const override { return m_trendState.trendTimerOn; }
    bool TrendOpen() const override { return m_trendState.trendOpen != 0; }
    int32_t TrendScaledIndex() const override { return m_trendState.trendScaledIndex; }
    void SetTrendScaledIndex(int32_t index) override { m_trendState.trendScaledIndex = index; }
    std::string WindowTitle() const override { return m_title; }
    int64_t ElapsedSeconds() const override;
    TrendUnits Units() const override;

    int RunServiceDialog(QDialog& dialog);
    bool ChooseBluetoothDevice(int& device);

    void OnViewMessage(uint32_t message, CPostedEvent& event);
    void OnNewData();
    void OnRemoteStatus(uint16_t code);
    void WriteSlot(int slot, int32_t value, bool primaryGatesOnly);
    void RewriteNumerics(bool primaryGatesOnly);
    CColorStatic* OwnBox(const QObject* object) const;
    void ShowToneIndicator();
    void WriteToRemote(const char* text);
    IPrompter& Prompter();
    std::unique_ptr<ISoundPlayer> MakeSoundPlayer();
    void AssignStripRoles();
    void FillLayers();
    void DestroyNumerics();
    void DropUnplannedControls();
    void CreateBox(const PlannedBox& box);
    void ShowBpPictures();
    QPointer<QLabel>& PictureSlot(int picture);
    QPointer<CAnimateCtrl>& AnimationSlot(int animation);
    void RelayoutIfNeeded();
    // What every part of one paint is composed from.
    struct PaintPlan {
        StripLayout strips;
        std::vector<PaneText> texts;
        QRect textsArea;
    };
    void Compose(CMemDC& memory, const QRect& area, const PaintPlan& plan);
    void QueueFullRepaint();
    ComposedState CurrentComposedState(const StripLayout& strips) const;
    void RepaintDrawn();
    BackdropState CurrentBackdropState(const StripLayout& strips) const;
    // Where strip k's backdrop lies: the strip, its label and the rows
    // below that its marks reach into.
    static QRect BackdropRect(const StripLayout& strips, int k);
    // True when the backdrops were drawn anew.
    bool PrepareBackdrops(const StripLayout& strips);
    void DrawBackdrop(QPainter& painter, int k, const StripLayout& strips, COLORREF& color,
                      const BackdropState& state);
    void DrawPulseBar(QPainter& painter);
    void DrawRemoteMenu(QPainter& painter, int32_t x, int32_t y);
    void AfterPaint();
    void CheckRecording();
    std::vector<PaneText> BannerRows() const;
    std::optional<RecordingLine> CurrentRecordingLine() const;
    std::array<PaneText, 3> RecordingLineRows(const RecordingLine& line) const;
    QRect PaneTextsRect(std::span<const PaneText> rows) const;
    void DrawPaneTexts(QPainter& painter, std::span<const PaneText> rows);
    void CreateRecording();
    void RecoverEpisodes();
    void OnRecordingFileEnd(const CNorqFileRecorder::FileEndReport& report);
    void UpdateRecordingButton();
    // Recording, or about to once the episode before is saved.
    bool RecordingWanted() const;
    void PollRecordingRestart();
    void PollSelvoVitals();
    void ArmGasProbeMessage();
    void RequestVitals();

    SweepSettings CurrentSweepSettings() const;
    bool AlarmLoopAllows() const;
    QTransform LayerMapping(double windowWidth, double windowHeight, bool fromMiddle) const;
    void DrawEcgSegment(const EcgSegment& segment, const SweepSettings& settings);
    void DrawSpO2Segment(const EcgSegment& segment, const SweepSettings& settings);
    void DrawGasSegment(const GasSegment& segment, const SweepSettings& settings);
    void DrawScaleMarks(QPainter& painter, int strip, const LayoutRect& rect, const BackdropState& state);
    void ShowBeatIcon(bool show);
    void FollowBeat(const EcgSegment& segment);
    void ApplyTimer(int id, const TimerCommand& command);
    void FollowGasProbe();
    void FollowBloodPressure();
    void PostTimer(int id);
    void HandleTimer(int id);
    void OnGasTimer();
    void CloseExpiredRemoteMenu();
    void OpenTrendWindow();
    // The trend window's times count from here (see StartTrendClock).
    void StartTrendClock();
    // Milliseconds that never wrap: the injected clock or the steady one.
    uint64_t SteadyTickMs() const;
    void UpdateAlarmCommands();
    void ShowAlarmButtons(IFrameControls& frame, const CommandContext& context);
    void OnSnoozeEnded();
    std::bitset<kLimitBoxCount> LimitBoxesPresent() const;
    void PaintLimitBox(int box, const LimitBoxColors& colors);
    void ResetAlarmBoxes();
    void ApplyToneActions(const ToneActions& actions);
    void PlaceEvent(const CEcgEvent& event);
    void ShowConnectionStatusBox(const char* text, COLORREF color);
    void ResumeRecording();
    void SuspendRecording();
    void RestartRecordingForFeatures(uint16_t before, uint16_t now);
    bool RemoteVersionMatched() const;
    void CountMonitors();
    ICommandDialogs& Dialogs();
    void Pause(uint32_t ms);
    CommandContext MakeCommandContext() const;
    void SetBandwidth(int32_t bandwidth);
    void ToggleDental();
    void ZeroCo2Probe();
    void ToggleBloodPressure();
    void StopBloodPressureCommon();
    void OnWaveforms();
    bool RunDemoModelChoice();
    void OnDemoConfiguration();
    void ReviewEpisode();
    void PrintCommand(uint32_t id);
    QPrinter& Printer();
    void RunPrintJob(QPrinter& printer, bool preview);
    IShellLauncher& ShellLauncher();
    void OnServiceCommand();
    void OtherCommand(uint32_t id);

    // The Help commands' launches and the settings files.
    void OnViewManual();
    void OnSupportWebsite();
    void OnMonitoringGuidelines();
    void OnQuickSupport();
    void OnExportSettings();
    void OnImportSettings();
    void StartLaunch(LaunchKind kind);
    void ShowLaunchBox(CPostedEvent& event);
    IFileChooser& FileChooser();
    NumericsInput LayoutInput() const;
    uint32_t Tick() const;
    COleDate Now() const;
    bool ReadAVImarkPatient();
    void ShowPatientId();
    RemoteConfiguration& Config();

    // The connection thread's calls into the view, run on the UI thread.
    class ConnectActions : public IConnectViewActions {
    public:
        explicit ConnectActions(CQuorinView& view) : m_view(view) {}
        void ShowMessageBox(const std::string& text, const std::string& caption, uint32_t type) override;
        void ClearMarkAndBanner() override;
        void CloseRemoteMenu(bool sendMenuIdZero) override;
        void RequestGasServicePoll() override;
        void RequestContainerKeepAlive() override;
        void RequestRemoteVersion() override;
        void RestartVersionTimer() override;
        void ResumeRemoteRecording() override;
        void StartCommandWriter() override;

    private:
        template <class F>
        void Queue(F&& f);
        CQuorinView& m_view;
    };

    // What the remote menu does to the view.
    class RemoteMenuActions : public IRemoteMenuView {
    public:
        explicit RemoteMenuActions(CQuorinView& view) : m_view(view) {}
        uint32_t Tick() const override;
        int32_t DeviceKind() const override;
        uint16_t FeatureBits() const override;
        bool DentalRejection() const override;
        int StreamProtocol() const override;
        void SendMenuId(uint16_t id) override;
        void Redraw() override;
        RemoteConfiguration& Config() override;
        int32_t Species() const override;
        int32_t GainIndex() const override;
        void RunCommand(uint32_t id) override;
        void ToggleShowSpO2() override;
        void ToggleShowResp() override;
        void OnSilenceAlarm() override;
        void OnToggleAlarms() override;
        bool Snoozing() const override;
        void ShowBanner(const std::string& text) override;
        void PostEnableAlarmTone(bool on) override;
        void PostInvalidate() override;
        void ToggleRecordingFromRemote() override;
        bool IsRecording() const override;
        bool BloodPressureRunning() const override;
        void ToggleBloodPressure() override;
        void StartBloodPressureWithChosenCuff() override;
        void SetPatientSpecies(int32_t code, const std::string& text) override;
        void NewPatientFromRemote() override;

    private:
        CQuorinView& m_view;
    };

    // The remote's menu and what it does to the view.
    struct RemoteMenuGroup {
        explicit RemoteMenuGroup(CQuorinView& view) : actions(view) {}
        RemoteMenuActions actions;
        CRemoteMenu menu{actions};
    };

    // What the adaptor's count does to the view and the store.
    class GasUsesActions : public IGasUsesView {
    public:
        explicit GasUsesActions(CQuorinView& view) : m_view(view) {}
        int32_t DeviceKind() const override;
        uint16_t FeatureBits() const override;
        int32_t StoredUses() const override;
        void StoreUses(int32_t uses) override;
        int32_t RunGasUsesDialog(int32_t uses) override;

    private:
        CQuorinView& m_view;
    };

    void ClearMarkAndBanner();
    void StartConnection();
    ConnectEnvironment MakeConnectEnvironment();

    CQuorinAppCore& m_app;
    ViewServices m_services;
    const ViewMessageIds m_messageIds;
    // Made by Prompter(), Dialogs() and FileChooser() when m_services has none.
    OwnServicesGroup m_own;
    // Shared with the launch threads, which may outlive the view.
    std::shared_ptr<CViewLaunchHost> m_launchHost;
    std::string m_settingsFilePath;  // the settings file chosen last
    // Made at construction over the injected player or the view's own.
    SoundsGroup m_sounds;
    std::unique_ptr<CQtMessagePoster> m_ownPoster;
    CQtMessagePoster* m_poster;
    WindowHandle m_handle = 0;
    // Before the link, whose processor may use its text until it stops;
    // shown by the service command, destroyed at shutdown.
    TerminalGroup m_term;
    // Made at construction; opened and closed by the connection, written by
    // the command writer, stopped at shutdown.
    LinkGroup m_wire;
    ConnectActions m_connectActions{*this};
    // Opened and stepped by the remote's buttons; closed by the link and its timer.
    RemoteMenuGroup m_menu{*this};
    CWriterThread m_writer{m_connection.writeThreadEnded};
    std::unique_ptr<CConnectThread> m_connectThread;
    CQuorinDoc m_document;
    std::string m_title;
    bool m_logging = false;

    // Written by the initial update, the resizes and the relayout alone.
    LayoutGroup m_plan;
    // Made and dropped by the layout; written by the value, alarm and status handlers.
    PaneGroup m_pane;
    // Sized by the layout; drawn by the intake; the roles follow the features.
    StripsGroup m_strips;
    // Written by the intake's drawing and the paint alone.
    RepaintGroup m_repaint;
    // Written on the UI thread by the link's news and the paint's intake.
    IntakeGroup m_intake;
    // Followed by the intake, the link's news and the gas timer.
    GasProbeGroup m_gasProbe;
    // Made at construction; set and killed by the view's handlers alone.
    TimerGroup m_timing;
    // Captured by the print command and the remote; the job's own while it runs.
    PrintingGroup m_printing;

    static constexpr int kClockTimer = 2;
    static constexpr int kTrendSampleTimer = 3;
    static constexpr int kBpErrorTimer = 10;
    static constexpr int kSetupTimer = 12;
    static constexpr int kSnoozeTimer = 13;
    static constexpr int kAutoTrendTimer = 7;
    static constexpr int kVersionTimer = 11;
    // Waits for the recorder to save the episode before the next.
    static constexpr int kRecordRestartTimer = 15;
};
