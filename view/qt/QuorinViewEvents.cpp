// News from the link ("CSerialMoval_DefaultComMsg"): new frames and values,
// the remote's buttons, the stream set-up again, a redraw, a text.
#include <QApplication>
#include <QMetaObject>
#include <QTimer>
#include <memory>

#include "app/MenuCommands.h"
#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/DecodeState.h"
#include "link/LiveData.h"
#include "link/RemoteCommands.h"
#include "platform/SerialErrors.h"
#include "platform/Thread.h"
#include "platform/qt/QtPrompter.h"
#include "view/LinkIntake.h"
#include "view/NumericFormat.h"
#include "view/qt/QuorinView.h"

namespace {

constexpr uint16_t kComSendSetup = 3;
constexpr uint16_t kComRedrawFrame = 5;
constexpr uint32_t kBannerMs = 2000;

}  // namespace

void CQuorinView::ShowBanner(const std::string& text)
{
    m_remote.bannerText = text;
    m_remote.bannerShown = true;
    m_remote.bannerDeadline = Tick() + kBannerMs;
}

IPrompter& CQuorinView::Prompter()
{
    if (m_services.prompter != nullptr)
        return *m_services.prompter;
    if (!m_own.ownPrompter)
        m_own.ownPrompter = std::make_unique<CQtPrompter>(this);
    return *m_own.ownPrompter;
}

void CQuorinView::WriteToRemote(const char* text)
{
    // Straight to the port, beside the command writer; the link serialises
    // the two.
    const int32_t result = m_wire.link.WriteString(text);
    if (result != kSerialOk)
        LogEventText("CQuorinView::OnDefaultComMsg", std::string("Writing to the remote failed: ") + SerialErrorText(result));
}

void CQuorinView::OnDefaultComMsg(std::uintptr_t wParam, std::intptr_t lParam)
{
    const uint16_t kind = uint16_t(wParam & 0xFFFF);
    const uint16_t value = uint16_t((wParam >> 16) & 0xFFFF);
    switch (kind) {
    case kComNewData:
        OnNewData();
        break;
    case kComRemoteStatus:
        // The service terminal has the remote's buttons while it is open.
        if (!m_term.terminal.IsShown()) {
            OnRemoteStatus(value);
            UpdateCommandStates();
        }
        break;
    case kComSendSetup:
        WriteToRemote(kCmdMovalSetup);
        break;
    case kComMovalDetected:
        if (m_term.terminal.IsShown()) {
            g_liveData.movalTextMode = 0;
            break;
        }
        // The remote needs its pauses between the two; the UI keeps running.
        QTimer::singleShot(500, this, [this] {
            WriteToRemote(kCmdVersionRequest);
            QTimer::singleShot(700, this, [this] {
                WriteToRemote(kCmdMovalSetup);
                g_liveData.movalTextMode = 0;
            });
        });
        break;
    case kComRedrawFrame: {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (QWidget* frame = window())
            frame->repaint();
        QApplication::restoreOverrideCursor();
        break;
    }
    case kComRemoteText: {
        std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
        if (!text)
            break;
        // The box runs the event loop: a remote that repeats its message
        // would stack one box, and one nested loop, per message until the
        // stack runs out. One box at a time; the others go to the log.
        if (m_remote.remoteTextShown) {
            LogEventText("CQuorinView::OnDefaultComMsg", "Message from Remote: " + *text);
            break;
        }
        m_remote.remoteTextShown = true;
        Prompter().MessageBox(*text, "Message from Remote", kMbIconWarning);
        m_remote.remoteTextShown = false;
        break;
    }
    default:
        break;
    }
}

void CQuorinView::OnNewData()
{
    LiveData& live = g_liveData;
    const RemoteConfiguration& config = m_app.m_config;
    m_connection.lastDataTick = Tick();
    // Only frames below the write index loaded here are published.
    const int32_t write = live.ringWriteIndex.load(std::memory_order_acquire);
    const int32_t read = live.ringReadIndex.load(std::memory_order_relaxed);
    m_remote.esophageal = (live.statusFlags >> 15) & 1;
    const int32_t count = FramesToConsume(write, read, live.lastBeatOffset);
    if (count >= 1) {
        if (m_intake.mark.TakeForBlock(count)) {
            m_remote.markHrFromEcg = live.heartRateSource == 0;
            CEcgEvent marker;
            const int32_t cuff = LoadRelaxed(config.cuffSize[LimitSpecies(m_patient.info.speciesCode)]);
            marker.Init(CEcgEvent::kMarker, live, uint8_t(cuff), 0, 0);
            PlaceEvent(marker);
        }
        m_intake.events.DrainInto(g_sampleRing, read, count);
        AppendEcgData(count);
    }

    const auto numerics = ReadNumerics(live);
    const CNumericsIntake::Pass pass = m_intake.numerics.Take(numerics);
    for (const int slot : pass.rewrites)
        WriteSlot(slot, numerics[slot], false);
    if (pass.Changed())
        EvaluateAlarms();

    PollSelvoVitals();
}

void CQuorinView::PlaceEvent(const CEcgEvent& event)
{
    // On the first published frame without one, or queued for the next.
    const LiveData& live = g_liveData;
    m_intake.events.Place(g_sampleRing, live.ringReadIndex.load(std::memory_order_relaxed),
                   live.ringWriteIndex.load(std::memory_order_acquire), event);
    if (const uint64_t dropped = m_intake.events.TakeDropped())
        LogEventText("CQuorinView::PlaceEvent", std::to_string(dropped) + " queued events were dropped.");
}

void CQuorinView::OnRemoteStatus(uint16_t code)
{
    const RemoteConfiguration& config = m_app.m_config;
    switch (code) {
    case 1:
    case 2:
    case 3:
        RemoteMenuStep(code);
        break;
    case 4: {
        const SilenceAction action = AlarmSilenceAction(LoadRelaxed(config.alarms) != 0,
                                                        LoadRelaxed(config.alarmTones) != 0, Snoozing());
        if (action.silence)
            OnSilenceAlarm();
        if (action.banner != nullptr)
            ShowBanner(action.banner);
        if (action.redraw)
            update();
        break;
    }
    case 5:
        m_intake.mark.Request();
        ShowBanner(" Mark / Event ");
        update();
        break;
    case 6:
        m_remote.remoteStop = m_remote.remoteStop ? 0 : 1;
        m_remote.tracingsHalted = m_remote.tracingsHalted ? 0 : 1;
        if (m_remote.remoteStop) {
            CapturePrintData();
        } else {
            ResetWaveformStrips();
            RewriteNumerics(true);
            update();
        }
        break;
    case 7:
        if (m_printing.printThrottle.Request(std::chrono::steady_clock::now())) {
            if (!m_remote.remoteStop)
                CapturePrintData();
            // As a posted command: the print runs after this handler.
            QMetaObject::invokeMethod(this, [this] { RunCommand(menu::kPrintDefault); }, Qt::QueuedConnection);
        }
        break;
    case 8:
        if (HasEpisodes() && m_app.EcgProgramsPresent() != 0) {
            m_remote.fromRemote = 1;
            RunCommand(menu::kReview);
            m_remote.fromRemote = 0;
        }
        break;
    case 9:
        RunCommand(menu::kGainCycle);
        break;
    case 10:
        // The flag belongs to this command: a later review from the menu
        // shows its list.
        m_remote.fromRemote = 1;
        RunCommand(menu::kRecord);
        m_remote.fromRemote = 0;
        break;
    case 11:
        if ((g_liveData.featureBits & kFeatureNibp) != 0)
            RemoteBloodPressure();
        break;
    case 12:
        if (m_trendState.trendOpen)
            m_trendState.trendOpen = 0;
        else
            RunCommand(menu::kTrend);
        break;
    case 13:
        RunCommand(menu::kSweepCycle);
        break;
    default:
        break;
    }
}
