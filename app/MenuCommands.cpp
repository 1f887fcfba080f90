#include "app/MenuCommands.h"

using namespace menu;

const std::array<MenuDef, 4>& MainMenu()
{
    static const std::array<MenuDef, 4> kMenu = {{
        {"&File",
         {
             {kConnect, "&Connect Wireless Remote...  \tAlt+C"},
             {kNewPatient, "&New Patient...\tCtrl+N"},
             {kPrint, "&Print...\tCtrl+P"},
             {kPrintPreview, "Print Pre&view"},
             {kPrintSetup, "P&rint Setup..."},
             {kExportSettings, "Export Settings"},
             {kImportSettings, "Import Settings"},
             {kExit, "E&xit"},
         }},
        {"&View",
         {
             {kToolBar, "Toolbar"},
             {kStatusBar, "Status Bar"},
             {kGrid, "Show &Grid\tCtrl+G"},
             {kRWaveMarker, "Show RWave &Marker\tCtrl+M"},
             {kTrend, "Show &Trend Graph...\tCtrl+T"},
             {kWaveforms, "Show &Waveforms...\tCtrl+W"},
             {kAtmosphericPressure, "Show Atmospheric Pressure"},
         }},
        {"&Tools",
         {
             {kDefaultConfiguration, "Edit Default Configuration..."},
             {kVetInformation, "Edit Vet Information..."},
             {kPatientInformation, "Edit Patient &Information...\tCtrl+I"},
             {kSweepDialog, "Set ECG &Sweep Speed...\tAlt+S"},
             {kGainDialog, "Set ECG &Gain...\tAlt+G"},
             {kFilterDialog, "Set ECG Filter..."},
             {kDental, "&Dental Scalar Rejection\tAlt+D "},
             {kSetAgent, "Set Agent..."},
             {kHrFromSpO2, "HR from SPO2\tAlt+H"},
             {kCurrentConfiguration, "Edit Current Configuration...\tCtrl+E"},
             {kQrsTone, "Enable &QRS Tone\tCtrl+Q"},
             {kAlarmTones, "Enable &Alarm Tones...\tCtrl+A"},
             {kAlarms, "Enable &Alarms\tAlt+A"},
             {kZeroCo2, "Zero CO2 Probe"},
             {kBloodPressure, "Enable &BP measurements\tCtrl+B"},
             {kReview, "&Review Stored Episode...\tAlt+R"},
             {kRecord, "&Record Patient Data\tCtrl+R"},
             {kPlayHalt, "&Play/Halt\tAlt+P"},
             {kMarkEvent, "&Mark Event\tAlt+M"},
             {kDemoConfiguration, "Demo Configuration"},
             {kVerboseLogging, "Verbose Logging"},
         }},
        {"&Help",
         {
             {kAbout, "About Quorin and connected Remote...\tCtrl+H"},
             {kCheckForUpdates, "Check for Updates"},
             {kSupportWebsite, "Internet Support Website"},
             {kManual, "View Manual...\t?"},
             {kGuidelines, "Monitoring Guidelines"},
             {kQuickSupport, "Launch TeamViewer QuickSupport"},
             {kService, "Service"},
         }},
    }};
    return kMenu;
}

const std::vector<AcceleratorDef>& MainAccelerators()
{
    static const std::vector<AcceleratorDef> kKeys = {
        {"Alt+C", kConnect},       {"Ctrl+N", kNewPatient},   {"Ctrl+P", kPrint},
        {"Ctrl+G", kGrid},         {"Ctrl+M", kRWaveMarker},  {"Ctrl+T", kTrend},
        {"Ctrl+W", kWaveforms},    {"Ctrl+I", kPatientInformation}, {"Alt+S", kSweepCycle},
        {"Alt+G", kGainCycle},     {"Alt+D", kDental},        {"Alt+H", kHrFromSpO2},
        {"Ctrl+E", kCurrentConfiguration}, {"Ctrl+Q", kQrsTone}, {"Ctrl+A", kAlarmTones},
        {"Alt+A", kAlarms},        {"Ctrl+B", kBloodPressure}, {"Alt+R", kReview},
        {"Ctrl+R", kRecord},       {"Alt+P", kPlayHalt},      {"Alt+M", kMarkEvent},
        {"Ctrl+H", kAbout},        {"?", kManual},
    };
    return kKeys;
}

const std::vector<std::uint32_t>& ViewCommandIds()
{
    static const std::vector<std::uint32_t> kIds = [] {
        std::vector<std::uint32_t> ids;
        for (const MenuDef& m : MainMenu())
            for (const MenuItemDef& item : m.items)
                if (item.id != kExit && item.id != kToolBar && item.id != kStatusBar && item.id != kPrintSetup)
                    ids.push_back(item.id);
        for (std::uint32_t id : {kSweepCycle, kGainCycle, kBandwidth, kSilenceAlarm, kAgents})
            ids.push_back(id);
        return ids;
    }();
    return kIds;
}
