#include "recording/LiveRecording.h"

#include "app/NorqEventLogger.h"
#include "app/ValueHelpers.h"
#include "recording/EpisodeNames.h"
#include "recording/EpisodeRecovery.h"
#include "recording/Printf.h"

namespace {

constexpr char kStartTag[] = "CQuorinView::StartRecording";
constexpr char kCloseTag[] = "CQuorinView::CloseRecording";
constexpr char kSelvoRecordOn[] = "\rRD 1\r";
constexpr char kSelvoRecordOff[] = "\rRD 0\r";
constexpr int64_t kDefaultCaptureSeconds = 60;
constexpr char kSavingText[] =
    "Please Wait until all data from previous episode has been saved. This may take a few minutes.";

}  // namespace

CLiveRecording::CLiveRecording(LiveRecordingServices services) : m_s(std::move(services))
{
    if (!m_s.log)
        m_s.log = [](const char* tag, const std::string& line) { LogEventText(tag, line); };
}

void CLiveRecording::Log(const char* tag, const std::string& line) const
{
    m_s.log(tag, line);
}

uint64_t CLiveRecording::CapturePeriodMs() const
{
    // Below 1 would store a vitals event on every frame.
    const int64_t seconds = LoadRelaxed(m_s.app->m_config.eventCapture);
    return static_cast<uint64_t>(seconds < 1 ? kDefaultCaptureSeconds : seconds) * 1000;
}

bool CLiveRecording::PrepareFolder()
{
    CQuorinAppCore& app = *m_s.app;
    if (MakeRecordFolder(app.RecordFolder()))
        return true;
    app.SetRecordFolder(app.EpisodeFolder());
    if (MakeRecordFolder(app.RecordFolder()))
        return true;
    Log(kStartTag, Printf("Even Default recording path \"%s\" is unavailable", app.RecordFolder().c_str()));
    m_s.prompter->MessageBox("No recording path available.\nPlease check permissions.", m_s.appName, kMbOk);
    return false;
}

void CLiveRecording::ResetEpisode()
{
    m_recordTicks = 0;
    m_events.clear();
    m_qreHeader.fill(0);
}

RecordingStart CLiveRecording::StartRecording(const PatientData& patient, bool startupPending, bool esophageal)
{
    if (startupPending || m_recordingActive != 0)
        return RecordingStart::kNotStarted;
    CNorqFileRecorder& recorder = *m_s.recorder;
    if (const int32_t state = recorder.State();
        state == CNorqFileRecorder::kError || state == CNorqFileRecorder::kStopped) {
        std::string text;
        int32_t code = 0;
        recorder.GetLastStatus(text, code);
        Log(kStartTag, Printf("NorqFileRecorder Error: State %s. Error msg %s, Code %d.  Resetting State.",
                              state == CNorqFileRecorder::kError ? "RECORDER_ERROR" : "RECORDER_STOPPED",
                              text.c_str(), code));
        recorder.Restart();
    }
    // The episode before is still being saved: this one follows it. A box
    // here would hold the display while the link comes and goes.
    if (recorder.HasFile() || recorder.State() == CNorqFileRecorder::kClosing) {
        if (!m_startWaiting) {
            m_startWaiting = true;
            m_startDeadline = m_s.tickMs() + kStartWaitMs;
            Log(kStartTag, "Waiting until the previous episode has been saved");
        }
        m_s.statusMessage(kSavingText);
        return RecordingStart::kWaiting;
    }
    m_startWaiting = false;
    if (recorder.State() != CNorqFileRecorder::kIdle || !PrepareFolder())
        return RecordingStart::kNotStarted;

    CQuorinAppCore& app = *m_s.app;
    m_recordStart = m_s.now();
    ResetEpisode();
    m_vitalsRequested = false;
    m_nextVitalsCapture = m_s.tickMs() + CapturePeriodMs();

    std::string path;
    const std::string folderBefore = app.RecordFolder();
    const bool opened = OpenEpisodeFile(patient, path);
    const bool selvo = g_liveData.deviceKind == kDeviceSelvo;
    if (!opened) {
        m_recordingActive = 0;
        if (selvo)
            m_s.queueCommand(kSelvoRecordOff);
        std::string text;
        int32_t code = 0;
        recorder.GetLastStatus(text, code);
        // No folder at all has been told already.
        if (code != 0) {
            const RecordingFailure failure = Failure(FileNameOf(path), text, code);
            m_s.prompter->MessageBox(failure.boxText, kRecordingFailedCaption, kMbOk | kMbIconWarning);
        }
        return RecordingStart::kNotStarted;
    }
    m_recordingActive = 1;
    m_generation = recorder.Generation();
    const std::string fileName = recorder.GetFileName();
    m_s.statusMessage(fileName);
    Log(kStartTag, "Started Recording " + fileName);
    RemoteConfiguration& config = app.m_config;
    if (selvo) {
        m_s.queueCommand(kSelvoRecordOn);
        if ((g_liveData.featureBits & kFeatureEcg) != 0 && LoadRelaxed(config.recordMode) == 0)
            StoreRelaxed(config.recordMode, 1);
    }
    m_recordMode = LoadRelaxed(config.recordMode);
    WriteEarlyHeader(patient, esophageal);
    m_nameSuffix = TakenNameSuffix(path, recorder.GetFilePath());
    m_fileName = fileName;
    if (app.RecordFolder() != folderBefore)
        m_s.prompter->MessageBox(Printf("The recording folder \"%s\" cannot be written.\n"
                                        "Episodes are saved to \"%s\" instead.",
                                        folderBefore.c_str(), app.RecordFolder().c_str()),
                                 m_s.appName, kMbOk | kMbIconWarning);
    return RecordingStart::kStarted;
}

RecordingStart CLiveRecording::RetryStart(const PatientData& patient, bool startupPending, bool esophageal)
{
    if (!m_startWaiting)
        return RecordingStart::kNotStarted;
    const CNorqFileRecorder& recorder = *m_s.recorder;
    if (recorder.HasFile() || recorder.State() == CNorqFileRecorder::kClosing) {
        if (m_s.tickMs() < m_startDeadline)
            return RecordingStart::kWaiting;
        m_startWaiting = false;
        Log(kStartTag, "The previous episode is still being saved; the recording was not started");
        return RecordingStart::kNotStarted;
    }
    return StartRecording(patient, startupPending, esophageal);
}

bool CLiveRecording::OpenEpisodeFile(const PatientData& patient, std::string& path)
{
    CQuorinAppCore& app = *m_s.app;
    CNorqFileRecorder& recorder = *m_s.recorder;
    path = EpisodeFilePath(app.RecordFolder(), app.IsDemoMode(), patient.info, m_recordStart);
    if (recorder.OpenFile(path))
        return true;
    Log(kStartTag, Printf("Failed to open \"%s\" for recording", path.c_str()));
    // A folder that exists but takes no file is given up for the run, as
    // one that cannot be made is.
    if (app.RecordFolder() == app.EpisodeFolder())
        return false;
    app.SetRecordFolder(app.EpisodeFolder());
    if (!MakeRecordFolder(app.RecordFolder())) {
        Log(kStartTag, Printf("Even Default recording path \"%s\" is unavailable", app.RecordFolder().c_str()));
        m_s.prompter->MessageBox("No recording path available.\nPlease check permissions.", m_s.appName, kMbOk);
        recorder.SetStatus({}, 0);
        return false;
    }
    path = EpisodeFilePath(app.RecordFolder(), app.IsDemoMode(), patient.info, m_recordStart);
    if (recorder.OpenFile(path))
        return true;
    Log(kStartTag, Printf("Failed to open \"%s\" for recording", path.c_str()));
    return false;
}

// What the file holds before its close: everything but the counts, so
// that an interrupted episode can be finished from it. The close writes
// the header whole again, as it has always been.
void CLiveRecording::WriteEarlyHeader(const PatientData& patient, bool esophageal)
{
    const RemoteConfiguration& config = m_s.app->m_config;
    CPatientInfo record = patient.info;
    QreFileHeader header{};
    CQre3File::FillHeader(record, header.data(), m_recordStart, esophageal, config, g_liveData);
    QreFinish early;
    early.recordingKind =
        LiveRecordingKind(m_recordMode, LoadRelaxed(config.co2Save), 0, g_liveData.featureBits);
    early.note = LiveCaptureNote(g_liveData.deviceKind, m_recordStart);
    early.unitSelectors = true;
    WriteFinish(header.data(), early, config);
    m_s.recorder->WriteHeader(header.data());
}

void CLiveRecording::AddEvent(const CEcgEvent& event)
{
    m_events.push_back(event);
    const QreEventRecord record = EncodeEventRecord(event);
    m_s.recorder->WriteJournal(record.data(), int32_t(record.size()));
}

void CLiveRecording::HandFrame(SampleFrame& frame)
{
    CNorqFileRecorder& recorder = *m_s.recorder;
    if (m_recordingActive == 0 || !recorder.HasFile() || recorder.State() != CNorqFileRecorder::kOpen)
        return;
    if (m_recordMode != 0) {
        uint8_t record[kQreSampleRecordSize];
        EncodeSampleRecord(frame, record);
        recorder.WriteData(record, kQreSampleRecordSize);
    }
    if (frame.event.code != 0) {
        frame.event.position = m_recordTicks;
        AddEvent(frame.event);
    } else if (const uint64_t now = m_s.tickMs(); now >= m_nextVitalsCapture) {
        StoreVitalsEvent();
        const uint64_t period = CapturePeriodMs();
        m_nextVitalsCapture += period;
        // Behind by a whole period (the machine slept): from now on, not a
        // vitals event on every frame until it catches up.
        if (m_nextVitalsCapture <= now)
            m_nextVitalsCapture = now + period;
    } else if (m_vitalsRequested) {
        m_vitalsRequested = false;
        StoreVitalsEvent();
    }
    ++m_recordTicks;
}

bool CLiveRecording::StoreVitalsEvent()
{
    CEcgEvent event;
    event.Init(CEcgEvent::kVitals, g_liveData, m_s.cuffSize ? m_s.cuffSize() : 0, 0, 0);
    event.position = m_recordTicks;
    AddEvent(event);
    return event.heartRateSource == 0;
}

std::optional<bool> CLiveRecording::PollSelvoVitals(uint16_t featureBits, int32_t deviceKind)
{
    if (featureBits != kFeatureTemp || deviceKind != kDeviceSelvo)
        return std::nullopt;
    const uint64_t now = m_s.tickMs();
    if (now < m_nextVitalsCapture)
        return std::nullopt;
    std::optional<bool> hrFromEcg;
    if (IsRecording())
        hrFromEcg = StoreVitalsEvent();
    const uint64_t period = CapturePeriodMs();
    m_nextVitalsCapture += period;
    if (m_nextVitalsCapture <= now)
        m_nextVitalsCapture = now + period;
    ++m_recordTicks;
    return hrFromEcg;
}

void CLiveRecording::CloseRecording(CPatientInfo& patient, bool esophageal)
{
    m_sessionDate = m_s.now();
    if (g_liveData.deviceKind == kDeviceSelvo)
        m_s.queueCommand(kSelvoRecordOff);
    if (m_closingRecording != 0)
        return;
    m_closingRecording = 1;
    m_startWaiting = false;
    CNorqFileRecorder& recorder = *m_s.recorder;
    if (m_recordingActive != 0 && recorder.HasFile() && recorder.State() == CNorqFileRecorder::kOpen) {
        m_s.statusMessage("Ready");
        const bool holdsAnything = m_recordTicks > 0 && (m_recordMode != 0 || !m_events.empty());
        if (holdsAnything) {
            const bool hasSamples = FinishHeader(patient, esophageal);
            NameAndList(patient, hasSamples);
        } else {
            recorder.DeleteFile();
        }
        ResetEpisode();
    }
    m_recordingActive = 0;
    m_closingRecording = 0;
    SetRecordModeAfterClose();
}

bool CLiveRecording::FinishHeader(CPatientInfo& patient, bool esophageal)
{
    const RemoteConfiguration& config = m_s.app->m_config;
    CNorqFileRecorder& recorder = *m_s.recorder;
    CQre3File::FillHeader(patient, m_qreHeader.data(), m_recordStart, esophageal, config, g_liveData);
    // Where the samples end, for a close that is cut short.
    const QreEventRecord mark = JournalEndMark(m_recordTicks);
    recorder.WriteJournal(mark.data(), int32_t(mark.size()));
    QreFinish finish;
    for (const CEcgEvent& event : m_events) {
        const QreEventRecord record = EncodeEventRecord(event);
        recorder.WriteData(record.data(), kQreEventRecordSize);
        finish.eventKinds = static_cast<uint16_t>(finish.eventKinds | event.featureBits);
    }
    finish.sampleTicks = m_recordTicks;
    finish.recordingKind =
        LiveRecordingKind(m_recordMode, LoadRelaxed(config.co2Save), finish.eventKinds, g_liveData.featureBits);
    finish.sampleCount = finish.recordingKind == QreRecordingKind::VitalsOnly ? 0 : m_recordTicks;
    finish.eventCount = static_cast<uint32_t>(m_events.size());
    finish.note = LiveCaptureNote(g_liveData.deviceKind, m_recordStart);
    finish.unitSelectors = true;
    WriteFinish(m_qreHeader.data(), finish, config);
    recorder.WriteHeader(m_qreHeader.data());
    return finish.sampleCount != 0;
}

void CLiveRecording::NameAndList(const CPatientInfo& patient, bool hasSamples)
{
    CQuorinAppCore& app = *m_s.app;
    CNorqFileRecorder& recorder = *m_s.recorder;
    const std::string text = EpisodeText(m_recordStart, hasSamples, patient);
    const std::string oldPath = recorder.GetFilePath();
    Log(kCloseTag, Printf("Closing Recording File: %s at location: %s", recorder.GetFileName().c_str(),
                          (app.RecordFolder() + "/").c_str()));
    recorder.CloseFile();
    const std::string newPath =
        EpisodeFilePath(app.RecordFolder(), app.IsDemoMode(), patient, m_recordStart, m_nameSuffix);
    if (newPath != oldPath) {
        Log(kCloseTag, Printf("Rename QRE file %s --> %s", oldPath.c_str(), newPath.c_str()));
        m_pendingRenames.emplace_back(oldPath, newPath);
        recorder.RenameFile(oldPath, newPath);
    }
    AddEpisode({text, newPath});
    // Until the recorder says how the file ended; a word that never comes
    // (a worker stopped at the end of the run) costs no more than the list.
    if (m_unsaved.size() >= kMaxEpisodes)
        m_unsaved.pop_front();
    m_unsaved.push_back({m_generation, FileNameOf(oldPath), newPath});
}

void CLiveRecording::SetRecordModeAfterClose()
{
    CQuorinAppCore& app = *m_s.app;
    const int32_t kind = g_liveData.deviceKind;
    if (kind == kDeviceBrindle)
        StoreRelaxed(app.m_config.recordMode, 0);
    else if (kind == kDeviceSelvo)
        StoreRelaxed(app.m_config.recordMode, SelvoWithoutEcgStrips(g_liveData.featureBits)
                                                  ? 0
                                                  : LoadRelaxed(app.m_storedConfig.recordMode));
}
