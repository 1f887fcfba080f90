// The view's numbered timers: clock, trend sampling, beat pacing, the
// periodic trend, gas polls and probe messages, the blood-pressure cycle
// and its errors, the set-up after connecting and the end of a snooze.
#include <QLabel>
#include <ctime>
#include <exception>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/BpCycle.h"
#include "view/GasProbe.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewTimers.h"

namespace {

// A setting in seconds as a timer period: negative is off (0), and the
// period is capped where the timers' milliseconds end.
uint32_t SecondsToMs(int32_t seconds)
{
    if (seconds <= 0)
        return 0;
    const int64_t ms = int64_t(seconds) * 1000;
    return uint32_t(std::min<int64_t>(ms, 0x7FFFFFFF));
}

std::string ClockText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    char time[16] = {};
    if (localtime_r(&now, &local) != nullptr)
        std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return FormatDateText(true, now) + " - " + time;
}

}  // namespace

void CQuorinView::OnTimer(int id)
{
    try {
        HandleTimer(id);
    } catch (const std::exception& error) {
        LogEventText("CQuorinView::OnTimer", std::string("Unrecoverable error: ") + error.what());
        Prompter().MessageBox("An unrecoverable error has occurred.  Please exit and restart the application.",
                              "Quorin Error", kMbOk | kMbIconError);
    }
}

void CQuorinView::HandleTimer(int id)
{
    LiveData& live = g_liveData;
    const RemoteConfiguration& config = m_app.m_config;
    switch (id) {
    case kClockTimer:
        ++m_timing.clockTicks;
        if (CColorStatic* date = SingleBoxAt(kBoxDate))
            date->setText(QString::fromStdString(ClockText()));
        if ((m_timing.clockTicks % 2) == 0)
            UpdateLinkIcon();
        CloseExpiredRemoteMenu();
        if (m_remote.bannerShown && int32_t(Tick() - m_remote.bannerDeadline) >= 0) {
            m_remote.bannerShown = false;
            m_remote.bannerText.clear();
            update();
        }
        // The framework's idle update of the commands.
        UpdateCommandStates();
        break;
    case kVersionTimer:
        VersionTimerProc();
        break;
    case kTrendSampleTimer:
        if (m_connection.live == 0) {
            m_timing.timers->KillTimer(id);
            m_trendState.trendTimerOn = false;
            break;
        }
        m_trendState.trendTimerOn = true;
        m_trendState.trend.Sample(live, std::atomic_ref<uint8_t>(
                                 g_sampleRing[live.ringReadIndex.load(std::memory_order_relaxed)].flags)
                                 .load(std::memory_order_relaxed));
        break;
    case kPulseToneTimer:
        if (const auto period = m_sounds.beatTones.OnPulseTimer(live.hrFromSpO2))
            m_timing.timers->SetTimer(id, *period);
        break;
    case kEcgToneTimer:
        if (const auto period = m_sounds.beatTones.OnEcgTimer(live.hrFromEcg))
            m_timing.timers->SetTimer(id, *period);
        break;
    case kAutoTrendTimer: {
        const uint32_t period = SecondsToMs(LoadRelaxed(config.autoTrend));
        if (period == 0) {
            m_timing.timers->KillTimer(id);
            break;
        }
        if (!m_trendState.trendHalted)
            OpenTrendWindow();
        m_timing.timers->SetTimer(id, period);
        break;
    }
    case kGasTimer:
        OnGasTimer();
        break;
    case kBpCycleTimer: {
        BpCycleInputs in;
        in.featureBits = live.featureBits;
        in.statusFlags = live.statusFlags;
        in.deviceKind = live.deviceKind;
        in.interval = LoadRelaxed(m_app.m_factoryConfig.bpInterval);
        const BpCycleActions actions = m_bp.bpCycle.OnTimer(in);
        if (actions.measuringBit == BitChange::kSet)
            live.statusFlags = live.statusFlags | CBpStatus::kMeasuringBit;
        else if (actions.measuringBit == BitChange::kClear)
            live.statusFlags = live.statusFlags & ~CBpStatus::kMeasuringBit;
        ApplyTimer(id, actions.timer);
        break;
    }
    case kBpErrorTimer:
        if ((live.featureBits & kFeatureNibp) == 0 || m_bp.bpRunning == 0) {
            m_timing.timers->KillTimer(id);
            break;
        }
        if (ProcessBPError(g_gasStatus[2]))
            g_gasStatus[2] = 0;
        break;
    case kRecordRestartTimer:
        PollRecordingRestart();
        break;
    case kSetupTimer:
        m_timing.timers->KillTimer(id);
        if (live.deviceKind != kDeviceMoval) {
            live.handledFeatureBits = 0;
            ApplyFeatureChange();
        }
        break;
    case kSnoozeTimer:
        OnSnoozeEnded();
        break;
    default:
        break;
    }
}

void CQuorinView::OnGasTimer()
{
    LiveData& live = g_liveData;
    live.movalTextMode = 0;
    GasTimerInputs in;
    in.featureBits = live.featureBits;
    in.deviceKind = live.deviceKind;
    in.gasModuleKind = live.gasModuleKind;
    in.species = m_patient.info.speciesCode;
    in.demo = m_app.IsDemoMode();
    in.dataFlows = m_connection.live != 0;
    in.pollRequested = m_gasProbe.gasPollRequested;
    in.status = ReadGasStatus(live, g_gasStatus);
    const GasTimerActions actions = ::OnGasTimer(in, m_app.m_config, m_gasProbe.gasArming);
    ApplyTimer(kGasTimer, actions.timer);
    for (const std::string& poll : actions.polls)
        m_wire.writeQueue.Push(poll);
    if (actions.clearPollRequest)
        m_gasProbe.gasPollRequested = false;
    if (!actions.statusLine.empty())
        LogEventText("CQuorinView::OnTimer", actions.statusLine);
    if (!actions.message.empty()) {
        // Killed first: the box's own event loop would let it fire again.
        m_timing.timers->KillTimer(kGasTimer);
        LogEventText("CQuorinView::OnTimer", actions.message);
        Prompter().MessageBox(actions.message, kGasProbeCaption, kMbOk | kMbIconWarning);
        m_timing.timers->SetTimer(kGasTimer, kGasTimerMs);
    }
}
