#include "app/FrameButtons.h"

#include <cstring>

#include "app/MenuCommands.h"

namespace {

struct CommandString {
    std::uint32_t id;
    const char* text;
};

constexpr CommandString kCommandStrings[] = {
    {menu::kConnect, "Connect or disconnect remote device\nToggle Connect Remote"},
    {menu::kGrid, "Show or hide 5mm reference grid\nToggle 5mm Reference Grid"},
    {menu::kGainCycle, "Change ECG Waveform Gain\nECG Gain"},
    {menu::kSweepCycle, "Change ECG Waveform Sweep Rate\nECG Sweep Rate"},
    {menu::kRWaveMarker, "Show or hide R-Wave marker\nToggle R-Wave Marker"},
    {menu::kPatientInformation, "Edit Patient information\nEdit Patient Information"},
    {menu::kQrsTone, "Enable or disable QRS tone\nToggle QRS Tone"},
    {menu::kDefaultConfiguration, "Edit Wireless Remote configuration preferences\nConfigure Wireless Remote"},
    {menu::kBandwidth, "Set ECG bandwidth 40Hz or 75Hz\nToggle ECG Bandwidth 40Hz or 75Hz"},
    {menu::kVetInformation, "Edit Vet Information\nEdit Vet Information"},
    {menu::kSweepDialog, "Set ECG waveform sweep speed\nSet ECG Sweep Speed"},
    {menu::kGainDialog, "Set ECG waveform gain\nSet ECG Gain"},
    {menu::kFilterDialog, "Set ECG waveform filter\nSet ECG Filter"},
    {menu::kAlarms, "Enable or disable Alarms\nToggle Alarms"},
    {menu::kCurrentConfiguration, "Edit Current Configuration\nEdit Current Configuration"},
    {menu::kPrintPreview, "Preview Waveform Print Report\nPrint Preview"},
    {menu::kPrint, "Print Waveform Report\nPrint Waveform Report"},
    {menu::kSilenceAlarm, "Enable or disable Silence Alarm\nToggle Silence Alarm"},
    {menu::kRecord, "Start and Stop Continuous Recording\nToggle Continuous Recording"},
    {menu::kNewPatient, "Close current episode and create new patient\nNew Patient"},
    {menu::kReview, "Open stored episode in ECG Reviewer\nReview Stored Episode"},
    {menu::kTrend, "Show Trend Graph\nShow Trend Graph"},
    {menu::kDemoConfiguration, "Configure Demo\nConfigure Demo"},
    {menu::kBloodPressure, "Start and Stop BP\nStart and Stop BP"},
    {menu::kWaveforms, "Configure Displayed Waveforms\nConfigure Displayed Waveforms"},
    {menu::kAtmosphericPressure, "Show Atmospheric Pressure\nShow Atmospheric Pressure"},
    {menu::kAlarmTones, "Enable\\Disable Alarm tone\nToggle Alarm Tone"},
    {menu::kSetAgent, "Set Agent\nSet Agent"},
    {menu::kAgents, "Gas Selection\nGas Selection"},
    {menu::kPlayHalt, "Stop and Start Tracings\nStop and Start Tracings"},
    {menu::kMarkEvent, "Mark Event\nMark Event"},
};

// The toggles start on their resting image; the four plain commands use
// images the toggles leave free.
constexpr std::array<ToolBarCommand, 11> kToolBarCommands = {{
    {menu::kRWaveMarker, 3},
    {menu::kQrsTone, 4},
    {menu::kSilenceAlarm, 7},
    {menu::kAlarms, 8},
    {menu::kRecord, 10},
    {menu::kPlayHalt, 14},
    {menu::kSweepCycle, 5},
    {menu::kGainCycle, 6},
    {menu::kBandwidth, 9},
    {menu::kAgents, 11},
    {menu::kBloodPressure, 15},
}};

// The recording's "on" image is its idle one, the tracings' their running one.
constexpr FrameButtonInfo kFrameButtons[] = {
    {menu::kRWaveMarker, 3, 20},
    {menu::kQrsTone, 4, 19},
    {menu::kSilenceAlarm, 7, 21},
    {menu::kAlarms, 8, 24},
    {menu::kRecord, 10, 23},
    {menu::kPlayHalt, 14, 25},
};

std::string Half(std::uint32_t id, bool tip)
{
    const char* text = GetCommandString(id);
    if (!text)
        return {};
    const char* split = std::strchr(text, '\n');
    if (!split)
        return tip ? std::string() : std::string(text);
    return tip ? std::string(split + 1) : std::string(text, split);
}

} // namespace

const std::array<ToolBarCommand, 11>& ToolBarCommands()
{
    return kToolBarCommands;
}

const char* GetCommandString(std::uint32_t id)
{
    for (const CommandString& entry : kCommandStrings)
        if (entry.id == id)
            return entry.text;
    return nullptr;
}

std::string GetCommandPrompt(std::uint32_t id)
{
    return Half(id, false);
}

std::string GetCommandTip(std::uint32_t id)
{
    return Half(id, true);
}

const FrameButtonInfo& GetFrameButtonInfo(FrameButton button)
{
    return kFrameButtons[static_cast<int>(button)];
}

void CFrameButtonStates::Reset()
{
    m_states.fill(-1);
}

std::optional<int> CFrameButtonStates::Update(FrameButton button, bool on)
{
    std::int32_t& cached = m_states[static_cast<std::size_t>(button)];
    const std::int32_t state = on ? 1 : 0;
    if (cached == state)
        return std::nullopt;
    cached = state;
    const FrameButtonInfo& info = GetFrameButtonInfo(button);
    return on ? info.imageOn : info.imageOff;
}
