#pragma once
// The process-wide event log: any thread hands it a line; a writer thread of
// its own appends the lines to one file per run in <Documents>/Norq_Logs.
#include <cstdarg>
#include <string>

class CNorqEventLogger;

// The one logger, null until the first successful GetInstance and again
// after Shutdown.
extern CNorqEventLogger* g_eventLogger;

class CNorqEventLogger {
public:
    // Returns the logger, creating it on the first call for which the
    // documents folder resolves; null while it cannot, and for good once
    // Shutdown has run. Callers test for null and then log nothing.
    static CNorqEventLogger* GetInstance();
    // Destroys the logger (its writer drains what is queued first).
    static void Shutdown();

    explicit CNorqEventLogger(const std::string& baseFolder);
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

private:
    struct State;
    State* m_state;
};

// Logs through the logger when there is one; a no-op otherwise.
void LogEvent(const char* tag, const char* format, ...) __attribute__((format(printf, 2, 3)));
