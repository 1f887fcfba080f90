#pragma once
// The rules of the small configuration dialogs that the menu commands open:
// which waveform boxes a remote offers, the demo model form, the agent lists
// and the cuff choice. The windows in config/qt mirror these classes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/AgentList.h"
#include "config/CommandDialogs.h"

struct RemoteConfiguration;

// ---- Displayed waveforms ----

// The boxes the waveform dialog shows for a remote.
struct WaveBoxes {
    bool ecg = false;
    bool spo2 = false;
    bool resp = false;
    bool o2 = false;
};

WaveBoxes ShownWaveBoxes(int32_t deviceKind, uint16_t featureBits);

// ---- Demo model ----

enum DemoBox : int {
    kDemoMoval,
    kDemoTarvik,
    kDemoTarvikPlus,
    kDemoSelvo,
    kDemoBrindle,
    kDemoBloodPressure,
    kDemoGasCo2Only,      // 3470
    kDemoGasIcu,          // 3480
    kDemoGasOrSelectable, // 3490
    kDemoGasOrSevo,       // 3500
    kDemoGasOrIso,        // 3510
    kDemoGasOrPlus,       // 3520
    kDemoGasAx,           // 3540
    kDemoExotic,
    kDemoBoxCount
};

// The control id and text of each box, in DemoBox order.
struct DemoBoxText {
    int id;
    const char* text;
};
extern const std::array<DemoBoxText, kDemoBoxCount> kDemoBoxTexts;

class CDemoConfigForm {
public:
    void OnInitDialog(uint8_t gasModuleKind, uint16_t featureBits, int32_t deviceKind);
    // `nowChecked`: the box's state after the click toggled it.
    void Click(DemoBox box, bool nowChecked);
    DemoModelChoice OnOK() const;

    bool Checked(DemoBox box) const { return m_checked[box]; }

private:
    void CheckModel(DemoBox model);
    void UncheckOptions();

    std::array<bool, kDemoBoxCount> m_checked{};
    uint8_t m_gasModuleKind = 0;
    uint16_t m_featureBits = 0;
    int32_t m_deviceKind = 0;
    bool m_exotic = false;
};

// ---- Anaesthetic agents ----

struct AgentLists {
    bool primaryShown = false;
    bool secondaryShown = false;
    std::vector<AgentEntry> primary;
    std::vector<AgentEntry> secondary;
    int primarySelection = -1;  // -1: none
    int secondarySelection = -1;
};

// The agent dialog's choices, held until OK so that Escape changes nothing.
class CAgentChoice {
public:
    // `available`: the remote's report per agent 1..5.
    CAgentChoice(uint8_t gasModuleKind, const std::array<uint8_t, 5>& available, const RemoteConfiguration& config,
                 bool demoMode);

    const AgentLists& Lists() const { return m_lists; }
    // A selection in either list; afterwards the lists' selections show
    // what is held (a refused choice is put back).
    void SelectPrimary(int index);
    void SelectSecondary(int index);

    int32_t PrimaryAgent() const { return m_primary; }
    int32_t SecondaryAgent() const { return m_secondary; }
    // The live primary agent of the demo, when a choice set it.
    std::optional<uint8_t> LivePrimary() const { return m_livePrimary; }
    // OK: the choices into the settings.
    void Apply(RemoteConfiguration& config) const;

private:
    void Reselect();

    uint8_t m_kind;
    bool m_demo;
    AgentLists m_lists;
    int32_t m_primary;
    int32_t m_secondary;
    std::optional<uint8_t> m_livePrimary;
};

// ---- Cuff size ----

inline constexpr std::array<const char*, 7> kCuffSizeTexts{"#1", "#2", "#3", "#4", "#5-7", "#8", "ADULT"};

// The index the cuff list shows for a stored size; -1 when it is none of
// the list's.
int CuffSelection(int32_t cuffSize);
