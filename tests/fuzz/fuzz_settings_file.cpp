// Arbitrary text as a settings file. Whatever imports must export again and
// read back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/SettingsFile.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    IProfileStore::Values values;
    if (!ParseSettingsText(text, values))
        return 0;
    std::string written;
    Check(SettingsText(values, written));
    IProfileStore::Values again;
    Check(ParseSettingsText(written, again));
    Check(again == values);
    return 0;
}
