#pragma once
// Firmware files (".rmt"): words separated by white space, an address
// ("@" and up to eight hex digits) first, then data bytes (two hex digits)
// and other addresses, up to the end mark "q". The file becomes the table
// of text lines the remote is fed one by one: the first address without
// its "@", each later address on a line of its own, data bytes run together
// 256 to a line, and "q" last; every line ends with a carriage return.
//
// The whole file is checked before anything is sent: a remote that is
// half-programmed from a damaged file may not start again.
#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/ProgrammingFeed.h"

inline constexpr std::size_t kFirmwareMaxLines = 2000;     // the "q" line included
inline constexpr std::size_t kFirmwareWordsPerLine = 256;  // 512 characters
inline constexpr std::size_t kFirmwareMaxFileBytes = 16u << 20;

enum class FirmwareFault {
    kNone,
    kUnreadable,       // missing, no permission, a read error
    kNotAFile,         // a folder or a device
    kTooLarge,
    kNoAddressFirst,   // data before the first address
    kBadWord,          // neither address, data byte nor end mark
    kNoEnd,            // the file ends without "q"
    kTooManyLines,
};

struct FirmwareResult {
    FirmwareFault fault = FirmwareFault::kNone;
    int line = 0;      // the file's line (from 1) of the refused word
    std::string word;  // the refused word, as it stands
    bool Ok() const { return fault == FirmwareFault::kNone; }
};

// `lines` gets the table only when the text is accepted.
FirmwareResult ParseFirmwareText(std::string_view text, std::vector<std::string>& lines);
FirmwareResult ReadFirmwareFile(const std::string& path, std::vector<std::string>& lines);

// The refusal as the user reads it, naming the file and the line.
std::string FirmwareErrorText(const std::string& path, const FirmwareResult& result);

// The table as the serial listener feeds it. A new table is installed on
// the UI thread before the link mode lets the listener feed; the one before
// it is kept, so a listener still writing its last line never reads freed
// memory.
class CFirmwareFeed : public IProgrammingFeed {
public:
    void Install(std::vector<std::string> lines);
    std::string_view CurrentLine() const override;
    void AdvanceLine() override;
    std::size_t LineIndex() const { return m_index.load(); }
    std::size_t LineCount() const;

private:
    struct Table {
        std::vector<std::string> lines;
    };
    std::unique_ptr<Table> m_owned;
    std::unique_ptr<Table> m_retired;
    std::atomic<const Table*> m_current{nullptr};
    std::atomic<std::size_t> m_index{0};
};
