#pragma once
// The service terminal's text, kept apart from its window: the scrolling
// output (a list of short chunks) and the receive buffer that holds the
// remote's last 400 characters (version and debug text). Any thread may
// append; the window learns of new output through a posted message.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WindowMessages.h"

// lParam of "CTK_TERMDLG_NEWSTRING" (wParam is a heap std::string with the
// whole output); both belong to the receiver.
struct TermSelection {
    int start = 32767;
    int end = 32767;
};

class CTermTextModel {
public:
    static constexpr std::size_t kReceiveBufferLimit = 400;
    static constexpr std::size_t kMaxChunks = 128;
    static constexpr int kChunkCharacters = 10; // a chunk closes after more than this many

    // Where output goes: "CTK_TERMDLG_NEWSTRING" to the dialog window.
    // Without a window nothing is posted (the chunks are still kept).
    void SetWindow(IMessagePoster* poster, WindowHandle window, uint32_t message);

    // 1 while the terminal is open for the user.
    void SetShown(bool shown);
    bool IsShown() const;

    // Received text for the output box; carriage returns are dropped and a
    // line feed becomes CR LF.
    void AppendOutput(const char* text, std::size_t length);
    std::vector<std::string> Chunks() const;
    void ClearOutput();

    void AppendReceiveBuffer(const char* text, std::size_t length);
    std::string GetReceiveBuffer() const;
    void ClearReceiveBuffer();

private:
    void PostOutputLocked();

    mutable std::mutex m_outputLock;
    std::deque<std::string> m_chunks;
    IMessagePoster* m_poster = nullptr;
    WindowHandle m_window = 0;
    uint32_t m_message = 0;
    int m_shown = 0;

    mutable std::mutex m_receiveLock;
    std::string m_receive;
};
