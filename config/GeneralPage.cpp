#include "config/GeneralPage.h"

#include <initializer_list>
#include <iterator>

#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "link/LiveData.h"
#include "platform/FolderChooser.h"
#include "platform/Folders.h"
#include "platform/Prompter.h"

using W = ConfigWorkingCopy;

const std::vector<GeneralCheck> kGeneralChecks = {
    {4320, "R-Wave Markers", &W::rMarker},
    {4380, "QRS Tone", &W::qrsTone},
    {4330, "5mm Reference Grid", &W::grid},
    {6100, "Sound Alarm Tones", &W::alarmTones},
    {6080, "Display Alarms", &W::alarms},
    {5550, "Show SpO2 Waveform", &W::showSpO2},
    {5590, "Show RR Waveform", &W::showResp},
    {5610, "Show O2 Waveform", &W::showO2},
    {1346, "Single Instance", &W::singleInstance},
    {3970, "CO2 Save", &W::co2Save},
    {1369, "Save All BP Measurements", &W::saveAllBpMeasurements},
    {1356, "Check for Updates", &W::checkForUpdates},
};

const std::vector<GeneralPair> kGeneralPairs = {
    {{3860, 3850}, {"50 Hz.", "60 Hz."}, &W::notch, {0, 1}},
    {{3840, 3830}, {"Low", "High"}, &W::bandwidth, {1, 0}},
    {{3870, 3880}, {"1 Page", "2 Page"}, &W::twoPageReport, {0, 1}},
    {{5410, 3890}, {"ECG Reviewer", "ECG Interpreter"}, &W::reviewer, {1, 0}},
    {{6050, 5710},
     {"Continuous Recording Waveforms; Periodic Vital Signs", "Periodic Vital Signs Only"},
     &W::recordMode,
     {1, 0}},
};

const std::vector<GeneralCombo> kGeneralCombos = {
    {4780, {std::begin(kSpeciesNames), std::end(kSpeciesNames)}, &W::species, {0, 1, 2, 3}, -1},
    {4230, {"25 mm/sec", "50 mm/sec", "100 mm/sec", "200 mm/sec"}, &W::ecgSweep, {1, 2, 4, 8}, -1},
    {4250, {"6.25 mm/sec", "12.5 mm/sec", "25 mm/sec"}, &W::co2Sweep, {1, 2, 4}, -1},
    {4800,
     {"Off", "Every Minute", "Every 2 Minutes", "Every 3 Minutes", "Every 5 Minutes", "Every 10 Minutes",
      "Every 15 Minutes"},
     &W::autoTrend,
     {0, 60, 120, 180, 300, 600, 900},
     0},
    {4820,
     {"1 Minute", "2 Minutes", "3 Minutes", "5 Minutes", "10 Minutes", "15 Minutes"},
     &W::eventCapture,
     {60, 120, 180, 300, 600, 900},
     0},
    {4782, {"Profile 0", "Profile 1", "Profile 2", "Profile 3"}, &W::soundProfile, {0, 1, 2, 3}, -1},
    {4251, {"1", "2", "3", "4"}, &W::maxEcgWaveforms, {1, 2, 3, 4}, -1},
    {1351,
     {"Off", "10 sec", "30 sec", "1 min", "5 min", "10 min", "30 min"},
     &W::alarmSnooze,
     {0, 10, 30, 60, 300, 600, 1800},
     0},
    {4252, {"kgs", "lbs", "g", "oz"}, &W::defaultWtUnit, {0, 1, 2, 3}, -1},
};

bool PairBoxChecked(const GeneralPair& pair, int box, int32_t field)
{
    return (field != 0) == (pair.values[box] != 0);
}

int GeneralComboIndex(const GeneralCombo& combo, int32_t value)
{
    for (size_t i = 0; i < combo.values.size(); ++i)
        if (combo.values[i] == value)
            return static_cast<int>(i);
    return combo.fallback;
}

uint8_t GeneralGasModuleKind(ConfigMode mode, int32_t deviceKind, uint16_t featureBits, uint8_t current)
{
    if ((featureBits & kFeatureCO2) == 0 || deviceKind == kDeviceBrindle)
        return 5;
    return mode == kConfigDefaults ? 3 : current;
}

bool PortSpecified(const ConfigWorkingCopy& w)
{
    return w.winBluetooth == 0;
}

std::map<int, bool> GeneralPageVisibility(const GeneralPageInputs& in, const ConfigWorkingCopy& w)
{
    // Later steps override earlier ones, in the order the page opens.
    std::map<int, bool> shown;
    auto set = [&shown](std::initializer_list<int> ids, bool show) {
        for (const int id : ids)
            shown[id] = show;
    };
    const auto bit = [&in](int n) { return (in.featureBits & (1u << n)) != 0; };
    if (in.mode == kConfigDefaults) {
        set({1352, 3990}, false);
        set({5640}, true);
        set({6110, 4220}, PortSpecified(w));
        set({5710, 6050}, w.autoSave != 0);
    } else {
        if (in.demo)
            set({4360}, false);
        set({5640, 6110, 4220, 3400, 5710, 6050, 3410, 5350, 3420, 5380, 4820, 3720, 3920, 3930, 4780,
             3860, 3850, 3940, 3970, 1369, 1346, 1352, 3990, 1356, 4041, 4251, 1377, 4252},
            false);
        switch (in.deviceKind) {
        case kDeviceTarvik:
        case kDeviceTarvikPlus:
            set({3710, 5550, 5590, 4041, 4251}, true);
            set({5610}, in.deviceKind == kDeviceTarvikPlus && bit(6));
            break;
        case kDeviceMoval:
            set({4041, 4251}, true);
            set({3710, 5550, 5590, 5610, 4250, 4040}, false);
            break;
        case kDeviceSelvo:
            set({3710, 3830, 3840, 1365, 1366, 4320, 4380, 4360, 4230, 1367, 4041, 4251}, bit(0));
            set({4250, 4040, 3780, 3790, 3800, 5610}, bit(6));
            set({5550}, bit(2));
            set({5590}, bit(1));
            break;
        case kDeviceBrindle:
            set({3710, 5550, 5590, 5610, 4250, 4040, 3780, 3790, 3800, 3830, 3840, 1365, 1366, 4320, 4380,
                 4360, 4230, 1367, 4041, 4251},
                false);
            break;
        default:
            break;
        }
    }
    set({3900, 5410, 3890}, in.ecgProgramsPresent == 3);
    switch (in.gasModuleKind) {
    case 0:
    case 1:
    case 2:
        set({3790, 3810}, true);
        set({3800, 3820}, false);
        break;
    case 3: set({3790, 3800, 3810, 3820}, true); break;
    case 4: set({3790, 3800, 3810, 3820}, false); break;
    case 5: set({3790, 3800, 3810, 3820, 3780}, false); break;
    default: break;
    }
    set({1356}, true);
    return shown;
}

std::vector<AgentEntry> GeneralAgentList(uint8_t gasModuleKind, const std::array<uint8_t, 5>& available,
                                         const ConfigWorkingCopy& w)
{
    return AgentList(gasModuleKind, available,
                     {w.showHalothaneCopy != 0, w.showEnfluraneCopy != 0, w.showDesfluraneCopy != 0});
}

bool ChooseAgent(ConfigWorkingCopy& w, uint8_t gasModuleKind, bool secondary, int32_t code)
{
    return ChooseAgent(gasModuleKind, secondary, code, w.primaryAgent, w.secondaryAgent);
}

namespace {

constexpr char kBandwidthCaption[] = "Bandwidth Setting";

}  // namespace

bool ConfirmHighHeartRates(ConfigWorkingCopy& w, IPrompter& prompter)
{
    if (prompter.MessageBox("This selection will change the maximum heart rate detection range\nto 800 BPM for "
                            "Exotic species. The normal detection range is 0 to 400 BPM.\nCanine and Feline "
                            "patients should not normally require the higher setting.\n\nPress OK to proceed, "
                            "CANCEL to abort.",
                            "High Heart Rate Setting", kMbOkCancel | kMbIconQuestion) != kIdOk)
        return false;
    w.heartRatesAbove400 = 1;
    if (w.bandwidth == 1 &&
        prompter.MessageBox("The ECG Bandwidth is set to low.\nFor higher heart rate ranges, it is recommended that "
                            "the ECG Bandwidth be set to high.\n\nPress YES to proceed with the high Bandwidth "
                            "setting, NO to keep low setting.",
                            kBandwidthCaption, kMbYesNo) == kIdYes)
        w.bandwidth = 0;
    return true;
}

void ChooseLowBandwidth(ConfigWorkingCopy& w, IPrompter& prompter)
{
    if (w.heartRatesAbove400 == 1 &&
        prompter.MessageBox("Heart rate detection is set to 'Heart Rates > 400 BPM' range.\nFor higher heart rate "
                            "ranges, it is recommended that the ECG Bandwidth be set to high.\n\nPress YES to "
                            "proceed with the high Bandwidth setting, NO to keep low setting.",
                            kBandwidthCaption, kMbYesNo) == kIdYes) {
        w.bandwidth = 0;
        return;
    }
    w.bandwidth = 1;
}

bool SelectRecordFolder(ConfigWorkingCopy& w, IFolderChooser& chooser, IPrompter& prompter)
{
    const std::string previous = w.recordPath;
    const std::optional<std::string> folder = chooser.ChooseFolder("Select Recorded ECG Destination folder", previous);
    if (!folder || folder->empty())
        return false;
    // A folder that exists but takes no file would lose every recording.
    if (MakeRecordFolder(*folder) && CanWriteInFolder(*folder)) {
        w.recordPath = *folder;
        return true;
    }
    w.recordPath = previous;
    prompter.MessageBox("Selected Folder does not exists or can not be created!", "Recorded ECG Folder Error",
                        kMbOk | kMbIconWarning);
    return true;
}
