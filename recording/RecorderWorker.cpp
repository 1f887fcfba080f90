// The recorder's worker: takes the queue in batches and performs it in order.
#include <algorithm>
#include <iterator>
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
        std::lock_guard lock(m_s.fileLock);
        m_s.file.reset();
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
    }

    // A state of 3 or 4 outlives the close, for the next start to report.
    void IdleUnlessFailed()
    {
        int32_t state = m_s.state.load();
        while (state != CNorqFileRecorder::kError && state != CNorqFileRecorder::kStopped
            && !m_s.state.compare_exchange_weak(state, CNorqFileRecorder::kIdle)) {
        }
    }

    void Close(uint32_t generation)
    {
        std::lock_guard lock(m_s.fileLock);
        if (generation != m_s.generation.load())
            return;
        m_s.file.reset();
        m_s.hasFile.store(false);
        IdleUnlessFailed();
        m_s.fileName.clear();
        m_s.filePath.clear();
    }

    void Delete(uint32_t generation)
    {
        int error = 0;
        const char* text = nullptr;
        {
            // The removal is under the lock too, so no file opened meanwhile
            // can take the state or the name of the one going away.
            std::lock_guard lock(m_s.fileLock);
            if (generation != m_s.generation.load())
                return;
            if (m_s.file) {
                const std::string path = m_s.file->Path();
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
    }

    // A failed rename leaves both files as they were; the caller learns of
    // it and can list the file where it really is.
    void Rename(const std::string& from, const std::string& to)
    {
        int error = 0;
        const bool renamed = m_s.files->RenameNoReplace(from, to, error);
        const std::string reason = renamed ? std::string() : ErrorText(error);
        if (!renamed && m_s.logger != nullptr)
            m_s.logger->Log(kRenameTag, "Rename " + from + " to " + to + " failed: " + reason);
        std::shared_ptr<const std::function<void(const CNorqFileRecorder::RenameReport&)>> report;
        {
            std::lock_guard lock(m_s.reportLock);
            report = m_s.report;
        }
        if (report)
            (*report)({from, to, renamed, reason});
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

    void Fail(int error, uint32_t generation, const std::string& description)
    {
        m_cache.Clear();
        const char* text = nullptr;
        {
            std::lock_guard lock(m_s.fileLock);
            // The file goes before state 3 shows: a start that sees the
            // error must not still see the dropped file.
            if (m_s.file && m_s.fileGeneration == generation) {
                m_s.file.reset();
                m_s.hasFile.store(false);
            }
            text = EnterError(error);
        }
        LogFailure(text, description);
    }

    void LogFailure(const char* text, const std::string& description)
    {
        if (m_s.logger != nullptr)
            m_s.logger->Log(kWorkerTag, std::string(text) + " on operation " + description);
    }

    Shared& m_s;
    CNorqWriteCache m_cache;
    DatumQueue m_batch;
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
        s.hasFile.store(false);
        worker->started.Set();
    }
    worker->exitEvent.Set();
}
