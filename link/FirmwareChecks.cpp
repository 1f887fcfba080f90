#include "link/FirmwareChecks.h"

#include <array>

#include "link/LiveData.h"
#include "platform/TemplatePattern.h"

namespace {

// A version number is digits with single points between ("1.23", ".5"),
// written "(\.?\d)" rather than "(\.?\d+)": the same texts, without the
// nested repeat that makes a long run of digits take exponential time.
constexpr char kTarvikVersion[] = "Software:\\b*Tarvik\\+_?(\\w_)+(\\.?\\d)*";
constexpr std::array<const char*, 5> kVersionPatterns = {
    kTarvikVersion,
    "Software:\\b*Selvo_Rev_(\\.?\\d)+",
    "Software:\\b*(BP)?Brindle_Rev_(\\.?\\d)+",
    "Software:\\b*PatientMonitor_Rev_(\\.?\\d)+",
    "Software:\\b*Ecg_Rev_(\\.?\\d)+",
};
constexpr char kOldRadioVersion[] = "Software:\\b*Tarvik\\+_Rev_(\\.?\\d)*\\-OR";

std::string FileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool RemoteVersionKnown(const std::string& receiveBuffer)
{
    if (receiveBuffer.empty())
        return false;
    for (const char* pattern : kVersionPatterns)
        if (TemplatePatternFound(pattern, receiveBuffer))
            return true;
    return false;
}

bool ReportsOldRadio(int32_t deviceKind, const std::string& receiveBuffer)
{
    return deviceKind == kDeviceTarvikPlus && TemplatePatternFound(kTarvikVersion, receiveBuffer)
        && TemplatePatternFound(kOldRadioVersion, receiveBuffer);
}

bool ProgramFileNameMatches(const std::string& path, int32_t deviceKind, bool oldRadio)
{
    const char* pattern = nullptr;
    switch (deviceKind) {
    case kDeviceTarvikPlus:
        pattern = oldRadio ? "Tarvik\\+Old_Radio_(\\.?\\d)*\\.rmt" : "Tarvik\\+_(\\.?\\d)*\\.rmt";
        break;
    case kDeviceSelvo: pattern = "Selvo_(\\.?\\d)+\\.rmt"; break;
    case kDeviceBrindle: pattern = "[BP]?Brindle_(\\.?\\d)+\\.rmt"; break;
    default: return false;
    }
    // Anchored at the end: "Selvo_2.rmt.bak" is no program file.
    return TemplatePatternFound(std::string(pattern) + "$", FileName(path));
}

std::string ProgramFileNameMessage(int32_t deviceKind, bool oldRadio)
{
    switch (deviceKind) {
    case kDeviceTarvikPlus:
        return oldRadio ? "Please select a program file appropriate for the Tarvik+ with an Old Radio, with a file name "
                          "'Tarvik+Old_Radio_x.yy.rmt'."
                        : "Please select a program file appropriate for the Tarvik+, with a file name "
                          "'Tarvik+_x.yy.rmt'.";
    case kDeviceSelvo:
        return "Please select a program file appropriate for the Selvo, with a file name 'Selvo_xxx.rmt'.";
    case kDeviceBrindle:
        return "Please select a program file appropriate for the BP-Brindle, with a file name like "
               "'BPBrindle_xxx.rmt' or 'Brindle_xxx.rmt'.";
    default:
        return "You are trying to program an unrecognized device type.  Please contact customer support.";
    }
}
