#pragma once
// What the recorder and its worker share. Private to the recorder's files.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "recording/NorqFileRecorder.h"

using DatumQueue = std::vector<std::unique_ptr<CRecordDatum>>;

struct CNorqFileRecorder::Shared {
    Shared(CNorqEventLogger* log, std::shared_ptr<IRecordFileSystem> fileSystem, uint32_t wake)
        : logger(log), files(std::move(fileSystem)), wakeMs(wake) {}

    CNorqEventLogger* const logger;
    const std::shared_ptr<IRecordFileSystem> files;
    const uint32_t wakeMs;

    std::atomic<int32_t> state{kStopped};
    std::atomic<bool> hasFile{false};
    // Raised by each successful OpenFile; a file datum carries the value in
    // force when it was queued.
    std::atomic<uint32_t> generation{0};

    // Guards file, journal, fileGeneration and the names. Only OpenFile
    // installs a file, and only when none is open; only the worker removes
    // it. So the worker may write to the files it holds without keeping the
    // lock, and closes them without it.
    mutable std::mutex fileLock;
    std::unique_ptr<IRecordFile> file;
    std::unique_ptr<IRecordFile> journal; // null when it could not be made
    uint32_t fileGeneration = 0;
    std::string filePath;
    std::string fileName;
    // Where appends go; set by OpenFile, then the worker's alone.
    uint64_t fileEnd = 0;
    uint64_t journalEnd = 0;

    // Held only to append or to swap whole queues.
    std::mutex queueLock;
    DatumQueue queue;
    DatumQueue returned; // spent datums on their way back to `spare`
    DatumQueue spare;    // the UI thread's own; no lock

    mutable std::mutex statusLock;
    std::string statusText;
    int32_t statusCode = 0;

    std::mutex reportLock;
    std::shared_ptr<const std::function<void(const RenameReport&)>> report;
    std::shared_ptr<const std::function<void(const FileEndReport&)>> endReport;

    void SetStatus(const std::string& text, int32_t code)
    {
        std::lock_guard lock(statusLock);
        statusText = text;
        statusCode = code;
    }
};

struct CNorqFileRecorder::Worker {
    std::atomic<bool> running{true};
    CEvent workEvent;
    CEvent exitEvent;
    CEvent started;
    std::thread thread;
};

// The worker's body.
void RunRecorderWorker(std::shared_ptr<CNorqFileRecorder::Shared> shared,
    std::shared_ptr<CNorqFileRecorder::Worker> worker);
