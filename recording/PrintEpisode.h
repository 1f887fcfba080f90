#pragma once
// Printed stretches stored as QRE files: what the writer needs from the
// program, and the workers that write them.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "recording/LiveRecording.h"
#include "recording/QreFile.h"
#include "recording/RecordFiles.h"

// The print episodes' worker threads. Each runs on its own; the owner's
// end waits for those still writing, so that no file is left half written
// when the program closes.
class CPrintWriters {
public:
    CPrintWriters() = default;
    CPrintWriters(const CPrintWriters&) = delete;
    CPrintWriters& operator=(const CPrintWriters&) = delete;
    ~CPrintWriters();

    // False when the thread could not be started.
    bool Start(std::function<void()> work);
    // True when no writer runs (any more) within the time.
    bool WaitIdle(std::chrono::milliseconds timeout);

private:
    void JoinFinished();

    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_running = 0;
    std::vector<std::thread> m_threads;
    std::vector<std::thread::id> m_finished;
};

struct PrintEpisodeServices {
    const RemoteConfiguration* config = nullptr;   // the settings in force
    const LiveData* live = &g_liveData;
    bool demoMode = false;
    std::shared_ptr<IRecordFileSystem> files;      // null: the disk
    CPrintWriters* writers = nullptr;
    std::function<void(const episodeItemType&)> addEpisode;
    std::function<void(const std::string&)> log;   // empty: the event log
};

// The print moment less whole seconds, on the wall clock.
COleDate SecondsBefore(const COleDate& moment, int64_t seconds);

// The episode's length in whole seconds, half a second rounded up.
int64_t PrintEpisodeSeconds(uint32_t count, uint16_t sampleRate);
