#include "link/FirmwareFile.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

bool IsHex(std::string_view text)
{
    for (const char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0)
            return false;
    return true;
}

bool IsAddress(std::string_view word)
{
    return word.size() >= 2 && word.size() <= 9 && word[0] == '@' && IsHex(word.substr(1));
}

bool IsDataByte(std::string_view word)
{
    return word.size() == 2 && IsHex(word);
}

bool IsEndMark(std::string_view word)
{
    return word == "q" || word == "Q";
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

FirmwareResult Refuse(FirmwareFault fault, int line, std::string_view word = {})
{
    return FirmwareResult{fault, line, std::string(word)};
}

// The word as it can be shown: printable, and short.
std::string Shown(const std::string& word)
{
    std::string shown;
    for (const char c : word.substr(0, 24))
        shown += std::isprint(static_cast<unsigned char>(c)) != 0 ? c : '?';
    if (word.size() > 24)
        shown += "...";
    return shown;
}

}  // namespace

FirmwareResult ParseFirmwareText(std::string_view text, std::vector<std::string>& lines)
{
    std::vector<std::string> table;
    std::string data;  // the data line being built
    int line = 1;
    std::size_t at = 0;
    bool first = true;
    auto closeData = [&] {
        if (!data.empty()) {
            table.push_back(data + '\r');
            data.clear();
        }
    };
    while (at < text.size()) {
        if (IsSpace(text[at])) {
            if (text[at] == '\n')
                ++line;
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !IsSpace(text[end]))
            ++end;
        const std::string_view word = text.substr(at, end - at);
        at = end;

        if (IsEndMark(word) && !first) {
            closeData();
            table.push_back("q\r");
            if (table.size() > kFirmwareMaxLines)
                return Refuse(FirmwareFault::kTooManyLines, line);
            lines = std::move(table);
            return {};
        }
        if (IsAddress(word)) {
            closeData();
            // The "@" of the first address goes to the remote on its own.
            table.push_back(std::string(first ? word.substr(1) : word) + '\r');
        } else if (first) {
            return Refuse(FirmwareFault::kNoAddressFirst, line, word);
        } else if (IsDataByte(word)) {
            data += word;
            if (data.size() == kFirmwareWordsPerLine * 2)
                closeData();
        } else {
            return Refuse(FirmwareFault::kBadWord, line, word);
        }
        first = false;
        // Room is left for the data line being built and the end mark.
        if (table.size() + (data.empty() ? 0 : 1) + 1 > kFirmwareMaxLines)
            return Refuse(FirmwareFault::kTooManyLines, line);
    }
    return Refuse(FirmwareFault::kNoEnd, line);
}

FirmwareResult ReadFirmwareFile(const std::string& path, std::vector<std::string>& lines)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return Refuse(FirmwareFault::kUnreadable, 0);
    if (!S_ISREG(info.st_mode))
        return Refuse(FirmwareFault::kNotAFile, 0);
    if (static_cast<unsigned long long>(info.st_size) > kFirmwareMaxFileBytes)
        return Refuse(FirmwareFault::kTooLarge, 0);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Refuse(FirmwareFault::kUnreadable, 0);
    std::string text;
    text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kFirmwareMaxFileBytes)
            return Refuse(FirmwareFault::kTooLarge, 0);
    }
    if (file.bad())
        return Refuse(FirmwareFault::kUnreadable, 0);
    return ParseFirmwareText(text, lines);
}

std::string FirmwareErrorText(const std::string& path, const FirmwareResult& result)
{
    static constexpr char kNothingSent[] = "\r\n\r\nNothing has been sent to the remote.";
    const std::string file = "The program file '" + path + "'";
    const std::string line = std::to_string(result.line);
    switch (result.fault) {
    case FirmwareFault::kNone: return {};
    case FirmwareFault::kUnreadable: return file + " could not be read." + kNothingSent;
    case FirmwareFault::kNotAFile: return file + " is not a file." + kNothingSent;
    case FirmwareFault::kTooLarge: return file + " is too large to be a remote program." + kNothingSent;
    case FirmwareFault::kNoAddressFirst:
        return file + " does not begin with an address: line " + line + " holds '" + Shown(result.word) + "'."
            + kNothingSent;
    case FirmwareFault::kBadWord:
        return file + " is damaged: line " + line + " holds '" + Shown(result.word)
            + "', which is neither an address nor a data byte." + kNothingSent;
    case FirmwareFault::kNoEnd:
        return file + " ends at line " + line + " without its end mark 'q'." + kNothingSent;
    case FirmwareFault::kTooManyLines:
        return file + " needs more than 2000 program lines (line " + line + ")." + kNothingSent;
    }
    return {};
}

void CFirmwareFeed::Install(std::vector<std::string> lines)
{
    m_retired = std::move(m_owned);
    m_owned = std::make_unique<Table>(Table{std::move(lines)});
    m_index.store(0);
    m_current.store(m_owned.get());
}

std::string_view CFirmwareFeed::CurrentLine() const
{
    const Table* table = m_current.load();
    const std::size_t index = m_index.load();
    if (table == nullptr || index >= table->lines.size())
        return {};
    return table->lines[index];
}

void CFirmwareFeed::AdvanceLine()
{
    const Table* table = m_current.load();
    if (table != nullptr && m_index.load() < table->lines.size())
        m_index.fetch_add(1);
}

std::size_t CFirmwareFeed::LineCount() const
{
    const Table* table = m_current.load();
    return table != nullptr ? table->lines.size() : 0;
}
