#pragma once
// The platform's folder browser behind one small interface, so that tests
// script the user's choice instead of clicking through a dialog.
#include <deque>
#include <optional>
#include <string>
#include <vector>

class IFolderChooser {
public:
    virtual ~IFolderChooser() = default;
    // Lets the user pick an existing folder, starting at `startFolder`;
    // nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& startFolder) = 0;
};

// A chooser with scripted answers that records what it was asked.
class CScriptedFolderChooser : public IFolderChooser {
public:
    struct Request {
        std::string title;
        std::string startFolder;
    };

    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& startFolder) override;
    // Answers in order; when none is left, the user cancels.
    void QueueAnswer(std::optional<std::string> folder) { m_answers.push_back(std::move(folder)); }
    const std::vector<Request>& Requests() const { return m_requests; }

private:
    std::deque<std::optional<std::string>> m_answers;
    std::vector<Request> m_requests;
};
