#pragma once
// The mark of a running instance: a lock file in a folder of the user's own
// that every instance holds with a shared lock. A start that finds another
// holder learns "already exists" (183), as a named mutex would say.
#include <chrono>
#include <string>

constexpr int kErrorAlreadyExists = 183;
// How long a start waits for a lock that another holds. Instances hold the
// exclusive locks only for a moment.
constexpr std::chrono::milliseconds kSingleInstancePatience{2000};

// $TMPDIR, else /tmp.
std::string TemporaryFolder();

// Where the mark lives: $XDG_RUNTIME_DIR when it is a private folder of the
// user's, else "quorin-<uid>" in the temporary folder (made here, mode 0700,
// when missing).
std::string SingleInstanceFolder();

class CSingleInstanceMutex {
public:
    // `name` becomes the file name. `folder` must be a real folder (no
    // symbolic link) of the user's with no access for group or others;
    // any other is refused with an error. A lock held by another for longer
    // than `patience` is an error too.
    explicit CSingleInstanceMutex(const std::string& name, const std::string& folder = SingleInstanceFolder(),
                                  std::chrono::milliseconds patience = kSingleInstancePatience);
    ~CSingleInstanceMutex();
    CSingleInstanceMutex(const CSingleInstanceMutex&) = delete;
    CSingleInstanceMutex& operator=(const CSingleInstanceMutex&) = delete;

    // 0 when no other instance held the mark, kErrorAlreadyExists when one
    // did, or the system error that kept the mark from being made (a lock
    // still held by someone else after `patience` gives ETIMEDOUT).
    int LastError() const { return m_lastError; }
    bool Held() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }
    // Gives up the mark (the end of the process does the same).
    void Close();

private:
    std::string m_path;
    int m_fd = -1;
    int m_lastError = 0;
};
