#pragma once
// The one view of the main frame: it owns the link, the write queue, the
// sound manager and the logger's lifetime, builds the numerics pane from the
// layout plan and keeps the strip layers the waveform drawing uses.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/SerialMoval.h"
#include "link/TermTextModel.h"
#include "link/WriteQueue.h"
#include "platform/Event.h"
#include "platform/Sound.h"
#include "platform/qt/QtMessagePoster.h"
#include "view/StripRoles.h"
#include "link/LiveData.h"
#include "view/ViewLayout.h"
#include "view/ViewPatient.h"
#include "view/ViewShutdown.h"
#include "view/ViewTexts.h"
#include "view/SoundManager.h"
#include "view/qt/QuorinDoc.h"

class CAnimateCtrl;
class CColorStatic;
class CQuorinAppCore;
class CViewTimers;
class QLabel;

// What the view takes from outside. Empty hooks stand for work that is not
// built yet; they do nothing.
struct ViewServices {
    // Outlives the view, so that a post that comes too late fails instead of
    // reaching a view that is gone. Null: the view keeps its own.
    CQtMessagePoster* poster = nullptr;
    ISoundPlayer* soundPlayer = nullptr;         // null: a silent recorder of calls
    std::function<uint32_t()> tick;              // milliseconds; empty: GetTickCount
    std::function<void(uint32_t ms)> wait;       // the destructor's waits; empty: sleep
    std::function<void()> checkForUpdates;       // the silent start-up update check
    std::function<bool()> chooseDemoModel;       // true: "Exotic Heart Rates" chosen
    std::function<void()> connect;               // connect toggle: the connection or the demo generator
    std::function<void()> closeRecording;
    std::function<void()> programmingComplete;   // the service terminal's box
};

class CQuorinView : public QWidget, public IWindowObject, private IViewShutdownSteps {
    Q_OBJECT
public:
    CQuorinView(CQuorinAppCore& app, ViewServices services, QWidget* parent = nullptr);
    ~CQuorinView() override;

    void OnInitialUpdate();
    void OnSize(int cx, int cy);
    void LayoutNumerics(bool recreate);
    double CreateFonts(bool recreate);
    void PrepareStripLayers(const LayoutRect& stripRect);
    void ResetWaveformStrips();
    void UpdateTitle();
    void UpdateLinkIcon();
    void MmTimerProc();
    void OnTimer(int id);

    // IWindowObject: where the link's posts go.
    WindowHandle GetSafeHwnd() const override { return m_handle; }

    CQuorinDoc& Document() { return m_document; }
    const std::string& Title() const { return m_title; }
    const BoxMetrics& Metrics() const { return m_metrics; }
    const NumericsLayout& Layout() const { return m_layout; }
    const StripRoles& Roles() const { return m_roles; }
    CColorStatic* ValueBox(int slot) const;
    CColorStatic* CaptionBox(int group) const;
    CColorStatic* SingleBoxAt(int box) const;
    QLabel* Picture(int picture) const;
    int LayerCount() const;
    QSize StripLayerSize() const;
    int LayerRefreshCount() const { return m_layerRefreshes; }
    CQtMessagePoster& Poster() { return *m_poster; }
    CSerialMovalMFC& Link() { return m_link; }

    // The connection's state (0 idle, 1 connecting, 2 connected, 3
    // disconnected); its thread and handler come with the connection work.
    int32_t m_connectionStatus = 0;
    int32_t m_connected = 0;
    int32_t m_live = 0;
    std::atomic<bool> m_connectThreadEnded{true};
    std::atomic<bool> m_writeThreadEnded{true};
    std::atomic<bool> m_stopRequested{false};
    int32_t m_gainIndex = 1;
    int32_t m_soundRow = 0;
    ViewPatient m_patient;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // IViewShutdownSteps
    void LeavePoster() override;
    void KillMmTimer() override;
    void RequestStop() override;
    void CloseRecording() override;
    bool PortOpen() override;
    void ClosePort() override;
    void Wait(uint32_t ms) override;
    bool WorkersEnded() override;
    void StopPacketProcessor() override;
    void ReleaseDrawing() override;
    void DeleteRecorder() override;
    void CloseLogger() override;
    void DestroyTerminal() override;

    void OnPosted(const PostedMessage& message);
    void AssignStripRoles();
    void FillLayers();
    void DestroyNumerics();
    void CreateBox(const PlannedBox& box);
    QPointer<QLabel>& PictureSlot(int picture);
    QPointer<CAnimateCtrl>& AnimationSlot(int animation);
    void RelayoutIfNeeded();
    void DrawStrips(QPainter& painter, const StripLayout& strips);
    void CountMonitors();
    NumericsInput LayoutInput() const;
    uint32_t Tick() const;
    RemoteConfiguration& Config();

    CQuorinAppCore& m_app;
    ViewServices m_services;
    std::unique_ptr<ISoundPlayer> m_ownPlayer;
    std::unique_ptr<CQtMessagePoster> m_ownPoster;
    CQtMessagePoster* m_poster;
    WindowHandle m_handle = 0;
    // Before the link: its processor may use the model until it stops.
    CTermTextModel m_terminal;
    CSerialMovalMFC m_link;
    CWriteQueue m_writeQueue;
    CEvent m_viewEvent;
    CSoundManager m_soundManager;
    CQuorinDoc m_document;
    std::string m_title;
    bool m_logging = false;

    std::array<QFont, kViewFontCount> m_fonts;
    BoxMetrics m_metrics;
    NumericsLayout m_layout;
    StripRoles m_roles;
    int32_t m_viewWidth = 500;
    int32_t m_viewHeight = 300;
    int32_t m_bandHeight = 0;
    int32_t m_bandTop = -1;
    bool m_initialUpdateDone = false;
    bool m_layoutRequested = false;
    bool m_relayoutQueued = false;
    bool m_firstPaint = true;

    std::array<QPointer<CColorStatic>, kViewGroupCount> m_captionBoxes;
    std::array<QPointer<CColorStatic>, kParameterCount> m_valueBoxes;
    std::array<QPointer<CColorStatic>, kLabelBoxCount> m_labelBoxes;
    std::array<QPointer<CColorStatic>, kLimitBoxCount> m_limitBoxes;
    std::array<QPointer<CColorStatic>, kSingleBoxCount> m_singleBoxes;
    QPointer<QLabel> m_beatIcon;
    QPointer<QLabel> m_toneIndicator;
    QPointer<QLabel> m_bpOffIcon;
    QPointer<QLabel> m_batteryIcon;
    QPointer<CAnimateCtrl> m_bpPauseAnim;
    QPointer<CAnimateCtrl> m_bpCycleAnim;
    QPointer<CAnimateCtrl> m_connectAnim;
    QPixmap m_beatBitmap;
    QPixmap m_bpOffBitmap;
    QPixmap m_toneBitmaps[3];  // 310, 330, 590
    CLinkIconRule m_linkIcon;

    int32_t m_monitorCount = -1;
    int32_t m_maxStripWidth = 0;
    int32_t m_maxStripHeight = 0;
    QImage m_grid;
    std::array<QImage, 4> m_stripLayers;
    int32_t m_layerWidth = 0;
    int32_t m_layerHeight = 0;
    int m_layerRefreshes = 0;
    int32_t m_ecgSweepPos = 0;
    int32_t m_gasSweepPos = 0;
    QPoint m_lastEcgPoint, m_lastSpo2Point, m_lastRespPoint, m_lastO2Point;

    CViewTimers* m_timers = nullptr;
    uint32_t m_beatIconDeadline = 0;
    int m_clockTicks = 0;
};
