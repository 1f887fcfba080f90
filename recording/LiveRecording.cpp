#include "recording/LiveRecording.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "app/NorqEventLogger.h"
#include "app/ValueHelpers.h"
#include "recording/EpisodeNames.h"

namespace {

constexpr char kStartTag[] = "CQuorinView::StartRecording";
constexpr char kCloseTag[] = "CQuorinView::CloseRecording";
constexpr char kDrawTag[] = "CQuorinView::OnDraw";
constexpr char kSelvoRecordOn[] = "\rRD 1\r";
constexpr char kSelvoRecordOff[] = "\rRD 0\r";
constexpr int64_t kDefaultCaptureSeconds = 60;

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? std::size_t(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

std::string FormatSpan(const COleDate& from, const COleDate& to)
{
    const auto days = COleDate::SpanDays(from, to);
    return FormatTimeSpan(days ? std::llround(*days * 86400.0) : 0);
}

bool SelvoWithoutEcgStrips(uint16_t features)
{
    return features == kFeatureTemp || (features & 0x404) != 0;
}

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

void CLiveRecording::StartRecording(const PatientData& patient, bool startupPending)
{
    if (startupPending || m_recordingActive != 0)
        return;
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
    if (recorder.HasFile()) {
        if (recorder.State() == CNorqFileRecorder::kClosing)
            m_s.prompter->MessageBox(
                "Please Wait until all data from previous episode has been saved. \nThis may take a few minutes.",
                "QRE File Write in Progress", kMbOk | kMbIconWarning);
        return;
    }
    if (recorder.State() != CNorqFileRecorder::kIdle || !PrepareFolder())
        return;

    CQuorinAppCore& app = *m_s.app;
    m_recordStart = m_s.now();
    const std::string path = EpisodeFilePath(app.RecordFolder(), app.IsDemoMode(), patient.info, m_recordStart);
    ResetEpisode();
    m_vitalsRequested = false;
    m_nextVitalsCapture = m_s.tickMs() + CapturePeriodMs();

    if (!recorder.OpenFile(path))
        Log(kStartTag, Printf("Failed to open \"%s\" for recording", path.c_str()));

    const bool selvo = g_liveData.deviceKind == kDeviceSelvo;
    if (!recorder.HasFile() || recorder.State() != CNorqFileRecorder::kOpen) {
        m_recordingActive = 0;
        if (selvo)
            m_s.queueCommand(kSelvoRecordOff);
        return;
    }
    m_recordingActive = 1;
    recorder.WriteHeader(m_qreHeader.data());
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
    m_nameSuffix = TakenNameSuffix(path, recorder.GetFilePath());
    m_fileName = fileName;
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
        m_events.push_back(frame.event);
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
    m_events.push_back(event);
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
}

void CLiveRecording::AddEpisode(const episodeItemType& item)
{
    if (m_episodes.size() >= kMaxEpisodes)
        m_episodes.erase(m_episodes.begin());
    m_episodes.push_back(item);
}

void CLiveRecording::OnRenameReport(const CNorqFileRecorder::RenameReport& report)
{
    for (auto it = m_pendingRenames.begin(); it != m_pendingRenames.end(); ++it) {
        if (it->first != report.oldPath || it->second != report.newPath)
            continue;
        m_pendingRenames.erase(it);
        if (report.renamed)
            return;
        // The new name belongs to another file: list this one where it is.
        for (auto item = m_episodes.rbegin(); item != m_episodes.rend(); ++item) {
            if (item->path == report.newPath) {
                item->path = report.oldPath;
                break;
            }
        }
        return;
    }
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

std::optional<RecordingLine> CLiveRecording::Line(const COleDate& now) const
{
    const CNorqFileRecorder& recorder = *m_s.recorder;
    const int32_t state = recorder.State();
    if (!recorder.HasFile() || (state != CNorqFileRecorder::kOpen && state != CNorqFileRecorder::kClosing))
        return std::nullopt;
    RecordingLine line;
    if (state == CNorqFileRecorder::kOpen) {
        line.label = m_recordMode != 0 ? "Continuous ECG:" : "Continuous Event:";
        line.elapsed = FormatSpan(m_recordStart, now);
    } else {
        line.label = "Saving ECG data: ";
        line.elapsed = FormatSpan(m_sessionDate, now);
    }
    line.fileName = recorder.GetFileName().substr(0, 19) + "...";
    return line;
}

std::optional<RecordingFailure> CLiveRecording::TakeFailure()
{
    CNorqFileRecorder& recorder = *m_s.recorder;
    const int32_t state = recorder.State();
    if (m_recordingActive == 0 || (state != CNorqFileRecorder::kError && state != CNorqFileRecorder::kStopped))
        return std::nullopt;
    m_recordingActive = 0;
    ResetEpisode();
    std::string text;
    int32_t code = 0;
    recorder.GetLastStatus(text, code);
    RecordingFailure failure;
    failure.logLine = Printf(" QRE File %s has unexpectedly stopped recording!  Error %s, code 0x%x!",
                             m_fileName.c_str(), text.c_str(), static_cast<unsigned>(code));
    failure.boxText = Printf("Recording has stopped because of error. Error code 0x%x, Exception %s. \n"
                             "Please restart recording.  File will be saved to directory %s. \n",
                             static_cast<unsigned>(code), text.c_str(), m_s.app->RecordFolder().c_str());
    Log(kDrawTag, failure.logLine);
    return failure;
}
