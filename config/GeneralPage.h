#pragma once
// The General page's rules apart from its window: the fields its boxes,
// pairs and lists edit, which controls it shows by mode, model and what
// the remote measures, the agent lists, and the questions its choices ask.
// Controls are named by their ids.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "config/AgentList.h"
#include "config/ConfigTabs.h"
#include "config/ConfigWorkingCopy.h"

class IFolderChooser;
class IPrompter;

using WorkingField = int32_t ConfigWorkingCopy::*;

// A check box that stores 1 when checked, else 0.
struct GeneralCheck {
    int id;
    const char* text;
    WorkingField field;
};
// The plain ones; Auto Save, "Heart Rates > 400 BPM" and the COM port box
// have rules of their own.
extern const std::vector<GeneralCheck> kGeneralChecks;
inline constexpr GeneralCheck kAutoSaveCheck{3940, "Auto Save", &ConfigWorkingCopy::autoSave};
inline constexpr GeneralCheck kHighRatesCheck{4360, "Heart Rates > 400 BPM", &ConfigWorkingCopy::heartRatesAbove400};

// Two boxes kept exclusive: box i checked means the field holds
// values[i]; one of the values is 0, and any other field value counts as
// the other one.
struct GeneralPair {
    int ids[2];
    const char* texts[2];
    WorkingField field;
    int32_t values[2];
};
extern const std::vector<GeneralPair> kGeneralPairs;
inline constexpr int kLowPassPair = 1;  // "Low", "High"
bool PairBoxChecked(const GeneralPair& pair, int box, int32_t field);

// A list: entry i stores values[i]; a field value that no entry stores
// shows `fallback` (-1: no entry).
struct GeneralCombo {
    int id;
    std::vector<const char*> items;
    WorkingField field;
    std::vector<int32_t> values;
    int fallback;
};
extern const std::vector<GeneralCombo> kGeneralCombos;
int GeneralComboIndex(const GeneralCombo& combo, int32_t value);

// The kind of gas module whose agent lists the page offers: 5 (none)
// without CO2 or on a Brindle, else 3 (both lists) for the defaults, else
// the module's own. The live store keeps the kind the module reported.
uint8_t GeneralGasModuleKind(ConfigMode mode, int32_t deviceKind, uint16_t featureBits, uint8_t current);

struct GeneralPageInputs {
    ConfigMode mode = kConfigDefaults;
    bool demo = false;
    int32_t deviceKind = 0;
    uint16_t featureBits = 0;
    int ecgProgramsPresent = 0;  // bit 0 Trellan, bit 1 Vospery
    uint8_t gasModuleKind = 0;   // as GeneralGasModuleKind decides
};

// The controls shown (true) or hidden (false) when the page opens; the
// others keep their place. Frames are named too: a frame hidden here may
// still hold a control shown here.
std::map<int, bool> GeneralPageVisibility(const GeneralPageInputs& in, const ConfigWorkingCopy& w);

// Checked: the port is specified (automatic selection, `winBluetooth`, is
// off); its label and edit show meanwhile. The box shows what OK stores,
// on a system without its own Bluetooth support too: a demo run lacks
// that support, and must not turn an installation's automatic port off.
inline constexpr int kSpecifyPortId = 5640;
inline constexpr char kSpecifyPortText[] = "Specify Com Port Number?";
inline constexpr int kPortControls[2] = {6110, 4220};
bool PortSpecified(const ConfigWorkingCopy& w);
// The recording-mode pair shows while Auto Save is on.
inline constexpr int kRecordModeControls[2] = {6050, 5710};

// The agent lists of the page: the working copy's display flags decide.
std::vector<AgentEntry> GeneralAgentList(uint8_t gasModuleKind, const std::array<uint8_t, 5>& available,
                                         const ConfigWorkingCopy& w);
// An agent chosen in the primary or secondary list: true when the working
// copy takes it. The live store is left alone: the view puts the primary
// agent in force when the dialog is accepted.
bool ChooseAgent(ConfigWorkingCopy& w, uint8_t gasModuleKind, bool secondary, int32_t code);

// "Heart Rates > 400 BPM" checked by the user: asks, and true when the box
// stays checked (the field is then 1, and the bandwidth High if so chosen).
bool ConfirmHighHeartRates(ConfigWorkingCopy& w, IPrompter& prompter);
// "Low" chosen in the low-pass pair: asked first while the high rates are on.
void ChooseLowBandwidth(ConfigWorkingCopy& w, IPrompter& prompter);

// Select Directory: false when the user cancelled. A chosen folder that
// cannot be made, or takes no file, leaves the previous one, with a message.
bool SelectRecordFolder(ConfigWorkingCopy& w, IFolderChooser& chooser, IPrompter& prompter);
