#pragma once
// Writes the live recording file without blocking the display. Opening is
// synchronous; every other file action is queued and carried out in order by
// the worker thread "QRERecorder", which gathers small writes in a cache.
// All public operations are called from one thread (the UI thread).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "recording/QreFile.h"
#include "recording/RecordDatum.h"
#include "recording/RecordFiles.h"
#include "recording/WriteCache.h"

class CNorqEventLogger;

class CNorqFileRecorder {
public:
    enum : int32_t { kIdle = 0, kOpen = 1, kClosing = 2, kError = 3, kStopped = 4 };
    static constexpr int32_t kHeaderSize = static_cast<int32_t>(kQreHeaderSize);
    // How long the destructor and Restart wait for a worker to end.
    static constexpr uint32_t kWorkerExitWaitMs = 5000;

    // The outcome of one rename, reported on the worker thread.
    struct RenameReport {
        std::string oldPath, newPath;
        bool renamed;
        std::string error;
    };

    // How a file ended, reported on the worker thread once per file.
    struct FileEndReport {
        enum Outcome { kFinished, kDeleted, kFailed };
        uint32_t generation; // as Generation() gave it while the file was open
        std::string path;
        Outcome outcome;
        std::string error;   // kFailed: the status text and code
        int32_t code;
    };

    // `logger` may be null (nothing is logged). `wakeMs` is how often the
    // worker takes the queue; tests shorten it.
    explicit CNorqFileRecorder(CNorqEventLogger* logger,
        std::shared_ptr<IRecordFileSystem> files = PosixRecordFileSystem(), uint32_t wakeMs = 1000);
    virtual ~CNorqFileRecorder();
    CNorqFileRecorder(const CNorqFileRecorder&) = delete;
    CNorqFileRecorder& operator=(const CNorqFileRecorder&) = delete;

    // Creates a new file, and its journal beside it; an existing file is
    // never touched: when the name is taken, the next free "_2", "_3", ...
    // is used. False in states 2 and 4, with a file open, or when no file
    // can be created (the status then tells why).
    bool OpenFile(const std::string& path);
    void CloseFile();
    void RenameFile(const std::string& oldPath, const std::string& newPath);
    void DeleteFile();
    bool WriteData(const uint8_t* data, int32_t size);
    // kHeaderSize bytes, written at offset 0.
    bool WriteHeader(const uint8_t* header);
    // Appended to the open file's journal; refused as WriteData is.
    bool WriteJournal(const uint8_t* data, int32_t size);
    void Restart();

    std::string GetFileName() const;
    std::string GetFilePath() const;
    void GetLastStatus(std::string& text, int32_t& code) const;
    void SetStatus(const std::string& text, int32_t code);
    int32_t State() const;
    bool HasFile() const;
    // Tells the files apart: raised by each successful OpenFile.
    uint32_t Generation() const;

    // Called on the worker after each rename attempt; the callee hands it on
    // to its own thread. Must not call back into the recorder.
    void SetRenameReport(std::function<void(const RenameReport&)> report);
    // The same for the end of each file: closed and on the disk, deleted, or
    // dropped by a file error.
    void SetFileEndReport(std::function<void(const FileEndReport&)> report);

    struct Shared;
    struct Worker;

private:
    void StartWorker();
    bool StopWorker();

    // Shared with the worker, which keeps it alive if it has to be left
    // running past the destructor.
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<Worker> m_worker;
};

// The log's description of a queued action.
std::string OperationDescription(int32_t op, const void* data, std::size_t size, const std::string& path,
    const std::string& path2);
