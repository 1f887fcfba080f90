// The live recording in the view: its recorder, the start and close that
// the commands, the connection and the patient flow call, and the
// per-frame hand-off.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "recording/EpisodeNames.h"
#include "recording/EpisodeRecovery.h"
#include "view/NumericFormat.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewTimers.h"

namespace {

constexpr uint32_t kRecordRestartPollMs = 250;
constexpr char kRecoverTag[] = "CQuorinView::RecoverEpisodes";

}  // namespace

void CQuorinView::CreateRecording()
{
    auto files = m_services.recordFiles ? m_services.recordFiles : PosixRecordFileSystem();
    m_rec.recorder = std::make_unique<CNorqFileRecorder>(CNorqEventLogger::GetInstance(), files,
                                                     m_services.recorderWakeMs);
    LiveRecordingServices services;
    services.app = &m_app;
    services.recorder = m_rec.recorder.get();
    services.prompter = &Prompter();
    services.statusMessage = [this](const std::string& text) {
        if (m_services.frame != nullptr)
            m_services.frame->SetStatusMessage(text);
    };
    services.queueCommand = [this](const std::string& text) { m_wire.writeQueue.Push(text); };
    services.tickMs = [this] { return SteadyTickMs(); };
    services.now = [this] { return Now(); };
    services.cuffSize = [this] {
        return uint8_t(LoadRelaxed(m_app.m_config.cuffSize[LimitSpecies(m_patient.info.speciesCode)]));
    };
    m_rec.recording = std::make_unique<CLiveRecording>(std::move(services));
    m_rec.recording->SetSessionDate(Now());
    // The worker tells of each rename and each file's end; the list is the
    // UI thread's.
    QPointer<CQuorinView> self(this);
    m_rec.recorder->SetRenameReport([self](const CNorqFileRecorder::RenameReport& report) {
        QMetaObject::invokeMethod(
            qApp,
            [self, report] {
                if (self != nullptr && self->m_rec.recording != nullptr)
                    self->m_rec.recording->OnRenameReport(report);
            },
            Qt::QueuedConnection);
    });
    m_rec.recorder->SetFileEndReport([self](const CNorqFileRecorder::FileEndReport& report) {
        QMetaObject::invokeMethod(
            qApp,
            [self, report] {
                if (self != nullptr && self->m_rec.recording != nullptr)
                    self->OnRecordingFileEnd(report);
            },
            Qt::QueuedConnection);
    });
    RecoverEpisodes();
}

void CQuorinView::RecoverEpisodes()
{
    std::vector<std::string> folders{m_app.RecordFolder()};
    if (m_app.EpisodeFolder() != m_app.RecordFolder())
        folders.push_back(m_app.EpisodeFolder());
    std::vector<RecoveredEpisode> recovered;
    for (const std::string& folder : folders) {
        auto found =
            RecoverInterruptedEpisodes(folder, [](const std::string& line) { LogEventText(kRecoverTag, line); });
        recovered.insert(recovered.end(), found.begin(), found.end());
    }
    std::stable_sort(recovered.begin(), recovered.end(), [](const RecoveredEpisode& a, const RecoveredEpisode& b) {
        return a.start.Value() < b.start.Value();
    });
    for (const RecoveredEpisode& episode : recovered)
        m_rec.recording->AddEpisode({episode.text, episode.path});
}

void CQuorinView::OnRecordingFileEnd(const CNorqFileRecorder::FileEndReport& report)
{
    if (const auto failure = m_rec.recording->OnFileEnd(report)) {
        UpdateRecordingButton();
        Prompter().MessageBox(failure->boxText, kRecordingFailedCaption, kMbOk | kMbIconWarning);
    }
    // A start waiting for this file to be saved goes ahead now.
    if (m_rec.recording != nullptr && m_rec.recording->StartWaiting())
        PollRecordingRestart();
}

void CQuorinView::UpdateRecordingButton()
{
    if (m_services.frame != nullptr)
        m_services.frame->SetRecordingButton(!RecordingWanted());  // image 10: idle
}

bool CQuorinView::RecordingWanted() const
{
    return IsRecording() || (m_rec.recording != nullptr && m_rec.recording->StartWaiting());
}

bool CQuorinView::IsRecording() const
{
    return m_rec.recording != nullptr && m_rec.recording->IsRecording();
}

bool CQuorinView::HasEpisodes() const
{
    return m_rec.recording != nullptr && !m_rec.recording->Episodes().empty();
}

void CQuorinView::StartRecording()
{
    if (m_rec.recording != nullptr &&
        m_rec.recording->StartRecording(m_patient, m_rec.startupPending, m_remote.esophageal != 0) == RecordingStart::kWaiting)
        m_timing.timers->SetTimer(kRecordRestartTimer, kRecordRestartPollMs);
    UpdateRecordingButton();
}

void CQuorinView::CloseRecording()
{
    if (m_rec.recording != nullptr)
        m_rec.recording->CloseRecording(m_patient.info, m_remote.esophageal != 0);
    UpdateRecordingButton();
}

void CQuorinView::StoreVitalsEvent()
{
    if (m_rec.recording != nullptr)
        m_remote.markHrFromEcg = m_rec.recording->StoreVitalsEvent();
}

void CQuorinView::HandFrameToRecording(const SampleFrame&, int32_t index)
{
    // The event's position goes into the ring frame itself.
    if (m_rec.recording != nullptr)
        m_rec.recording->HandFrame(g_sampleRing[size_t(index) & kSampleRingMask]);
}

void CQuorinView::RequestVitals()
{
    if (m_rec.recording != nullptr)
        m_rec.recording->RequestVitals();
}

void CQuorinView::PollSelvoVitals()
{
    if (m_rec.recording == nullptr)
        return;
    if (const auto hrFromEcg = m_rec.recording->PollSelvoVitals(g_liveData.featureBits, g_liveData.deviceKind))
        m_remote.markHrFromEcg = *hrFromEcg;
}

std::string CQuorinView::GetMissingPatientFields() const
{
    return MissingPatientFields(m_patient);
}

void CQuorinView::ToggleRecording()
{
    // A start that waits for the episode before can be called off.
    if (RecordingWanted()) {
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
    if (!m_rec.recordingResume)
        return;
    m_rec.recordingResume = false;
    StartRecording();
}

// A link that drops while a start waits for the recorder also resumes:
// however often it drops, its return finds the wish to record.
void CQuorinView::SuspendRecording()
{
    if (!RecordingWanted())
        return;
    m_rec.recordingResume = true;
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
    StartRecording();
}

void CQuorinView::PollRecordingRestart()
{
    if (m_rec.recording->RetryStart(m_patient, m_rec.startupPending, m_remote.esophageal != 0) == RecordingStart::kWaiting)
        return;
    m_timing.timers->KillTimer(kRecordRestartTimer);
    UpdateRecordingButton();
}

void CQuorinView::CheckRecording()
{
    if (m_rec.recording == nullptr)
        return;
    if (const auto failure = m_rec.recording->TakeFailure()) {
        UpdateRecordingButton();
        Prompter().MessageBox(failure->boxText, kRecordingFailedCaption, kMbOk | kMbIconWarning);
    }
}

void CQuorinView::DeleteRecorder()
{
    // The recorder's destructor closes an open file through its queue.
    m_rec.recording.reset();
    m_rec.recorder.reset();
    // Print episodes still being written are finished before the log closes.
    (void)m_printing.printWriters.WaitIdle(std::chrono::seconds(10));
}
