// The live recording in the view: its recorder, the start and close that
// the commands, the connection and the patient flow call, and the
// per-frame hand-off.
#include <QCoreApplication>
#include <chrono>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "recording/EpisodeNames.h"
#include "view/NumericFormat.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewTimers.h"

namespace {

constexpr uint32_t kRecordRestartPollMs = 250;
constexpr uint64_t kRecordRestartWaitMs = 120000;

uint64_t SteadyMs()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool SelvoWithoutEcgStrips(uint16_t features)
{
    return features == kFeatureTemp || (features & 0x404) != 0;
}

}  // namespace

void CQuorinView::CreateRecording()
{
    auto files = m_services.recordFiles ? m_services.recordFiles : PosixRecordFileSystem();
    m_recorder = std::make_unique<CNorqFileRecorder>(CNorqEventLogger::GetInstance(), files,
                                                     m_services.recorderWakeMs);
    LiveRecordingServices services;
    services.app = &m_app;
    services.recorder = m_recorder.get();
    services.prompter = &Prompter();
    services.statusMessage = [this](const std::string& text) {
        if (m_services.frame != nullptr)
            m_services.frame->SetStatusMessage(text);
    };
    services.queueCommand = [this](const std::string& text) { m_writeQueue.Push(text); };
    services.tickMs = m_services.tickMs ? m_services.tickMs : SteadyMs;
    services.now = [this] { return Now(); };
    services.cuffSize = [this] {
        return uint8_t(LoadRelaxed(m_app.m_config.cuffSize[LimitSpecies(m_patient.info.speciesCode)]));
    };
    m_recording = std::make_unique<CLiveRecording>(std::move(services));
    m_recording->SetSessionDate(Now());
    // The worker tells of each rename; the list is the UI thread's.
    QPointer<CQuorinView> self(this);
    m_recorder->SetRenameReport([self](const CNorqFileRecorder::RenameReport& report) {
        QMetaObject::invokeMethod(
            qApp,
            [self, report] {
                if (self != nullptr && self->m_recording != nullptr)
                    self->m_recording->OnRenameReport(report);
            },
            Qt::QueuedConnection);
    });
}

bool CQuorinView::IsRecording() const
{
    return m_recording != nullptr && m_recording->IsRecording();
}

bool CQuorinView::HasEpisodes() const
{
    return m_recording != nullptr && !m_recording->Episodes().empty();
}

void CQuorinView::StartRecording()
{
    if (m_recording != nullptr)
        m_recording->StartRecording(m_patient, m_startupPending);
    if (m_services.frame != nullptr)
        m_services.frame->SetRecordingButton(!IsRecording());  // image 10: idle
}

void CQuorinView::CloseRecording()
{
    if (m_recording != nullptr)
        m_recording->CloseRecording(m_patient.info, m_esophageal != 0);
    if (m_services.frame != nullptr)
        m_services.frame->SetRecordingButton(!IsRecording());  // image 10: idle
}

void CQuorinView::StoreVitalsEvent()
{
    if (m_recording != nullptr)
        m_markHrFromEcg = m_recording->StoreVitalsEvent();
}

void CQuorinView::HandFrameToRecording(const SampleFrame&, int32_t index)
{
    // The event's position goes into the ring frame itself.
    if (m_recording != nullptr)
        m_recording->HandFrame(g_sampleRing[size_t(index) & kSampleRingMask]);
}

void CQuorinView::RequestVitals()
{
    if (m_recording != nullptr)
        m_recording->RequestVitals();
}

void CQuorinView::PollSelvoVitals()
{
    if (m_recording == nullptr)
        return;
    if (const auto hrFromEcg = m_recording->PollSelvoVitals(g_liveData.featureBits, g_liveData.deviceKind))
        m_markHrFromEcg = *hrFromEcg;
}

std::string CQuorinView::GetMissingPatientFields() const
{
    return MissingPatientFields(m_patient);
}

void CQuorinView::ToggleRecording()
{
    if (IsRecording()) {
        CloseRecording();
    } else {
        const int32_t kind = g_liveData.deviceKind;
        const uint16_t features = g_liveData.featureBits;
        RemoteConfiguration& config = Config();
        if (kind == kDeviceBrindle || (kind == kDeviceSelvo && SelvoWithoutEcgStrips(features)))
            StoreRelaxed(config.recordMode, 0);
        else if (kind != kDeviceSelvo)
            StoreRelaxed(config.recordMode, 1);
        StartRecording();
    }
    UpdateTitle();
}

void CQuorinView::ResumeRecording()
{
    if (!m_recordingResume)
        return;
    m_recordingResume = false;
    StartRecording();
}

void CQuorinView::SuspendRecording()
{
    if (!IsRecording())
        return;
    m_recordingResume = true;
    CloseRecording();
}

void CQuorinView::RestartRecordingForFeatures(uint16_t before, uint16_t now)
{
    if (g_liveData.deviceKind != kDeviceSelvo || !IsRecording() || before == now)
        return;
    const bool leftEcg = (before & kFeatureEcg) != 0 && LoadRelaxed(Config().recordMode) != 0;
    const bool gainedEcg = SelvoWithoutEcgStrips(before) && (now & kFeatureEcg) != 0;
    if (!leftEcg && !gainedEcg)
        return;
    CloseRecording();
    // The new episode waits for the old one's file, without holding the
    // display.
    m_recordRestartDeadline = (m_services.tickMs ? m_services.tickMs() : SteadyMs()) + kRecordRestartWaitMs;
    m_timers->SetTimer(kRecordRestartTimer, kRecordRestartPollMs);
}

void CQuorinView::PollRecordingRestart()
{
    const uint64_t now = m_services.tickMs ? m_services.tickMs() : SteadyMs();
    if (m_recorder->State() != CNorqFileRecorder::kIdle && now < m_recordRestartDeadline)
        return;
    m_timers->KillTimer(kRecordRestartTimer);
    StartRecording();
}

void CQuorinView::CheckRecording()
{
    if (m_recording == nullptr)
        return;
    if (const auto failure = m_recording->TakeFailure()) {
        if (m_services.frame != nullptr)
            m_services.frame->SetRecordingButton(true);
        Prompter().MessageBox(failure->boxText, "QRE File Recording Failed!", kMbOk | kMbIconWarning);
    }
}

void CQuorinView::DeleteRecorder()
{
    // The recorder's destructor closes an open file through its queue.
    m_recording.reset();
    m_recorder.reset();
    // Print episodes still being written are finished before the log closes.
    (void)m_printWriters.WaitIdle(std::chrono::seconds(10));
}
