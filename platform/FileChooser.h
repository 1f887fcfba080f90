#pragma once
// The platform's file dialogs behind one small interface, so that tests
// script the user's choice instead of clicking through a dialog.
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct FileType {
    std::string label;    // "Settings Type Files (*.Quorin)"
    std::string pattern;  // "*.Quorin"
};

struct FileRequest {
    std::vector<FileType> types;
    std::string defaultSuffix;  // added to a name typed without one
    std::string startFolder;    // empty: the working directory
};

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // A file to write; the chooser asks before an existing file is chosen.
    // Nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFileToSave(const FileRequest& request) = 0;
    // An existing file to read; nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFileToOpen(const FileRequest& request) = 0;
};

// A chooser with scripted answers that records what it was asked.
class CScriptedFileChooser : public IFileChooser {
public:
    struct Request {
        bool save = false;
        FileRequest request;
    };

    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override;
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override;
    // Answers in order; when none is left, the user cancels.
    void QueueAnswer(std::optional<std::string> path);
    std::vector<Request> Requests() const;

private:
    std::optional<std::string> Answer(bool save, const FileRequest& request);

    mutable std::mutex m_mutex;
    std::deque<std::optional<std::string>> m_answers;
    std::vector<Request> m_requests;
};
