#pragma once
// The process-wide event log: any thread hands it a line; a writer thread of
// its own appends the lines to one file per run in <Documents>/Norq_Logs.
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CNorqEventLogger;

// The one logger, null until the first successful GetInstance and again
// after Shutdown. Read it through GetInstance: the pointer is guarded by the
// logger's creation lock.
extern CNorqEventLogger* g_eventLogger;

class CNorqEventLogger {
public:
    // The wall clock; the logger shows it as local time.
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    // Returns the logger, creating it on the first call for which the
    // documents folder resolves; null while it cannot, and for good once
    // Shutdown has run. Callers test for null and then log nothing.
    static CNorqEventLogger* GetInstance();
    // Destroys the logger (its writer drains what is queued first).
    static void Shutdown();
    // Shuts down any logger and lets GetInstance create a new one (tests).
    static void RearmForTests();

    explicit CNorqEventLogger(const std::string& baseFolder);
    CNorqEventLogger(const std::string& baseFolder, Clock clock);
    virtual ~CNorqEventLogger();
    CNorqEventLogger(const CNorqEventLogger&) = delete;
    CNorqEventLogger& operator=(const CNorqEventLogger&) = delete;

    void Log(const char* tag, const std::string& text);
    void LogFormat(const char* tag, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void QueueLine(const std::string& text);
    void LogSessionStarted(const std::string& applicationName, const std::string& versionText);
    void LogSessionEnded(const std::string& applicationName, const std::string& versionText);

    const std::string& LogFolder() const;
    const std::string& FullPath() const;

    // Wakes the writer and waits until it has made one full pass over what
    // was queued before the call. True when every such line is in the file;
    // false when the file could not be written or the time-out ran out.
    [[nodiscard]] bool WaitForWriter(uint32_t timeoutMs);

private:
    struct State;
    std::string FormatLine(const char* tag, const std::string& text) const;
    std::string BannerTime() const;

    std::shared_ptr<State> m_state;
};

// Log through the logger when there is one; a no-op otherwise. Both hold
// the instance lock for the whole write, so a Shutdown on another thread
// waits for them rather than freeing the logger under them. Threads log
// through these, never through a pointer kept from GetInstance.
void LogEvent(const char* tag, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The text as it stands: the link's log lines (see LinkLog).
void LogEventText(const char* tag, const std::string& text);
