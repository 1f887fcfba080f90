#pragma once
// The machine-wide mark of a running instance: a lock file in the temporary
// folder that every instance holds with a shared lock. A start that finds
// another holder learns "already exists" (183), as a named mutex would say.
#include <string>

constexpr int kErrorAlreadyExists = 183;

// $TMPDIR, else /tmp.
std::string TemporaryFolder();

class CSingleInstanceMutex {
public:
    // `name` becomes the file name; `folder` defaults to the temporary folder.
    explicit CSingleInstanceMutex(const std::string& name, const std::string& folder = TemporaryFolder());
    ~CSingleInstanceMutex();
    CSingleInstanceMutex(const CSingleInstanceMutex&) = delete;
    CSingleInstanceMutex& operator=(const CSingleInstanceMutex&) = delete;

    // 0 when no other instance held the mark, kErrorAlreadyExists when one
    // did, or the system error that kept the mark from being made.
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
