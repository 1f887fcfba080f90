#include "app/NorqEventLogger.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fcntl.h>
#include <mutex>
#include <shared_mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/Event.h"
#include "platform/Folders.h"
#include "platform/Thread.h"

CNorqEventLogger* g_eventLogger = nullptr;

namespace {

using TimePoint = std::chrono::system_clock::time_point;

constexpr double kKeepDays = 45.0;
constexpr size_t kMaxPatternLength = 258;
constexpr size_t kFormatBufferSize = 255;
constexpr uint32_t kWriterWakeMs = 1000;
constexpr uint32_t kWriterExitWaitMs = 5000;
const char* const kLogFolderName = "Norq_Logs";
const char* const kLogPrefix = "Quorin_";
const char* const kLogSuffix = ".Log";

// Guards g_eventLogger: creation and shutdown take it exclusively, LogEvent
// holds it shared while it logs, so shutdown never frees a logger in use.
std::shared_mutex s_instanceLock;
bool s_shutDown = false;

// Local calendar fields of a time. Formatted by hand so that no process
// locale can turn the day and month names or the digits into anything else.
struct LocalTime {
    int year, month, day, hour, minute, second, weekday;
};

LocalTime ToLocal(TimePoint when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&seconds, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_wday};
}

// "%Y%m%d"
std::string DateText(const LocalTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d", t.year, t.month, t.day);
    return text;
}

// "_%H%M%S"
std::string TimeText(const LocalTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "_%02d%02d%02d", t.hour, t.minute, t.second);
    return text;
}

bool EndsWithNewline(const std::string& text)
{
    return !text.empty() && text.back() == '\n';
}

std::string WithLineEnd(std::string text)
{
    if (!EndsWithNewline(text))
        text += "\r\n";
    return text;
}

const std::string& UnderscoreLine()
{
    static const std::string line = std::string(108, '_') + "\r\n";
    return line;
}

bool IsLogFileName(const std::string& name)
{
    const std::string prefix = kLogPrefix;
    const std::string suffix = kLogSuffix;
    return name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0
        && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TimePoint FromStatx(const struct statx_timestamp& stamp)
{
    // Stamps past what the clock holds (after 2262 in nanoseconds) would
    // wrap to a date long gone and get a new file deleted: pin them instead.
    using Seconds = std::chrono::seconds;
    const auto limit = std::chrono::duration_cast<Seconds>(TimePoint::duration::max()).count() - 1;
    if (stamp.tv_sec >= limit)
        return TimePoint::max();
    if (stamp.tv_sec <= -limit)
        return TimePoint::min();
    return TimePoint(std::chrono::duration_cast<TimePoint::duration>(
        Seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec)));
}

} // namespace

struct CNorqEventLogger::State {
    explicit State(Clock c) : clock(std::move(c)) {}

    void LoggingThread();
    void WritePass();
    bool WriteWhole(std::string& line);
    bool OpenLogFile();
    bool CloseLogFile();
    void DeleteOldLogs() const;
    std::vector<std::string> ListOld() const;
    static void DeleteOld(const std::vector<std::string>& paths);
    void Enqueue(std::string line);

    Clock clock;
    std::string baseFolder;
    std::string logFolder;
    std::string logFileName;
    std::string fullPath;
    std::string dateText;
    std::string timeText;
    TimePoint startTime;
    TimePoint cutoff;

    int fd = -1;
    std::atomic<bool> running{true};
    CEvent workEvent{CEvent::Reset::Automatic};
    CEvent exitEvent{CEvent::Reset::Automatic};
    std::thread writer;

    std::mutex lock;
    std::condition_variable passDone;
    std::deque<std::string> queue;
    // Counters under `lock`, so that a caller can tell when its lines are in.
    uint64_t linesQueued = 0;
    uint64_t linesWritten = 0;
    uint64_t passesStarted = 0;
    uint64_t passesDone = 0;

    // The writer's own: lines taken from the queue and not yet written.
    std::deque<std::string> batch;
};

void CNorqEventLogger::State::Enqueue(std::string line)
{
    {
        std::lock_guard guard(lock);
        queue.push_back(std::move(line));
        ++linesQueued;
    }
    workEvent.Set();
}

void CNorqEventLogger::State::LoggingThread()
{
    SetThreadName("EventLogger");
    while (running.load()) {
        (void)workEvent.Wait(kWriterWakeMs);  // a line or the time-out: a pass runs either way
        WritePass();
    }
    // Whatever arrived while stopping, the end banner among it.
    WritePass();
    exitEvent.Set();
}

void CNorqEventLogger::State::WritePass()
{
    uint64_t pass = 0;
    uint64_t done = 0;
    try {
        {
            std::lock_guard guard(lock);
            pass = ++passesStarted;
            if (batch.empty())
                batch.swap(queue);
            else
                while (!queue.empty()) {
                    batch.push_back(std::move(queue.front()));
                    queue.pop_front();
                }
        }
        if (!batch.empty() && OpenLogFile()) {
            // A line that cannot be written stays first in the batch and is
            // tried again with the next pass; nothing after it is skipped.
            while (!batch.empty() && WriteWhole(batch.front())) {
                batch.pop_front();
                ++done;
            }
            CloseLogFile();
        }
    } catch (const std::exception&) {
        // Out of memory: keep what is held and try again on the next pass.
    }
    {
        std::lock_guard guard(lock);
        linesWritten += done;
        passesDone = pass;
    }
    passDone.notify_all();
}

// One write per line: with the file in append mode, lines of two runs that
// share the file interleave whole.
bool CNorqEventLogger::State::WriteWhole(std::string& line)
{
    size_t offset = 0;
    while (offset < line.size()) {
        const ssize_t n = ::write(fd, line.data() + offset, line.size() - offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            line.erase(0, offset);
            return false;
        }
        offset += static_cast<size_t>(n);
    }
    return true;
}

bool CNorqEventLogger::State::OpenLogFile()
{
    (void)CreateFolderWithParents(logFolder);  // a folder not made shows as the open failing
    if (fd < 0)
        fd = ::open(fullPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    return fd >= 0;
}

bool CNorqEventLogger::State::CloseLogFile()
{
    // The descriptor is gone after close() whatever it returns; keeping it
    // as "open" would write into whatever file reuses the number.
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    return true;
}

void CNorqEventLogger::State::DeleteOldLogs() const
{
    const std::string pattern = logFolder + "/" + kLogPrefix + "*" + kLogSuffix;
    if (pattern.size() >= kMaxPatternLength)
        return;

    try {
        DeleteOld(ListOld());
    } catch (const std::exception&) {
        // The clean-up is a courtesy; it never stops the log from starting.
    }
}

std::vector<std::string> CNorqEventLogger::State::ListOld() const
{
    std::vector<std::string> old;
    std::error_code error;
    for (std::filesystem::directory_iterator it(logFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsLogFileName(name))
            continue;
        const std::string path = logFolder + "/" + name;
        struct statx info {};
        if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_MTIME | STATX_BTIME, &info) != 0)
            continue;
        if (!(info.stx_mask & STATX_TYPE) || S_ISDIR(info.stx_mode) || !(info.stx_mask & STATX_MTIME))
            continue;
        // Not every file system keeps a birth time, and a copied file may
        // carry an older modification time: the earlier of the two counts.
        TimePoint age = FromStatx(info.stx_mtime);
        if (info.stx_mask & STATX_BTIME)
            age = std::min(age, FromStatx(info.stx_btime));
        if (age < cutoff)
            old.push_back(path);
    }
    return old;
}

void CNorqEventLogger::State::DeleteOld(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        ::unlink(path.c_str()); // a file that will not go is left
}

CNorqEventLogger::CNorqEventLogger(const std::string& baseFolder)
    : CNorqEventLogger(baseFolder, [] { return std::chrono::system_clock::now(); })
{
}

CNorqEventLogger::CNorqEventLogger(const std::string& baseFolder, Clock clock)
    : m_state(std::make_shared<State>(std::move(clock)))
{
    State& s = *m_state;
    s.startTime = s.clock();
    s.cutoff = s.startTime
        - std::chrono::duration_cast<TimePoint::duration>(std::chrono::duration<double, std::ratio<86400>>(kKeepDays));
    const LocalTime start = ToLocal(s.startTime);
    s.baseFolder = baseFolder;
    s.dateText = DateText(start);
    s.timeText = TimeText(start);
    s.logFolder = baseFolder;
    if (s.logFolder.empty() || s.logFolder.back() != '/')
        s.logFolder += '/';
    s.logFolder += kLogFolderName;
    s.logFileName = kLogPrefix + s.dateText + s.timeText + kLogSuffix;
    s.fullPath = s.logFolder + "/" + s.logFileName;

    // The writer shares the state, so it can outlive a destructor that
    // stopped waiting for it.
    std::shared_ptr<State> shared = m_state;
    s.writer = std::thread([shared] { shared->LoggingThread(); });

    s.DeleteOldLogs();
}

CNorqEventLogger::~CNorqEventLogger()
{
    {
        std::unique_lock guard(s_instanceLock);
        if (g_eventLogger == this) {
            g_eventLogger = nullptr;
            s_shutDown = true;
        }
    }
    State& s = *m_state;
    s.running.store(false);
    s.workEvent.Set();
    if (s.exitEvent.Wait(kWriterExitWaitMs)) {
        s.writer.join();
        // Lines that reached the queue after the writer's last pass.
        s.WritePass();
        s.CloseLogFile();
    } else {
        // The writer is stuck in the file system; it holds its own share of
        // the state and finishes on its own.
        s.writer.detach();
    }
}

std::string CNorqEventLogger::FormatLine(const char* tag, const std::string& text) const
{
    const LocalTime t = ToLocal(m_state->clock());
    char prefix[96];
    std::snprintf(prefix, sizeof prefix, "PID %u, TID %u:  %04d%02d%02d %02d:%02d:%02d:  ", CurrentProcessId(),
        CurrentThreadId(), t.year, t.month, t.day, t.hour, t.minute, t.second);
    std::string line;
    line.reserve(sizeof prefix + (tag != nullptr ? 64 : 0) + text.size() + 2);
    line += prefix;
    if (tag != nullptr && *tag != '\0') {
        line += tag;
        line += ' ';
    }
    line += text;
    if (!EndsWithNewline(line))
        line += "\r\n";
    return line;
}

void CNorqEventLogger::Log(const char* tag, const std::string& text)
{
    m_state->Enqueue(FormatLine(tag, text));
}

void CNorqEventLogger::LogFormat(const char* tag, const char* format, ...)
{
    char text[kFormatBufferSize] = {};
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    text[kFormatBufferSize - 1] = '\0';
    Log(tag, text);
}

void CNorqEventLogger::QueueLine(const std::string& text)
{
    m_state->Enqueue(WithLineEnd(text));
}

// "%A, %B %d, %Y:  " then " %H::%M::%S  ***\r\n"
std::string CNorqEventLogger::BannerTime() const
{
    static const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March", "April", "May", "June", "July", "August",
        "September", "October", "November", "December"};
    const LocalTime t = ToLocal(m_state->clock());
    char text[96];
    std::snprintf(text, sizeof text, "%s, %s %02d, %04d:   %02d::%02d::%02d  ***\r\n", days[t.weekday % 7],
        months[(t.month + 11) % 12], t.day, t.year, t.hour, t.minute, t.second);
    return text;
}

void CNorqEventLogger::LogSessionStarted(const std::string& applicationName, const std::string& versionText)
{
    QueueLine("\r\n\r\n");
    QueueLine(UnderscoreLine());
    QueueLine(UnderscoreLine());
    Log("CQuorinView::CQuorinView",
        "*** " + applicationName + " " + versionText + " Session Started at " + BannerTime());
}

void CNorqEventLogger::LogSessionEnded(const std::string& applicationName, const std::string& versionText)
{
    Log("CQuorinView::~CQuorinView", "*** " + applicationName + " " + versionText + " Session ended at " + BannerTime());
    QueueLine(UnderscoreLine());
    QueueLine(UnderscoreLine());
    QueueLine("\r\n\r\n");
}

const std::string& CNorqEventLogger::LogFolder() const
{
    return m_state->logFolder;
}

const std::string& CNorqEventLogger::FullPath() const
{
    return m_state->fullPath;
}

bool CNorqEventLogger::WaitForWriter(uint32_t timeoutMs)
{
    State& s = *m_state;
    std::unique_lock guard(s.lock);
    const uint64_t target = s.linesQueued;
    // A pass that starts from now on takes every line queued so far.
    const uint64_t needed = s.passesStarted + 1;
    guard.unlock();
    s.workEvent.Set();
    guard.lock();
    const bool passed = s.passDone.wait_for(
        guard, std::chrono::milliseconds(timeoutMs), [&] { return s.passesDone >= needed; });
    return passed && s.linesWritten >= target;
}

CNorqEventLogger* CNorqEventLogger::GetInstance()
{
    {
        std::shared_lock guard(s_instanceLock);
        if (s_shutDown || g_eventLogger != nullptr)
            return s_shutDown ? nullptr : g_eventLogger;
    }
    std::unique_lock guard(s_instanceLock);
    if (s_shutDown)
        return nullptr;
    if (g_eventLogger == nullptr) {
        std::string folder;
        if (!GetMyDocumentsFolder(folder))
            return nullptr;
        try {
            g_eventLogger = new CNorqEventLogger(folder);
        } catch (const std::exception&) {
            return nullptr; // no thread to be had: run without a log
        }
    }
    return g_eventLogger;
}

void CNorqEventLogger::Shutdown()
{
    CNorqEventLogger* logger = nullptr;
    {
        std::unique_lock guard(s_instanceLock);
        s_shutDown = true;
        logger = g_eventLogger;
        g_eventLogger = nullptr;
    }
    delete logger;
}

void CNorqEventLogger::RearmForTests()
{
    Shutdown();
    std::unique_lock guard(s_instanceLock);
    s_shutDown = false;
}

void LogEvent(const char* tag, const char* format, ...)
{
    char text[kFormatBufferSize] = {};
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    text[kFormatBufferSize - 1] = '\0';
    LogEventText(tag, text);
}

void LogEventText(const char* tag, const std::string& text)
{
    if (CNorqEventLogger::GetInstance() == nullptr)
        return;
    std::shared_lock guard(s_instanceLock);
    if (g_eventLogger != nullptr)
        g_eventLogger->Log(tag, text);
}
