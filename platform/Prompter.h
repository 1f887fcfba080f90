#pragma once
// Message boxes and modal questions go through one interface, so that tests
// script the answers instead of clicking.
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// Buttons and icons of a message box, as the original program combines them.
enum MessageBoxType : uint32_t {
    kMbOk = 0x00,
    kMbOkCancel = 0x01,
    kMbYesNoCancel = 0x03,
    kMbYesNo = 0x04,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbIconInformation = 0x40,
};
constexpr uint32_t kMbButtonMask = 0x0F;
constexpr uint32_t kMbIconMask = 0xF0;

// The button that closed a message box.
enum MessageBoxResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

class IPrompter {
public:
    virtual ~IPrompter() = default;
    // Shows the text modally on the UI thread; returns the button chosen.
    virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t type) = 0;
};

// A prompter with scripted answers that records what it was asked.
class CScriptedPrompter : public IPrompter {
public:
    struct Prompt {
        std::string text;
        std::string caption;
        uint32_t type = 0;
    };

    int MessageBox(const std::string& text, const std::string& caption, uint32_t type) override;
    // Answers in order; when none is left, the first button of the box.
    void QueueAnswer(int answer);
    std::vector<Prompt> Prompts() const;

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<Prompt> m_prompts;
};
