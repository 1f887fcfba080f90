// The connection as the user sees it: the status pane and box, the sounds
// of connecting and losing the remote, and the layout following what the
// remote reports it measures.
#include <QLabel>

#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/ConnectMachine.h"
#include "view/WaveSounds.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewTimers.h"

namespace {

constexpr uint32_t kSetupDelayMs = 1500;

}  // namespace

void CQuorinView::ShowConnectionStatusBox(const char* text, COLORREF color)
{
    if (CColorStatic* status = SingleBoxAt(kBoxStatusText)) {
        status->setText(QString::fromLatin1(text));
        // A new colour with the same text is a change too.
        status->m_textColor = color;
        status->update();
        status->show();
    }
}

void CQuorinView::SetConnectionStatus(int32_t status, bool afterGivingUp)
{
    m_connection.connectionStatus = status;
    IFrameControls* frame = m_services.frame;
    LiveData& live = g_liveData;
    switch (status) {
    case 0:
        // After the failed opens the pane keeps saying what is so; the
        // chime sounded at the loss.
        if (frame != nullptr && afterGivingUp)
            frame->SetConnectionPane("Wireless Remote Disconnected", 0x6464FF);
        else if (frame != nullptr)
            frame->SetConnectionPane("", std::nullopt);
        if (m_pane.connectAnim != nullptr) {
            m_pane.connectAnim->Stop();
            m_pane.connectAnim->hide();
        }
        if (CColorStatic* box = SingleBoxAt(kBoxStatusText))
            box->hide();
        CloseRecording();
        m_app.m_config = m_app.m_confirmedConfig;
        break;
    case 1:
        if (frame != nullptr)
            frame->SetConnectionPane("Wireless Remote Connecting", 0x00FFFF);
        ShowConnectionStatusBox("Connecting:", 0x40FFFF);
        if (m_pane.connectAnim != nullptr) {
            m_pane.connectAnim->show();
            m_pane.connectAnim->Play(true);
        }
        break;
    case 2: {
        if (frame != nullptr)
            frame->SetConnectionPane("Wireless Remote Connected", 0x64FF64);
        m_sounds.soundManager.PlayChime(MakeWave(kConnectedWave));
        if (m_pane.connectAnim != nullptr) {
            m_pane.connectAnim->show();
            m_pane.connectAnim->ShowLast();
        }
        ShowConnectionStatusBox("Connected:", 0x00C800);
        const bool selvoWithoutEcgStrips =
            live.deviceKind == kDeviceSelvo && SelvoWithoutEcgStrips(live.featureBits);
        if (live.deviceKind == kDeviceBrindle || selvoWithoutEcgStrips)
            StoreRelaxed(m_app.m_config.recordMode, 0);
        StartTrendClock();
        ResumeRecording();
        m_timing.timers->SetTimer(kSetupTimer, kSetupDelayMs);
        break;
    }
    case 3:
        if (frame != nullptr)
            frame->SetConnectionPane("Wireless Remote Disconnected", 0x6464FF);
        m_sounds.soundManager.PlayChime(MakeWave(kLostConnectionWave));
        SuspendRecording();
        ResetAlarmDisplay();
        live.connectionStatus[0] = 0;
        live.deviceKind = kDeviceUnknown;
        m_app.m_config = m_app.m_confirmedConfig;
        break;
    default:
        break;
    }
    UpdateTitle();
    UpdateAlarmCommands();
}

void CQuorinView::ApplyFeatureChange(bool sendBpSetup)
{
    LiveData& live = g_liveData;
    const uint16_t features = live.featureBits;
    const uint16_t handled = live.handledFeatureBits;
    if (features == handled)
        return;
    ResetWaveformStrips();
    if (!m_app.IsDemoMode()) {
        const uint16_t added = uint16_t(features & ~handled);
        if ((added & kFeatureCO2) != 0) {
            m_gasProbe.gasPollRequested = true;
            m_gasProbe.co2AppearedTick = Tick();
        }
        if ((added & kFeatureNibp) != 0 && sendBpSetup)
            m_wire.writeQueue.Push(::BpSetupCommand(m_app.m_config, m_patient.info.speciesCode));
        if (!m_term.terminal.IsShown()) {
            m_term.terminal.ClearReceiveBuffer();
            RequestRemoteVersion();
        }
    }
    RestartRecordingForFeatures(handled, features);
    live.handledFeatureBits = features;
    // The pane is built anew for what the remote measures now; every value
    // is written again on the next pass.
    m_intake.numerics.ForceRewrite();
    LayoutNumerics();
    LayoutPanes();
    ResetAlarmBoxes();
    update();
    if (m_gasProbe.gasUseOnConnect.TakeDue(m_connection.live != 0, live.deviceKind, live.featureBits))
        QMetaObject::invokeMethod(this, [this] { CountGasProbeUse(); }, Qt::QueuedConnection);
}
