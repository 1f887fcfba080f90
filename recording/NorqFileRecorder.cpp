#include "recording/NorqFileRecorder.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>

#include "app/NorqEventLogger.h"
#include "recording/RecorderShared.h"

namespace {

constexpr std::size_t kQueueReserve = 1024;

std::unique_ptr<CRecordDatum> TakeSpare(CNorqFileRecorder::Shared& s)
{
    if (s.spare.empty()) {
        std::lock_guard lock(s.queueLock);
        s.spare.swap(s.returned);
    }
    if (s.spare.empty())
        return std::make_unique<CRecordDatum>();
    std::unique_ptr<CRecordDatum> datum = std::move(s.spare.back());
    s.spare.pop_back();
    return datum;
}

void Post(CNorqFileRecorder::Shared& s, std::unique_ptr<CRecordDatum> datum)
{
    std::lock_guard lock(s.queueLock);
    s.queue.push_back(std::move(datum));
}

void PostBytes(CNorqFileRecorder::Shared& s, int32_t op, const uint8_t* data, std::size_t size)
{
    std::unique_ptr<CRecordDatum> datum = TakeSpare(s);
    datum->SetBytes(op, s.generation.load(std::memory_order_relaxed), data, size);
    Post(s, std::move(datum));
}

} // namespace

std::string OperationDescription(int32_t op, const void* data, std::size_t size, const std::string& path,
    const std::string& path2)
{
    char text[64];
    switch (op) {
    case kOpOpen:
        return "OpenFile(" + path + ")";
    case kOpClose:
        return "CloseFile()";
    case kOpRename:
        return "RenameFile " + path + " -> " + path2 + ")";
    case kOpDelete:
        return "DeleteFile()";
    case kOpWrite:
    case kOpHeader:
    case kOpJournal:
        std::snprintf(text, sizeof text, "%s(0x%" PRIxPTR ", %d)",
            op == kOpWrite ? "WriteData" : op == kOpHeader ? "WriteHeader" : "WriteJournal",
            reinterpret_cast<uintptr_t>(data), static_cast<int>(size));
        return text;
    default:
        std::snprintf(text, sizeof text, "UnDefined Operation, code %d", static_cast<int>(op));
        return text;
    }
}

CNorqFileRecorder::CNorqFileRecorder(
    CNorqEventLogger* logger, std::shared_ptr<IRecordFileSystem> files, uint32_t wakeMs)
    : m_shared(std::make_shared<Shared>(logger, std::move(files), wakeMs))
{
    m_shared->queue.reserve(kQueueReserve);
    m_shared->returned.reserve(kQueueReserve);
    m_shared->spare.reserve(kQueueReserve);
    StartWorker();
}

CNorqFileRecorder::~CNorqFileRecorder()
{
    CloseFile();
    // The worker performs what is queued, the close included, before it ends;
    // one still busy after the wait is left to finish on its own.
    StopWorker();
}

void CNorqFileRecorder::StartWorker()
{
    auto worker = std::make_shared<Worker>();
    worker->thread = std::thread(RunRecorderWorker, m_shared, worker);
    // Once it runs the state is 0, so a caller never sees a start-up 4.
    (void)worker->started.Wait(kWorkerExitWaitMs);
    m_worker = std::move(worker);
}

bool CNorqFileRecorder::StopWorker()
{
    if (!m_worker)
        return true;
    std::shared_ptr<Worker> worker = std::move(m_worker);
    worker->running.store(false);
    worker->workEvent.Set();
    if (worker->exitEvent.Wait(kWorkerExitWaitMs)) {
        worker->thread.join();
        return true;
    }
    // It holds its own references to everything it touches.
    worker->thread.detach();
    return false;
}

bool CNorqFileRecorder::OpenFile(const std::string& path)
{
    Shared& s = *m_shared;
    const int32_t state = s.state.load();
    if (state == kStopped || state == kClosing)
        return false;
    s.SetStatus("No Errors Detected", 0);

    std::lock_guard lock(s.fileLock);
    if (s.file)
        return false;
    int error = 0;
    std::unique_ptr<IRecordFile> file = CreateNumbered(*s.files, path, error);
    if (!file) {
        const int cause = FileExceptionCause(error);
        s.SetStatus(FileExceptionText(cause), cause);
        return false;
    }
    // A journal left without its episode is of no use to anyone.
    const std::string journalPath = JournalPathOf(file->Path());
    std::unique_ptr<IRecordFile> journal = s.files->CreateNew(journalPath, error);
    if (!journal && error == EEXIST && s.files->Remove(journalPath, error))
        journal = s.files->CreateNew(journalPath, error);
    if (!journal && s.logger != nullptr)
        s.logger->Log("CNorqFileRecorder::OpenFile",
            "No journal for " + file->Path() + ": " + FileExceptionText(FileExceptionCause(error)));
    s.filePath = file->Path();
    s.fileName = FileNameOf(s.filePath);
    s.file = std::move(file);
    s.journal = std::move(journal);
    s.fileEnd = 0;
    s.journalEnd = 0;
    s.fileGeneration = s.generation.load() + 1;
    s.generation.store(s.fileGeneration);
    s.hasFile.store(true);
    s.state.store(kOpen);
    return true;
}

void CNorqFileRecorder::CloseFile()
{
    Shared& s = *m_shared;
    // An error or a stop stays visible for the next start to report.
    int32_t state = s.state.load();
    while ((state == kIdle || state == kOpen) && !s.state.compare_exchange_weak(state, kClosing)) {
    }
    PostBytes(s, kOpClose, nullptr, 0);
}

void CNorqFileRecorder::RenameFile(const std::string& oldPath, const std::string& newPath)
{
    Shared& s = *m_shared;
    if (s.logger != nullptr)
        s.logger->Log("CNorqFileRecorder::RenameFile", "Rename " + oldPath + " to " + newPath);
    std::unique_ptr<CRecordDatum> datum = TakeSpare(s);
    datum->SetPaths(kOpRename, oldPath, newPath);
    Post(s, std::move(datum));
}

void CNorqFileRecorder::DeleteFile()
{
    PostBytes(*m_shared, kOpDelete, nullptr, 0);
}

bool CNorqFileRecorder::WriteData(const uint8_t* data, int32_t size)
{
    Shared& s = *m_shared;
    if (!s.hasFile.load() || s.state.load() != kOpen)
        return false;
    if (size < 0 || (data == nullptr && size > 0))
        return false;
    if (size > 0)
        PostBytes(s, kOpWrite, data, static_cast<std::size_t>(size));
    return true;
}

bool CNorqFileRecorder::WriteJournal(const uint8_t* data, int32_t size)
{
    Shared& s = *m_shared;
    if (!s.hasFile.load() || s.state.load() != kOpen || data == nullptr || size <= 0)
        return false;
    PostBytes(s, kOpJournal, data, static_cast<std::size_t>(size));
    return true;
}

bool CNorqFileRecorder::WriteHeader(const uint8_t* header)
{
    Shared& s = *m_shared;
    if (!s.hasFile.load() || s.state.load() != kOpen || header == nullptr)
        return false;
    PostBytes(s, kOpHeader, header, kHeaderSize);
    return true;
}

void CNorqFileRecorder::Restart()
{
    Shared& s = *m_shared;
    int32_t state = kError;
    if (s.state.compare_exchange_strong(state, kIdle) || state != kStopped)
        return;
    // A worker that cannot be joined is not given a rival on the same queue.
    if (StopWorker())
        StartWorker();
}

std::string CNorqFileRecorder::GetFileName() const
{
    std::lock_guard lock(m_shared->fileLock);
    return m_shared->fileName;
}

std::string CNorqFileRecorder::GetFilePath() const
{
    std::lock_guard lock(m_shared->fileLock);
    return m_shared->filePath;
}

void CNorqFileRecorder::GetLastStatus(std::string& text, int32_t& code) const
{
    std::lock_guard lock(m_shared->statusLock);
    text = m_shared->statusText;
    code = m_shared->statusCode;
}

void CNorqFileRecorder::SetStatus(const std::string& text, int32_t code)
{
    m_shared->SetStatus(text, code);
}

int32_t CNorqFileRecorder::State() const
{
    return m_shared->state.load();
}

bool CNorqFileRecorder::HasFile() const
{
    return m_shared->hasFile.load();
}

uint32_t CNorqFileRecorder::Generation() const
{
    return m_shared->generation.load();
}

void CNorqFileRecorder::SetRenameReport(std::function<void(const RenameReport&)> report)
{
    auto shared = report ? std::make_shared<const std::function<void(const RenameReport&)>>(std::move(report))
                         : nullptr;
    std::lock_guard lock(m_shared->reportLock);
    m_shared->report = std::move(shared);
}

void CNorqFileRecorder::SetFileEndReport(std::function<void(const FileEndReport&)> report)
{
    auto shared = report ? std::make_shared<const std::function<void(const FileEndReport&)>>(std::move(report))
                         : nullptr;
    std::lock_guard lock(m_shared->reportLock);
    m_shared->endReport = std::move(shared);
}
