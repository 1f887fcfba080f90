#pragma once
// The view's state in groups, by what owns it. The view holds each group
// once; the comment at its member says who writes it.
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QPrinter>
#include <QRect>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/CommandDialogs.h"
#include "link/LiveData.h"
#include "link/SerialMoval.h"
#include "link/TermDlg.h"
#include "link/TermTextModel.h"
#include "link/WriteQueue.h"
#include "platform/Event.h"
#include "platform/FileChooser.h"
#include "platform/ProfilePortMap.h"
#include "platform/Prompter.h"
#include "platform/Relaxed.h"
#include "platform/Sound.h"
#include "recording/LiveRecording.h"
#include "recording/NorqFileRecorder.h"
#include "recording/PrintEpisode.h"
#include "view/AlarmEvaluator.h"
#include "view/AlarmTones.h"
#include "view/BeatTones.h"
#include "view/BpCycle.h"
#include "view/BpStatus.h"
#include "view/CommandWriter.h"
#include "view/EventQueue.h"
#include "view/GasProbe.h"
#include "view/GasUses.h"
#include "view/LinkConnectPort.h"
#include "view/LinkIntake.h"
#include "view/PrintCapture.h"
#include "view/SoundManager.h"
#include "view/StripRoles.h"
#include "view/SweepEngine.h"
#include "view/TrendStore.h"
#include "view/ViewLayout.h"
#include "view/ViewTexts.h"
#include "view/qt/ComposedState.h"
#include "view/qt/PrintPainter.h"

class CAnimateCtrl;
class CColorStatic;
class CTK_TermDlgWnd;
class CViewTimers;
class QLabel;

// The trend store and its window.
struct TrendGroup {
    CTrendStore trend;
    bool trendTimerOn = false;
    bool trendHalted = false;
    QPointer<QDialog> trendWindow;
    std::optional<uint64_t> trendOrigin;  // SteadyTickMs() at the first connection
    int32_t trendOpen = 0;
    // The store position up to which the trend window has scaled its
    // channels; it lives with the store, past each window.
    int32_t trendScaledIndex = 0;
};

// The blood-pressure cycle: the measurement the remote runs and what the
// pane shows of it.
struct BloodPressureGroup {
    int32_t bpRunning = 0;
    int32_t bpCuffAsked = 0;  // the cuff dialog comes before every measurement but the first
    CBpCycle bpCycle;
    CBpStatus bpStatus;
};

// The CO2 probe: its status message, its poll, how long it has been in,
// and the airway adaptor's count at each connection.
struct GasProbeGroup {
    CGasProbeArming gasArming;
    bool gasPollRequested = false;
    uint32_t co2AppearedTick = 0;
    int32_t probeStatus = 0;
    uint32_t co2AbsentSince = 0;
    uint32_t probeConnectedMs = 0;
    CConnectionGasUse gasUseOnConnect;
};

// The live recording and the recorder that writes its files.
struct RecordingGroup {
    std::unique_ptr<CNorqFileRecorder> recorder;
    std::unique_ptr<CLiveRecording> recording;
    bool recordingResume = false;  // the recording ran when the link dropped
    // Holds back the recording's start until the first patient is filed.
    bool startupPending = false;
};

// Printing: the captured stretch, the print job's printer and resources,
// the print episodes being written and the remote's print requests' pace.
struct PrintingGroup {
    CPrintCapture print;
    CPrintWriters printWriters;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<PrintResources> printResources;
    CPrintThrottle printThrottle{CPrintThrottle::Clock::now()};
};

// The view's timers and what they count between their ticks.
struct TimerGroup {
    CViewTimers* timers = nullptr;  // the view's child
    uint32_t beatIconDeadline = 0;
    int clockTicks = 0;
    bool afterPaintQueued = false;
    bool liveTimersStarted = false;
};

// The connection to the remote (or the demo) as the view and its threads
// share it.
struct ConnectionGroup {
    // 0 idle, 1 connecting, 2 connected, 3 disconnected.
    int32_t connectionStatus = 0;
    Relaxed<int32_t> connected{0};
    Relaxed<int32_t> live{0};
    std::atomic<bool> connectThreadEnded{true};
    std::atomic<bool> writeThreadEnded{true};
    std::atomic<bool> stopRequested{false};
    Relaxed<uint32_t> lastDataTick{0};
    Relaxed<int32_t> sharedSpecies{0};  // the patient's species, for the thread's set-up
    Relaxed<uint8_t> exoticRates{0};
};

// What the remote's status codes and menu set: its stop, the halted
// tracings, its message box and the banner its menu shows.
struct RemoteGroup {
    int32_t remoteStop = 0;
    int32_t tracingsHalted = 0;
    int32_t esophageal = 0;
    bool markHrFromEcg = false;
    int32_t fromRemote = 0;  // set while a command runs for the remote
    bool remoteTextShown = false;  // a "Message from Remote" box is open
    std::string bannerText;
    bool bannerShown = false;
    uint32_t bannerDeadline = 0;
};

// The numerics pane's controls, made from the layout plan, and the
// pictures they show.
struct PaneGroup {
    std::array<QPointer<CColorStatic>, kViewGroupCount> captionBoxes;
    std::array<QPointer<CColorStatic>, kParameterCount> valueBoxes;
    std::array<QPointer<CColorStatic>, kLabelBoxCount> labelBoxes;
    std::array<QPointer<CColorStatic>, kLimitBoxCount> limitBoxes;
    std::array<QPointer<CColorStatic>, kSingleBoxCount> singleBoxes;
    QPointer<QLabel> beatIcon;
    QPointer<QLabel> toneIndicator;
    QPointer<QLabel> bpOffIcon;
    QPointer<QLabel> batteryIcon;
    QPointer<CAnimateCtrl> bpPauseAnim;
    QPointer<CAnimateCtrl> bpCycleAnim;
    QPointer<CAnimateCtrl> connectAnim;
    QPixmap beatBitmap;
    QPixmap bpOffBitmap;
    std::vector<std::pair<int, QPixmap>> toneBitmaps;  // by bitmap id
    CLinkIconRule linkIcon;
};

// The waveform strips: their roles, the layers the sweep draws into, the
// backdrops under them and the sweep itself.
struct StripsGroup {
    StripRoles roles;
    int32_t maxStripWidth = 0;
    int32_t maxStripHeight = 0;
    QImage grid;
    std::array<QImage, 4> stripLayers;
    int32_t layerWidth = 0;
    int32_t layerHeight = 0;
    // Each strip's label, grid and marks, and what they were drawn from.
    std::array<QImage, 4> backdrops;
    BackdropState backdropState;
    CSweepEngine sweep;
    int32_t maxPleth = 0;
};

// What the last paint showed and what is waiting to be repainted.
struct RepaintGroup {
    int layerRefreshes = 0;
    // What the traces drew into each layer since the last repaint request,
    // in the layer's (view) pixels.
    std::array<QRect, 4> layerDirty;
    // What the view was last asked to show, so that a change is repainted.
    ComposedState composedState;
    int32_t shownPleth = -1;
    std::optional<RecordingLine> shownRecordingLine;
    bool fullRepaintQueued = false;
};

// The view's size, its fonts at that size and the layout planned from them.
struct LayoutGroup {
    std::array<QFont, kViewFontCount> fonts;
    BoxMetrics metrics;
    NumericsLayout layout;
    int32_t viewWidth = 500;
    int32_t viewHeight = 300;
    int32_t bandHeight = 0;
    bool initialUpdateDone = false;
    bool layoutRequested = false;
    bool relayoutQueued = false;
};

// Every sound the view makes: one manager over the player plays the alarm
// tones and the beat tones.
struct SoundsGroup {
    // `injected` when given, else `own`.
    SoundsGroup(std::unique_ptr<ISoundPlayer> own, ISoundPlayer* injected)
        : ownPlayer(std::move(own)), soundManager(injected != nullptr ? *injected : *ownPlayer)
    {
    }
    std::unique_ptr<ISoundPlayer> ownPlayer;
    CSoundManager soundManager;
    CAlarmTones tones{soundManager};
    CBeatTones beatTones;
};

// What the intake of new data keeps between batches: the values on their
// way to the boxes, the alarm evaluation, and the marks and events waiting
// for a frame.
struct IntakeGroup {
    CNumericsIntake numerics;
    CMarkStamp mark;
    CAlarmEvaluator alarms;
    CEventQueue events;
};

// The view's own stand-ins for the services it was not given, each made at
// its first use.
struct OwnServicesGroup {
    std::unique_ptr<IPrompter> ownPrompter;
    std::unique_ptr<ICommandDialogs> ownDialogs;
    std::unique_ptr<IFileChooser> ownFileChooser;
};

// The serial link to the remote, the queue of what is written to it and the
// ports the connection and the command writer reach it through.
struct LinkGroup {
    LinkGroup(IMessagePoster* poster, WindowHandle window, LinkLog log) : link(poster, window, std::move(log)) {}
    CSerialMovalMFC link;
    CWriteQueue writeQueue;
    CEvent viewEvent;
    std::unique_ptr<CProfilePortMap> portMap;
    CLinkConnectPort connectPort{link};
    CLinkCommandPort commandPort{link};
};

// The service terminal: its dialog logic, the text the link feeds it and
// its window while shown.
struct TerminalGroup {
    explicit TerminalGroup(CTK_TermDlg* dialog) : termDlg(dialog), terminal(dialog->Text()) {}
    CTK_TermDlg* termDlg;
    CTermTextModel& terminal;
    CTK_TermDlgWnd* termWnd = nullptr;
};
