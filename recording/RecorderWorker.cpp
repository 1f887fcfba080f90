// The recorder's worker: takes the queue in batches and performs it in order.
#include <algorithm>
#include <chrono>
#include <iterator>
#include <optional>
#include <system_error>

#include "app/NorqEventLogger.h"
#include "platform/Thread.h"
#include "recording/RecorderShared.h"

namespace {

using Shared = CNorqFileRecorder::Shared;

const char* const kWorkerTag = "CNorqFileRecorder::RecordingThread";
const char* const kRenameTag = "CNorqFileRecorder::RenameFile";
constexpr std::size_t kBatchReserve = 1024;

std::string ErrorText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

using EndReport = CNorqFileRecorder::FileEndReport;

// One run of the worker, with its cache.
class CRecorderRun {
public:
    explicit CRecorderRun(Shared& shared) : m_s(shared) { m_batch.reserve(kBatchReserve); }

    void TakeAndPerform()
    {
        {
            std::lock_guard lock(m_s.queueLock);
            m_batch.swap(m_s.queue);
        }
        for (const std::unique_ptr<CRecordDatum>& datum : m_batch) {
            if (datum)
                Perform(*datum);
        }
        // What reached the worker reaches the file by the end of its batch,
        // so a program killed now loses no more than the queue.
        if (m_cache.Fill() > 0)
            Flush();
        SyncNowAndThen();
        std::lock_guard lock(m_s.queueLock);
        if (m_s.returned.empty())
            m_s.returned.swap(m_batch);
        else
            std::move(m_batch.begin(), m_batch.end(), std::back_inserter(m_s.returned));
        m_batch.clear();
    }

    // After the last batch: nothing stays in memory, no file stays open.
    void Finish()
    {
        if (m_cache.Fill() > 0)
            Flush();
        std::unique_ptr<IRecordFile> file, journal;
        std::lock_guard lock(m_s.fileLock);
        file = std::move(m_s.file);
        journal = std::move(m_s.journal);
        m_s.hasFile.store(false);
    }

private:
    void Perform(const CRecordDatum& datum)
    {
        if (datum.op == kOpWrite) {
            // A write queued for an earlier file is dropped before it could
            // reach a later one.
            if (datum.generation != m_s.generation.load())
                return;
            if (m_cache.Fill() > 0 && m_cache.Generation() != datum.generation)
                Flush();
            if (m_cache.Fits(datum.Size())) {
                m_cache.Add(datum.generation, datum.Data(), datum.Size());
                return;
            }
        }
        if (m_cache.Fill() > 0 && !Flush())
            return;
        switch (datum.op) {
        case kOpClose:
            Close(datum.generation);
            break;
        case kOpRename:
            Rename(datum.Path(), datum.Path2());
            break;
        case kOpDelete:
            Delete(datum.generation);
            break;
        case kOpWrite:
            Append(datum.generation, datum.Data(), datum.Size());
            break;
        case kOpHeader:
            Header(datum);
            break;
        case kOpJournal:
            Journal(datum);
            break;
        default:
            break;
        }
    }

    bool Flush()
    {
        const bool written = Append(m_cache.Generation(), m_cache.Data(), m_cache.Fill());
        m_cache.Clear();
        return written;
    }

    // A power cut loses at most about a second more than a killed program:
    // the file and its journal go to the disk once a second while written.
    void SyncNowAndThen()
    {
        using Clock = std::chrono::steady_clock;
        if (!m_unsynced || Clock::now() - m_lastSync < kSyncEvery)
            return;
        IRecordFile* file = nullptr;
        IRecordFile* journal = nullptr;
        const uint32_t generation = m_s.generation.load();
        {
            std::lock_guard lock(m_s.fileLock);
            if (m_s.file && m_s.fileGeneration == generation) {
                file = m_s.file.get();
                journal = m_s.journal.get();
            }
        }
        m_unsynced = false;
        m_lastSync = Clock::now();
        int error = 0;
        if (file != nullptr && !file->Sync(error))
            Fail(error, generation, "Sync()");
        else if (journal != nullptr)
            (void)journal->Sync(error);  // a journal is a second chance, not the record
    }

    // The open file when it is the datum's; null otherwise.
    IRecordFile* FileOf(uint32_t generation)
    {
        std::lock_guard lock(m_s.fileLock);
        return m_s.file && m_s.fileGeneration == generation ? m_s.file.get() : nullptr;
    }

    // Only this thread takes the file away, so it is written without the
    // lock and a slow disk never holds up the name getters.
    bool Append(uint32_t generation, const uint8_t* data, std::size_t size)
    {
        IRecordFile* file = FileOf(generation);
        if (file == nullptr)
            return true;
        int error = 0;
        if (!file->WriteAt(m_s.fileEnd, data, size, error)) {
            Fail(error, generation, OperationDescription(kOpWrite, data, size, {}, {}));
            return false;
        }
        m_s.fileEnd += size;
        m_unsynced = true;
        return true;
    }

    void Header(const CRecordDatum& datum)
    {
        IRecordFile* file = FileOf(datum.generation);
        if (file == nullptr)
            return;
        int error = 0;
        if (!file->WriteAt(0, datum.Data(), datum.Size(), error)) {
            Fail(error, datum.generation, OperationDescription(kOpHeader, datum.Data(), datum.Size(), {}, {}));
            return;
        }
        m_s.fileEnd = std::max<uint64_t>(m_s.fileEnd, datum.Size());
        m_unsynced = true;
    }

    // A journal that cannot be written is given up; the episode goes on.
    void Journal(const CRecordDatum& datum)
    {
        IRecordFile* journal = nullptr;
        {
            std::lock_guard lock(m_s.fileLock);
            if (m_s.file && m_s.fileGeneration == datum.generation)
                journal = m_s.journal.get();
        }
        if (journal == nullptr)
            return;
        int error = 0;
        if (journal->WriteAt(m_s.journalEnd, datum.Data(), datum.Size(), error)) {
            m_s.journalEnd += datum.Size();
            m_unsynced = true;
            return;
        }
        std::unique_ptr<IRecordFile> dropped;
        {
            std::lock_guard lock(m_s.fileLock);
            dropped = std::move(m_s.journal);
        }
        if (m_s.logger != nullptr)
            m_s.logger->Log(kWorkerTag, "Journal " + dropped->Path() + " given up: " + ErrorText(error));
    }

    // A state of 3 or 4 outlives the close, for the next start to report.
    void IdleUnlessFailed()
    {
        int32_t state = m_s.state.load();
        while (state != CNorqFileRecorder::kError && state != CNorqFileRecorder::kStopped
            && !m_s.state.compare_exchange_weak(state, CNorqFileRecorder::kIdle)) {
        }
    }

    // The file goes to the disk before its journal goes: until then the
    // journal is what finishes an interrupted episode. The slow part runs
    // without the lock, so the display's getters never wait for a disk.
    void Close(uint32_t generation)
    {
        std::unique_ptr<IRecordFile> file, journal;
        {
            std::lock_guard lock(m_s.fileLock);
            if (generation != m_s.generation.load())
                return;
            file = std::move(m_s.file);
            journal = std::move(m_s.journal);
        }
        std::optional<EndReport> end;
        if (file) {
            const std::string path = file->Path();
            int error = 0;
            if (!file->Sync(error)) {
                Fail(error, generation, "CloseFile()", path);
            } else {
                if (journal) {
                    const std::string journalPath = journal->Path();
                    journal.reset();
                    (void)m_s.files->Remove(journalPath, error);
                }
                end = EndReport{generation, path, EndReport::kFinished, {}, 0};
            }
            file.reset();
        }
        {
            std::lock_guard lock(m_s.fileLock);
            m_s.hasFile.store(false);
            IdleUnlessFailed();
            m_s.fileName.clear();
            m_s.filePath.clear();
        }
        if (end)
            ReportEnd(*end);
    }

    void Delete(uint32_t generation)
    {
        int error = 0;
        const char* text = nullptr;
        std::string path;
        {
            // The removal is under the lock too, so no file opened meanwhile
            // can take the state or the name of the one going away.
            std::lock_guard lock(m_s.fileLock);
            if (generation != m_s.generation.load())
                return;
            if (m_s.journal) {
                const std::string journalPath = m_s.journal->Path();
                m_s.journal.reset();
                (void)m_s.files->Remove(journalPath, error);
                error = 0;
            }
            if (m_s.file) {
                path = m_s.file->Path();
                m_s.file.reset();
                m_s.hasFile.store(false);
                if (!m_s.files->Remove(path, error)) {
                    text = EnterError(error);
                } else {
                    m_s.fileName.clear();
                    m_s.filePath.clear();
                }
            }
            if (error == 0)
                IdleUnlessFailed();
        }
        if (error != 0)
            LogFailure(text, OperationDescription(kOpDelete, nullptr, 0, {}, {}));
        if (!path.empty())
            ReportEnd({generation, path, EndReport::kDeleted, {}, 0});
    }

    // A failed rename leaves both files as they were; the caller learns of
    // it and can list the file where it really is. A journal still beside
    // the file (its episode failed) goes with it.
    void Rename(const std::string& from, const std::string& to)
    {
        int error = 0;
        const bool renamed = m_s.files->RenameNoReplace(from, to, error);
        const std::string reason = renamed ? std::string() : ErrorText(error);
        if (!renamed && m_s.logger != nullptr)
            m_s.logger->Log(kRenameTag, "Rename " + from + " to " + to + " failed: " + reason);
        if (renamed) {
            int journalError = 0;
            (void)m_s.files->RenameNoReplace(JournalPathOf(from), JournalPathOf(to), journalError);
        }
        std::shared_ptr<const std::function<void(const CNorqFileRecorder::RenameReport&)>> report;
        {
            std::lock_guard lock(m_s.reportLock);
            report = m_s.report;
        }
        if (report)
            (*report)({from, to, renamed, reason});
    }

    void ReportEnd(const EndReport& end)
    {
        std::shared_ptr<const std::function<void(const EndReport&)>> report;
        {
            std::lock_guard lock(m_s.reportLock);
            report = m_s.endReport;
        }
        if (report)
            (*report)(end);
    }

    // Status first, so whoever sees state 3 reads its reason. Called under
    // fileLock.
    const char* EnterError(int error)
    {
        const int cause = FileExceptionCause(error);
        const char* text = FileExceptionText(cause);
        m_s.SetStatus(text, cause);
        m_s.state.store(CNorqFileRecorder::kError);
        return text;
    }

    // The file is dropped and its journal kept on the disk, so that the
    // next start can finish what reached them. `closing` names a file the
    // close already took from the shared state.
    void Fail(int error, uint32_t generation, const std::string& description, const std::string& closing = {})
    {
        m_cache.Clear();
        const char* text = nullptr;
        std::string path = closing;
        std::unique_ptr<IRecordFile> file, journal;
        {
            std::lock_guard lock(m_s.fileLock);
            // The file goes before state 3 shows: a start that sees the
            // error must not still see the dropped file.
            if (m_s.file && m_s.fileGeneration == generation) {
                path = m_s.file->Path();
                file = std::move(m_s.file);
                journal = std::move(m_s.journal);
                m_s.hasFile.store(false);
            }
            text = EnterError(error);
        }
        file.reset();
        journal.reset();
        LogFailure(text, description);
        if (!path.empty())
            ReportEnd({generation, path, EndReport::kFailed, text, FileExceptionCause(error)});
    }

    void LogFailure(const char* text, const std::string& description)
    {
        if (m_s.logger != nullptr)
            m_s.logger->Log(kWorkerTag, std::string(text) + " on operation " + description);
    }

    static constexpr std::chrono::milliseconds kSyncEvery{1000};

    Shared& m_s;
    CNorqWriteCache m_cache;
    DatumQueue m_batch;
    bool m_unsynced = false;
    std::chrono::steady_clock::time_point m_lastSync{};
};

} // namespace

void RunRecorderWorker(std::shared_ptr<Shared> shared, std::shared_ptr<CNorqFileRecorder::Worker> worker)
{
    SetThreadName("QRERecorder");
    Shared& s = *shared;
    try {
        CRecorderRun run(s);
        s.state.store(CNorqFileRecorder::kIdle);
        worker->started.Set();
        while (worker->running.load()) {
            (void)worker->workEvent.Wait(s.wakeMs);
            run.TakeAndPerform();
        }
        // What was queued before the stop is still carried out.
        run.TakeAndPerform();
        run.Finish();
        s.state.store(CNorqFileRecorder::kStopped);
    } catch (...) {
        s.SetStatus("RECORDER_STATE_STOPPED", CNorqFileRecorder::kStopped);
        s.state.store(CNorqFileRecorder::kStopped);
        // A file left open here would keep the next start from recording.
        std::lock_guard lock(s.fileLock);
        s.file.reset();
        s.journal.reset();
        s.hasFile.store(false);
        worker->started.Set();
    }
    worker->exitEvent.Set();
}
