#pragma once
// The view's recording control: one QRE file per episode. Starting picks
// the folder and name and opens the file through the recorder; every
// consumed frame becomes a sample record, its event or a periodic vitals
// event; closing finishes the header, writes the events, closes, names and
// lists the episode (or deletes an empty one). Runs on the UI thread; the
// file work is the recorder's worker's.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "patient/PatientInfo.h"
#include "platform/OleDate.h"
#include "platform/Prompter.h"
#include "recording/NorqFileRecorder.h"
#include "recording/QreFile.h"

// A Selvo's features that give it no ECG strips to record: temperature
// alone, or SpO2 or bit 10 among them. Such a remote records vital signs only.
constexpr bool SelvoWithoutEcgStrips(uint16_t features)
{
    return features == kFeatureTemp || (features & (kFeatureSpO2 | 0x0400)) != 0;
}

// One line of the review list.
struct episodeItemType {
    std::string text;
    std::string path;
};

struct LiveRecordingServices {
    CQuorinAppCore* app = nullptr;          // settings in force, folders, demo flag
    CNorqFileRecorder* recorder = nullptr;
    IPrompter* prompter = nullptr;
    std::function<void(const std::string&)> statusMessage;   // the main window's status bar
    std::function<void(const std::string&)> queueCommand;    // to the remote, by the write queue
    std::function<uint64_t()> tickMs;                         // milliseconds, never wraps
    std::function<COleDate()> now;
    std::function<void(const char* tag, const std::string& line)> log;  // default: the event log
    std::function<uint8_t()> cuffSize;                        // of the current species
    std::string appName = "Quorin";
};

// What the paint shows of a running or saving episode.
struct RecordingLine {
    std::string label;
    std::string elapsed;   // "%D:%H:%M:%S"
    std::string fileName;  // the first 19 characters and "..."

    bool operator==(const RecordingLine&) const = default;
};

inline constexpr char kRecordingFailedCaption[] = "QRE File Recording Failed!";

// A recording the recorder dropped: told once.
struct RecordingFailure {
    std::string logLine;
    std::string boxText;
};

enum class RecordingStart {
    kStarted,
    kWaiting,     // for the recorder to save the episode before; see RetryStart
    kNotStarted,
};

class CLiveRecording {
public:
    static constexpr std::size_t kMaxEpisodes = 100;

    explicit CLiveRecording(LiveRecordingServices services);

    // Both leave it alone while the view's start-up holds recordings back.
    // A start while the episode before is still being saved waits for it
    // (a status line says so) instead of being refused; RetryStart carries
    // it out. A close ends the wait.
    RecordingStart StartRecording(const PatientData& patient, bool startupPending, bool esophageal = false);
    void CloseRecording(CPatientInfo& patient, bool esophageal);
    // The waiting start, once the recorder is free; given up after
    // kStartWaitMs with a log line.
    RecordingStart RetryStart(const PatientData& patient, bool startupPending, bool esophageal = false);
    bool StartWaiting() const { return m_startWaiting; }
    static constexpr uint64_t kStartWaitMs = 120000;

    // The waveform intake's hand-off of one consumed ring frame (its event
    // gets the episode's position).
    void HandFrame(SampleFrame& frame);
    // A vitals event now; true when its heart rate comes from the ECG.
    bool StoreVitalsEvent();
    // A Selvo that sends no waveforms: a vitals event every "EventCapture"
    // seconds while it records. Called on every pass of new data; when an
    // event was stored, whether its heart rate comes from the ECG.
    std::optional<bool> PollSelvoVitals(uint16_t featureBits, int32_t deviceKind);
    // The blood-pressure step's wish for a vitals event at the next frame.
    void RequestVitals() { m_vitalsRequested = true; }

    // The recorder's word on a rename, on the UI thread: a rename that did
    // not happen leaves the list naming the file where it is.
    void OnRenameReport(const CNorqFileRecorder::RenameReport& report);
    // Its word on a file's end, on the UI thread: a file that failed is
    // left out of the list and told once, whether it failed while recording,
    // just before its close or at the close.
    std::optional<RecordingFailure> OnFileEnd(const CNorqFileRecorder::FileEndReport& report);

    // One more line of the review list (a live or a printed episode); the
    // oldest goes beyond kMaxEpisodes.
    void AddEpisode(const episodeItemType& item);

    bool IsRecording() const { return m_recordingActive != 0; }
    const std::vector<episodeItemType>& Episodes() const { return m_episodes; }
    const std::vector<CEcgEvent>& Events() const { return m_events; }
    uint32_t RecordTicks() const { return m_recordTicks; }
    const COleDate& RecordStart() const { return m_recordStart; }
    const COleDate& SessionDate() const { return m_sessionDate; }
    // The view's session starts when it is built and at every connection;
    // a close starts it again.
    void SetSessionDate(const COleDate& date) { m_sessionDate = date; }

    // The paint's recording line; none unless a file is open or saving.
    std::optional<RecordingLine> Line(const COleDate& now) const;
    // A running recording the recorder has dropped (state 3 or 4), once.
    std::optional<RecordingFailure> TakeFailure();

private:
    void Log(const char* tag, const std::string& line) const;
    bool PrepareFolder();
    bool OpenEpisodeFile(const PatientData& patient, std::string& path);
    void WriteEarlyHeader(const PatientData& patient, bool esophageal);
    void AddEvent(const CEcgEvent& event);
    RecordingFailure Failure(const std::string& fileName, const std::string& text, int32_t code) const;
    void ResetEpisode();
    // True when the file holds sample records.
    bool FinishHeader(CPatientInfo& patient, bool esophageal);
    void NameAndList(const CPatientInfo& patient, bool hasSamples);
    void SetRecordModeAfterClose();
    uint64_t CapturePeriodMs() const;

    LiveRecordingServices m_s;

    int32_t m_recordingActive = 0;
    uint8_t m_closingRecording = 0;
    QreFileHeader m_qreHeader{};
    COleDate m_recordStart;
    COleDate m_sessionDate;
    uint32_t m_recordTicks = 0;
    // Milliseconds of the never-wrapping tick: a 32-bit count would flood
    // events when it wraps.
    uint64_t m_nextVitalsCapture = 0;
    bool m_vitalsRequested = false;
    std::vector<CEcgEvent> m_events;
    std::vector<episodeItemType> m_episodes;

    // "RecordMode" as it stood when the episode started: a change in the
    // dialog mid-episode must not make records and header disagree.
    int32_t m_recordMode = 0;
    // The name asked for at the start and what the recorder added to it.
    std::string m_nameSuffix;
    std::string m_fileName;
    std::deque<std::pair<std::string, std::string>> m_pendingRenames;

    bool m_startWaiting = false;
    uint64_t m_startDeadline = 0;
    // The recorder's file of this episode, and of the closed ones whose end
    // it has not reported yet (with the path they are listed under).
    uint32_t m_generation = 0;
    struct ClosedEpisode {
        uint32_t generation;
        std::string fileName;
        std::string listedPath;
    };
    std::deque<ClosedEpisode> m_unsaved;
    uint32_t m_toldGeneration = 0;  // the file whose failure has been told
};
