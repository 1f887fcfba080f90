#pragma once
// Menu 210 and accelerator table 210: every command of the main window's
// menu bar with its text, and the keys that run commands. No window here:
// the frame builds its menus from these tables and tests read them.
#include <array>
#include <cstdint>
#include <vector>

namespace menu {
// Commands the view handles; the framework's own are the 57xxx and 59xxx ids.
enum : std::uint32_t {
    kConnect = 8650,
    kNewPatient = 8880,
    kPrint = 8830,
    kPrintPreview = 8820,
    kPrintSetup = 57606,
    kPrintDirect = 57607,
    kPrintDefault = 57608,
    kPrintPreviewFramework = 57609,
    kExportSettings = 32822,
    kImportSettings = 32823,
    kExit = 57665,
    kToolBar = 59392,
    kStatusBar = 59393,
    kGrid = 8660,
    kRWaveMarker = 8700,
    kTrend = 8900,
    kWaveforms = 8940,
    kAtmosphericPressure = 8950,
    kDefaultConfiguration = 8730,
    kVetInformation = 8760,
    kPatientInformation = 8710,
    kSweepDialog = 8770,
    kGainDialog = 8780,
    kFilterDialog = 8790,
    kDental = 32825,
    kSetAgent = 8970,
    kHrFromSpO2 = 9010,
    kCurrentConfiguration = 8810,
    kQrsTone = 8720,
    kAlarmTones = 8960,
    kAlarms = 8800,
    kZeroCo2 = 32828,
    kBloodPressure = 8930,
    kReview = 8890,
    kRecord = 8850,
    kPlayHalt = 8990,
    kMarkEvent = 9000,
    kDemoConfiguration = 8920,
    kVerboseLogging = 32829,
    kAbout = 57664,
    kCheckForUpdates = 32826,
    kSupportWebsite = 9070,
    kManual = 9050,
    kGuidelines = 32824,
    kQuickSupport = 32831,
    kService = 9030,
    // On the tool bar only.
    kSweepCycle = 8690,
    kGainCycle = 8680,
    kBandwidth = 8740,
    kSilenceAlarm = 8840,
    kAgents = 8980,
};
}  // namespace menu

struct MenuItemDef {
    std::uint32_t id;
    const char* text;  // after "\t" the key as the menu shows it
};

struct MenuDef {
    const char* title;
    std::vector<MenuItemDef> items;
};

// "&File", "&View", "&Tools", "&Help", each item in order.
const std::array<MenuDef, 4>& MainMenu();

struct AcceleratorDef {
    const char* key;  // in Qt's portable key-sequence text ("Alt+C", "?")
    std::uint32_t id;
};

// Table 210. Alt+S and Alt+G run the cycling commands 8690 and 8680,
// although the menu shows them beside 8770 and 8780.
const std::vector<AcceleratorDef>& MainAccelerators();

// The commands of the menu and the tool bar that the view decides on.
const std::vector<std::uint32_t>& ViewCommandIds();
