// The live recording's side of what the recorder reports and of what the
// display shows: the episode list, renames, file ends and failures, and the
// recording line.
#include <algorithm>
#include <cmath>

#include "app/ValueHelpers.h"
#include "recording/LiveRecording.h"
#include "recording/Printf.h"

namespace {

constexpr char kDrawTag[] = "CQuorinView::OnDraw";

std::string FormatSpan(const COleDate& from, const COleDate& to)
{
    const auto days = COleDate::SpanDays(from, to);
    return FormatTimeSpan(days ? std::llround(*days * 86400.0) : 0);
}

}  // namespace

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
    m_toldGeneration = m_generation;
    RecordingFailure failure = Failure(m_fileName, text, code);
    Log(kDrawTag, failure.logLine);
    return failure;
}

std::optional<RecordingFailure> CLiveRecording::OnFileEnd(const CNorqFileRecorder::FileEndReport& report)
{
    auto closed = std::find_if(m_unsaved.begin(), m_unsaved.end(),
                               [&](const ClosedEpisode& e) { return e.generation == report.generation; });
    if (report.outcome != CNorqFileRecorder::FileEndReport::kFailed) {
        if (closed != m_unsaved.end())
            m_unsaved.erase(closed);
        return std::nullopt;
    }
    std::string fileName = FileNameOf(report.path);
    if (closed != m_unsaved.end()) {
        // Saved at the close as the list believed: it is not.
        const std::string listed = closed->listedPath;
        fileName = closed->fileName;
        m_unsaved.erase(closed);
        m_episodes.erase(std::remove_if(m_episodes.begin(), m_episodes.end(),
                                        [&](const episodeItemType& item) {
                                            return item.path == listed || item.path == report.path;
                                        }),
                         m_episodes.end());
    } else if (report.generation == m_generation && m_recordingActive != 0) {
        m_recordingActive = 0;
        ResetEpisode();
    }
    // Also a file that failed just before its close, which then had
    // nothing to finish: its failure has not been told either.
    if (m_toldGeneration == report.generation)
        return std::nullopt;
    m_toldGeneration = report.generation;
    RecordingFailure failure = Failure(fileName, report.error, report.code);
    Log(kDrawTag, failure.logLine);
    return failure;
}

RecordingFailure CLiveRecording::Failure(const std::string& fileName, const std::string& text, int32_t code) const
{
    RecordingFailure failure;
    failure.logLine = Printf(" QRE File %s has unexpectedly stopped recording!  Error %s, code 0x%x!",
                             fileName.c_str(), text.c_str(), static_cast<unsigned>(code));
    failure.boxText = Printf("Recording has stopped because of error. Error code 0x%x, Exception %s. \n"
                             "Please restart recording.  File will be saved to directory %s. \n",
                             static_cast<unsigned>(code), text.c_str(), m_s.app->RecordFolder().c_str());
    return failure;
}
