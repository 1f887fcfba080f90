#pragma once
// The firmware lines the serial listener feeds to the remote while the link
// is in programming mode: one line per chunk the remote answers with.
#include <string_view>

class IProgrammingFeed {
public:
    virtual ~IProgrammingFeed() = default;
    // The line at the current index, up to its first NUL; empty once the
    // index has reached the end of the table.
    virtual std::string_view CurrentLine() const = 0;
    // Moves to the next line; never past the end of the table.
    virtual void AdvanceLine() = 0;
};

// The box the terminal shows when the last line has gone. The listener only
// posts "CTK_TERMDLG_PROGRAMMINGCOMPLETE" to the view; the box is shown on
// the UI thread.
inline constexpr char kProgrammingCompleteMessage[] = "CTK_TERMDLG_PROGRAMMINGCOMPLETE";
inline constexpr char kProgrammingCompleteText[] = "Service Terminal Interface will now exit.";
inline constexpr char kProgrammingCompleteCaption[] = "Programming Complete";
