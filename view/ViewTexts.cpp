#include "view/ViewTexts.h"

#include <cstdio>

#include "link/LiveData.h"
#include "view/StripValues.h"

namespace {

constexpr int32_t kConnected = 2;

const char* DemoTag(int32_t deviceKind)
{
    switch (deviceKind) {
    case kDeviceUnknown: return "DEMO";
    case kDeviceTarvik: return "DEMO Tarvik";
    case kDeviceTarvikPlus: return "DEMO Tarvik+";
    case kDeviceMoval: return "DEMO Moval";
    case kDeviceSelvo: return "DEMO Selvo";
    case kDeviceBrindle: return "DEMO BP-Brindle";
    default: return nullptr;
    }
}

const char* ConnectedTag(int32_t deviceKind)
{
    switch (deviceKind) {
    case kDeviceTarvik: return "Tarvik";
    case kDeviceTarvikPlus: return "Tarvik+";
    case kDeviceMoval: return "Moval";
    case kDeviceSelvo: return "Selvo";
    case kDeviceBrindle: return "BP-Brindle";
    default: return "Unknown";
    }
}

bool ShowsEcgGain(int32_t deviceKind, uint16_t featureBits)
{
    if (deviceKind == kDeviceBrindle)
        return false;
    return deviceKind != kDeviceSelvo || (featureBits & kFeatureEcg) != 0;
}

} // namespace

std::optional<std::string> TitleText(bool demoMode, int32_t deviceKind, int32_t connectionStatus,
                                     const std::string& patientName)
{
    const char* tag = nullptr;
    if (demoMode) {
        tag = DemoTag(deviceKind);
        if (tag == nullptr)
            return std::nullopt;
    } else if (connectionStatus == kConnected) {
        tag = ConnectedTag(deviceKind);
    } else {
        tag = "Disconnected";
    }
    return "Patient ID: " + patientName + "  [ " + tag + " ]";
}

LinkIconAction CLinkIconRule::Update(bool live, bool demoMode, bool stopRequested, int32_t batteryLevel)
{
    LinkIconAction action;
    action.visible = live || (demoMode && !stopRequested);
    if (!action.visible)
        return action;
    int32_t level = demoMode ? kDemoLevel : batteryLevel;
    if (level > kTopLevel)
        level = kTopLevel;
    if (level < 0)
        level = 0;
    if (m_shownLevel != level) {
        m_shownLevel = level;
        action.loadIcon = kFirstIcon + level * kIconStep;
    }
    return action;
}

std::string FormatSweepText(int32_t ecgSweep, int32_t deviceKind)
{
    if (deviceKind == kDeviceBrindle)
        return "6.25mm/sec";
    unsigned speed = 25;
    if (ecgSweep == 2)
        speed = 50;
    else if (ecgSweep == 4)
        speed = 100;
    else if (ecgSweep == 8)
        speed = 200;
    return std::to_string(speed) + "mm/sec";
}

std::string FormatGainText(int32_t gainIndex, bool withLabel, int32_t deviceKind, uint16_t featureBits,
                           bool dental)
{
    if (!ShowsEcgGain(deviceKind, featureBits))
        return {};
    const double gain = EcgGain(gainIndex);
    char text[64];
    std::snprintf(text, sizeof text, "%s(x%.1f) %1.0fmm/mV", withLabel ? "Gain: " : "", gain, gain * 10.0);
    std::string out = text;
    if (dental)
        out += " Dental";
    return out;
}

std::string FormatGainShortText(int32_t gainIndex, int32_t deviceKind, uint16_t featureBits, bool dental)
{
    if (!ShowsEcgGain(deviceKind, featureBits))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "(x%.1f)", EcgGain(gainIndex));
    std::string out = text;
    if (dental)
        out += " Dental";
    return out;
}

std::string FormatFilterText(int32_t bandwidth)
{
    return bandwidth != 0 ? "ECG Filter: Low" : "ECG Filter: High";
}

std::string FormatSpeciesText(int32_t code, bool withLabel, const std::string& patientSpecies,
                              const std::string& breedNumber)
{
    static constexpr const char* kNames[] = {"Canine", "Feline", "Equine"};
    std::string out = withLabel ? "Species: " : "";
    if (code >= 0 && code < 3)
        out += kNames[code];
    else
        out += patientSpecies;
    if (!withLabel && !breedNumber.empty())
        out += "  [" + breedNumber + "]";
    return out;
}

std::string FormatDateText(bool withLabel, std::time_t sessionDate)
{
    std::string out = withLabel ? "Date: " : "";
    std::tm local{};
    if (localtime_r(&sessionDate, &local) == nullptr)
        return out;
    char date[32];
    if (std::strftime(date, sizeof date, "%m/%d/%Y", &local) > 0)
        out += date;
    return out;
}

std::string AtmosphericPressureText(float ambientPressure)
{
    char text[96];
    std::snprintf(text, sizeof text, "Atmospheric Pressure reading from gas probe is %.1f kPa",
                  double(ambientPressure) * 10.0);
    return text;
}

std::string FormatSweepGainText(int32_t ecgSweep, int32_t gainIndex, int32_t deviceKind, uint16_t featureBits,
                                bool dental)
{
    return FormatSweepText(ecgSweep, deviceKind) + "  " + FormatGainShortText(gainIndex, deviceKind, featureBits, dental);
}
