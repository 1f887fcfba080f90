#pragma once
// Starting another program, or opening a document or web address, as the
// shell's "open" does it: the program runs on its own and nobody waits for
// it. The result is the shell's code: above 32 when it started, else why it
// did not.
#include <deque>
#include <mutex>
#include <string>
#include <vector>

enum ShellResult : int {
    kShellOutOfResources = 0,
    kShellFileNotFound = 2,
    kShellPathNotFound = 3,
    kShellAccessDenied = 5,
    kShellBadFormat = 11,
    kShellNoAssociation = 31,
    kShellStarted = 42,
};

inline bool ShellSucceeded(int result) { return result > 32; }

class IShellLauncher {
public:
    virtual ~IShellLauncher() = default;
    // `folder` becomes the program's working directory (empty: ours); a
    // relative `file` is looked for there, a bare name then on PATH.
    virtual int StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                             const std::string& folder) = 0;
    // Opens a document (a path) or a web address ("https://...") with the
    // desktop's program for it. Any thread.
    virtual int OpenDocument(const std::string& target) = 0;
};

// A launcher that starts nothing: it records each request and answers with
// the code it is given (started, unless told otherwise).
class CScriptedShellLauncher : public IShellLauncher {
public:
    struct Request {
        std::string file;
        std::vector<std::string> arguments;
        std::string folder;
    };

    int StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                     const std::string& folder) override;
    int OpenDocument(const std::string& target) override;
    void SetResult(int result);
    // The answers of the next documents opened, in order; then the result.
    void QueueDocumentResult(int result);
    std::vector<Request> Requests() const;
    std::vector<std::string> Documents() const;

private:
    mutable std::mutex m_mutex;
    int m_result = kShellStarted;
    std::deque<int> m_documentResults;
    std::vector<Request> m_requests;
    std::vector<std::string> m_documents;
};
