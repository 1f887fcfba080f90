#pragma once
// The service terminal's fixed tables: its controls, what each model shows
// and may select, and what an output row sends.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Dialog 670's controls by id.
enum TermControl : int {
    kTermOutput = 800,
    kTermInput = 680,
    kTermQuit = 1025,
    kTermDisplayGroup = 780,
    kTermDisplayOff = 760,
    kTermDisplayOn = 770,
    kTermSelectLabel = 810,
    kTermOutputList = 750,
    kTermCo2Group = 970,
    kTermCo2Reset = 995,
    kTermCo2Demo = 990,
    kTermCo2Measure = 980,
    kTermSetupGroup = 900,
    kTermHardwareLabel = 830,
    kTermHardware = 820,
    kTermSerialLabel = 850,
    kTermSerial = 840,
    kTermMfgLabel = 890,
    kTermMfg = 880,
    kTermDeviceLabel = 870,
    kTermDeviceName = 1020,
    kTermDeviceNumber = 860,
    kTermSaveSetup = 740,
    kTermBpGroup = 960,
    kTermBpStart = 940,
    kTermBpHalt = 950,
    kTermTempGroup = 790,
    kTermTempMid = 730,
    kTermHelp = 910,
    kTermPowerOff = 920,
    kTermCuffZero = 1368,
    kTermProgram = 1010,
    kTermCo2Zero = 1460,
};

// Every control of the dialog.
const std::vector<int>& TermControlIds();

// Which controls show for a model and authority; every control is in the
// map. Model 0 shows all.
std::map<int, bool> TermControlVisibility(int32_t deviceKind, bool fullAuthority);

// "Norq-SL" for a Selvo; empty for model 0.
std::string TermDeviceName(int32_t deviceKind);

// The rows of the output list.
std::vector<std::string> TermOutputRows(int32_t deviceKind);

// What choosing an output row sends: `first`, then after a pause of
// `pauseMs` `second`; `hrTimer` starts the heart- and breath-rate lines.
struct TermRowAction {
    std::string first;
    uint32_t pauseMs = 0;
    std::string second;
    bool hrTimer = false;
};
// Row names are compared without regard to case. A row of other models
// sends nothing (an empty action); a text that is no row sends "l0".
TermRowAction TermOutputRowAction(const std::string& row, int32_t deviceKind);

inline constexpr char kTermTitleFull[] = " Service Terminal.... Full Agency Authority";
inline constexpr char kTermTitleProvisional[] = " Service Terminal.... 24 hour provisional authority";
