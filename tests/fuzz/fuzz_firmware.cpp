// Arbitrary text as a firmware file: accepted or refused, never a table
// the remote could not take.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "link/FirmwareFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    const FirmwareResult result = ParseFirmwareText(text, lines);
    if (!result.Ok()) {
        if (!lines.empty() || result.line < 1 || FirmwareErrorText("f.rmt", result).empty())
            std::abort();
        return 0;
    }
    if (lines.empty() || lines.size() > kFirmwareMaxLines || lines.back() != "q\r")
        std::abort();
    for (const std::string& line : lines)
        if (line.empty() || line.size() > kFirmwareWordsPerLine * 2 + 1 || line.back() != '\r')
            std::abort();
    return 0;
}
