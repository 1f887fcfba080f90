// The waveform intake: new frames are drawn once, as they arrive, into the
// strip layers; beat and breath tones, the beat icon, the gas probe's
// status and the blood-pressure cycle follow the drawn rows.
#include <QLabel>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/SoundColumns.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/LayerPainter.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewMapping.h"
#include "view/qt/ViewTimers.h"

namespace {

constexpr uint32_t kBeatIconMs = 100;

}  // namespace

SweepSettings CQuorinView::CurrentSweepSettings() const
{
    const RemoteConfiguration& config = m_app.m_config;
    const LiveData& live = g_liveData;
    SweepSettings s;
    s.ecgSweep = LoadRelaxed(config.ecgSweep);
    s.co2Sweep = LoadRelaxed(config.co2Sweep);
    s.sampleRate = live.sampleRate;
    s.gainIndex = m_gainIndex;
    s.deviceKind = live.deviceKind;
    s.featureBits = live.featureBits;
    s.co2Scale = LoadRelaxed(config.co2Scale) != 0;
    s.co2UnitPercent = LoadRelaxed(config.units[kUnitCO2]) != 0;
    s.demoMode = m_app.IsDemoMode();
    s.o2Inspired = live.numerics[kParamO2Ins];
    s.o2Expired = live.numerics[kParamO2Exp];
    s.ecgStripCount = m_strips.roles.ecgStripCount;
    s.spo2StripExists = m_strips.roles.spo2Strip >= 0;
    s.respStripExists = m_strips.roles.respStrip >= 0;
    s.o2StripExists = m_strips.roles.o2Strip >= 0;
    s.showSpO2 = LoadRelaxed(config.showSpO2) != 0;
    s.showResp = LoadRelaxed(config.showResp) != 0;
    s.showO2 = LoadRelaxed(config.showO2) != 0;
    return s;
}

bool CQuorinView::AlarmLoopAllows() const
{
    return m_sounds.tones.AllowsOneShotTones(m_app.m_config);
}

void CQuorinView::AppendEcgData(int32_t count)
{
    LiveData& live = g_liveData;
    // Before the first paint there is nowhere to draw: the frames wait.
    if (count <= 0 || m_strips.stripLayers[3].isNull())
        return;

    const SweepSettings settings = CurrentSweepSettings();
    const int32_t start = live.ringReadIndex.load(std::memory_order_relaxed);
    const EcgPassResult& ecg = m_strips.sweep.EcgPass(g_sampleRing.data(), start, count, settings,
                                               [this](const SampleFrame& frame, int32_t index) {
                                                   HandFrameToRecording(frame, index);
                                               });
    live.ringReadIndex.store((start + ecg.consumed) & kSampleRingMask, std::memory_order_release);
    m_strips.maxPleth = ecg.maxPleth;

    // Frozen by the remote: the frames are consumed (and recorded), nothing
    // more.
    const bool frozen = m_remote.remoteStop != 0;
    for (const EcgSegment& segment : ecg.segments) {
        if (segment.frames == 0 || frozen)
            continue;
        DrawEcgSegment(segment, settings);
        FollowBeat(segment);
        FollowGasProbe();
        FollowBloodPressure();
        DrawSpO2Segment(segment, settings);
    }

    const RemoteConfiguration& config = m_app.m_config;
    const bool o2Shown = LoadRelaxed(config.showO2) != 0 && (live.featureBits & kFeatureO2) != 0;
    if (LoadRelaxed(config.showResp) != 0 || o2Shown) {
        const GasPassResult& gas = m_strips.sweep.GasPass(g_sampleRing.data(), start, ecg.consumed, settings);
        for (const GasSegment& segment : gas.segments)
            if (segment.frames != 0 && !frozen)
                DrawGasSegment(segment, settings);
    }
    RepaintDrawn();
}

QTransform CQuorinView::LayerMapping(double windowWidth, double windowHeight, bool fromMiddle) const
{
    return Anisotropic(windowWidth, windowHeight, m_strips.layerWidth, -m_strips.layerHeight, 0,
                       fromMiddle ? m_strips.layerHeight / 2.0 : m_strips.layerHeight);
}

void CQuorinView::DrawEcgSegment(const EcgSegment& segment, const SweepSettings& settings)
{
    if (segment.row < 0 || segment.row >= int32_t(m_strips.stripLayers.size()))
        return;
    CLayerPainter painter(m_strips.stripLayers[segment.row], LayerMapping(EcgRowWidth(settings.sampleRate), 5000, true),
                          m_repaint.layerDirty[segment.row]);
    if (segment.drawEcg) {
        painter.Erase(segment.ecgErase.from, segment.ecgErase.to, 2500, -2501,
                      ToQColor(m_app.m_config.backgroundColor));
        painter.Polyline(segment.ecg, segment.ecgColor, 10);
    }
    if (segment.eventColor)
        painter.Polygon(EventMarkerOutline(segment.eventX), *segment.eventColor, 5);
    if (segment.rPoint && LoadRelaxed(m_app.m_config.rMarker) != 0)
        painter.Polygon(RMarkerTriangle(segment.rPoint->x), 0xFFFFFF, 1);
}

void CQuorinView::DrawSpO2Segment(const EcgSegment& segment, const SweepSettings& settings)
{
    const int strip = m_strips.roles.spo2Strip;
    if (!segment.drawSpo2 || strip < 0 || strip >= int(m_strips.stripLayers.size()))
        return;
    CLayerPainter painter(m_strips.stripLayers[strip], LayerMapping(EcgRowWidth(settings.sampleRate), 256, false),
                          m_repaint.layerDirty[strip]);
    painter.Erase(segment.spo2Erase.from, segment.spo2Erase.to, 256, -1, ToQColor(m_app.m_config.backgroundColor));
    painter.Polyline(segment.spo2, kSpO2TraceColor, 4);
}

void CQuorinView::DrawGasSegment(const GasSegment& segment, const SweepSettings& settings)
{
    const QTransform mapping = LayerMapping(GasStripWidth(settings.sampleRate), 6000, true);
    const QColor background = ToQColor(m_app.m_config.backgroundColor);
    const int resp = m_strips.roles.respStrip;
    if (segment.drawResp && resp >= 0 && resp < int(m_strips.stripLayers.size())) {
        CLayerPainter painter(m_strips.stripLayers[resp], mapping, m_repaint.layerDirty[resp]);
        painter.Erase(segment.erase.from, segment.erase.to, 3000, -3001, background);
        switch (segment.respTrace) {
        case RespTrace::kCo2Fill:
            painter.FillUnder(segment.resp, kRespFillFloor, kCO2FillColor);
            break;
        case RespTrace::kRespFill:
            painter.FillUnder(segment.resp, kRespFillFloor, kRespFillColor);
            break;
        case RespTrace::kInvalidLine:
            painter.Polyline(segment.resp, kInvalidTraceColor, 8, Qt::FlatCap);
            break;
        case RespTrace::kCuffLine:
            painter.Polyline(segment.resp, kCuffTraceColor, 32);
            break;
        }
    }
    const int o2 = m_strips.roles.o2Strip;
    if (segment.drawO2 && o2 >= 0 && o2 < int(m_strips.stripLayers.size())) {
        CLayerPainter painter(m_strips.stripLayers[o2], mapping, m_repaint.layerDirty[o2]);
        painter.Erase(segment.erase.from, segment.erase.to, 3000, -3001, background);
        painter.Polyline(segment.o2, kO2TraceColor, 32);
    }
}

void CQuorinView::ShowBeatIcon(bool show)
{
    if (m_pane.beatIcon == nullptr)
        return;
    if (show) {
        m_timing.beatIconDeadline = Tick() + kBeatIconMs;
        m_pane.beatIcon->show();
    } else {
        m_pane.beatIcon->hide();
    }
}

void CQuorinView::FollowBeat(const EcgSegment& segment)
{
    const LiveData& live = g_liveData;
    const RemoteConfiguration& config = m_app.m_config;
    const int16_t rate = CurrentSourceRate(live.heartRateSource, live.hrFromEcg, live.hrFromSpO2, live.hrFromBp);
    if (segment.rPoint && live.heartRateSource == 0)
        ShowBeatIcon(rate != 0);

    BeatToneInputs in;
    in.heartRateSource = live.heartRateSource;
    in.hrFromEcg = live.hrFromEcg;
    in.hrFromSpO2 = live.hrFromSpO2;
    in.hrFromBp = live.hrFromBp;
    in.qrsTone = LoadRelaxed(config.qrsTone);
    in.heartRatesAbove400 = LoadRelaxed(config.heartRatesAbove400);
    in.respirationTone = LoadRelaxed(config.respirationTone);
    in.alarmLoopAllows = AlarmLoopAllows();
    in.featureBits = live.featureBits;
    in.deviceKind = live.deviceKind;
    in.displayLatch = live.displayLatch == 1;
    const BeatToneActions actions = m_sounds.beatTones.Step(in);
    ApplyTimer(kPulseToneTimer, actions.pulseTimer);
    ApplyTimer(kEcgToneTimer, actions.ecgTimer);
    if (actions.beatIcon != BeatIcon::kUnchanged)
        ShowBeatIcon(actions.beatIcon == BeatIcon::kShow);
    for (int i = 0; i < actions.playCount; ++i)
        m_sounds.soundManager.PlayTone(actions.play[i]);
    if (actions.clearDisplayLatch)
        g_liveData.displayLatch = 0;
}

void CQuorinView::ApplyTimer(int id, const TimerCommand& command)
{
    if (command.kind == TimerCommand::Kind::kKill)
        m_timing.timers->KillTimer(id);
    else if (command.kind == TimerCommand::Kind::kSet)
        m_timing.timers->SetTimer(id, command.periodMs);
}

void CQuorinView::FollowGasProbe()
{
    const LiveData& live = g_liveData;
    if ((live.featureBits & kFeatureCO2) == 0 || live.deviceKind == kDeviceBrindle)
        return;
    int32_t status = m_gasProbe.probeStatus;
    if (g_gasStatus[9] == 1)
        status = live.gasFlags[0] & ~3;
    else if (g_gasStatus[9] == 2)
        status = g_gasStatus[8];
    if (status != m_gasProbe.probeStatus)
        ArmGasProbeMessage();
    m_gasProbe.probeStatus = status;
}

void CQuorinView::FollowBloodPressure()
{
    LiveData& live = g_liveData;
    const RemoteConfiguration& config = m_app.m_config;
    BpInputs in;
    in.statusFlags = live.statusFlags;
    in.running = m_bp.bpRunning != 0;
    in.featureBits = live.featureBits;
    in.deviceKind = live.deviceKind;
    in.animationsCreated = m_pane.bpCycleAnim != nullptr && m_pane.bpPauseAnim != nullptr;
    in.saveAllBp = LoadRelaxed(config.saveAllBpMeasurements) != 0;
    in.bpNotifyTone = LoadRelaxed(config.bpNotifyTone) != 0;
    in.alarmLoopAllows = AlarmLoopAllows();
    in.verboseLogging = m_verboseLogging != 0;
    const BpActions actions = m_bp.bpStatus.Update(in);

    if (actions.resetStrips)
        ResetWaveformStrips();
    if (actions.requestVitals)
        RequestVitals();
    if (actions.pendingError) {
        g_gasStatus[2] = *actions.pendingError;
        if (actions.postErrorTimer)
            PostTimer(kBpErrorTimer);
    }
    if (!actions.logLine.empty())
        LogEventText("CQuorinView::AppendEcgData", actions.logLine);
    if (actions.playNotifyTone)
        m_sounds.soundManager.PlayTone(kSoundBpNotify);
    if (actions.clearRunning)
        m_bp.bpRunning = 0;
    ShowBpPictures();
}

void CQuorinView::PostTimer(int id)
{
    // As the platform's posted timer message: handled after this pass.
    QMetaObject::invokeMethod(this, [this, id] { OnTimer(id); }, Qt::QueuedConnection);
}

void CQuorinView::ArmGasProbeMessage()
{
    m_gasProbe.gasArming.Arm();
}
