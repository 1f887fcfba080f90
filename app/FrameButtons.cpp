#include "app/FrameButtons.h"

#include <cstring>

namespace {

struct CommandString {
    std::uint32_t id;
    const char* text;
};

constexpr CommandString kCommandStrings[] = {
    {8650, "Connect or disconnect remote device\nToggle Connect Remote"},
    {8660, "Show or hide 5mm reference grid\nToggle 5mm Reference Grid"},
    {8680, "Change ECG Waveform Gain\nECG Gain"},
    {8690, "Change ECG Waveform Sweep Rate\nECG Sweep Rate"},
    {8700, "Show or hide R-Wave marker\nToggle R-Wave Marker"},
    {8710, "Edit Patient information\nEdit Patient Information"},
    {8720, "Enable or disable QRS tone\nToggle QRS Tone"},
    {8730, "Edit Wireless Remote configuration preferences\nConfigure Wireless Remote"},
    {8740, "Set ECG bandwidth 40Hz or 75Hz\nToggle ECG Bandwidth 40Hz or 75Hz"},
    {8760, "Edit Vet Information\nEdit Vet Information"},
    {8770, "Set ECG waveform sweep speed\nSet ECG Sweep Speed"},
    {8780, "Set ECG waveform gain\nSet ECG Gain"},
    {8790, "Set ECG waveform filter\nSet ECG Filter"},
    {8800, "Enable or disable Alarms\nToggle Alarms"},
    {8810, "Edit Current Configuration\nEdit Current Configuration"},
    {8820, "Preview Waveform Print Report\nPrint Preview"},
    {8830, "Print Waveform Report\nPrint Waveform Report"},
    {8840, "Enable or disable Silence Alarm\nToggle Silence Alarm"},
    {8850, "Start and Stop Continuous Recording\nToggle Continuous Recording"},
    {8880, "Close current episode and create new patient\nNew Patient"},
    {8890, "Open stored episode in ECG Reviewer\nReview Stored Episode"},
    {8900, "Show Trend Graph\nShow Trend Graph"},
    {8920, "Configure Demo\nConfigure Demo"},
    {8930, "Start and Stop BP\nStart and Stop BP"},
    {8940, "Configure Displayed Waveforms\nConfigure Displayed Waveforms"},
    {8950, "Show Atmospheric Pressure\nShow Atmospheric Pressure"},
    {8960, "Enable\\Disable Alarm tone\nToggle Alarm Tone"},
    {8970, "Set Agent\nSet Agent"},
    {8980, "Gas Selection\nGas Selection"},
    {8990, "Stop and Start Tracings\nStop and Start Tracings"},
    {9000, "Mark Event\nMark Event"},
};

// The toggles start on their resting image; the four plain commands use
// images the toggles leave free.
constexpr std::array<ToolBarCommand, 11> kToolBarCommands = {{
    {8700, 3},
    {8720, 4},
    {8840, 7},
    {8800, 8},
    {8850, 10},
    {8990, 14},
    {8690, 5},
    {8680, 6},
    {8740, 9},
    {8980, 11},
    {8930, 15},
}};

constexpr FrameButtonInfo kFrameButtons[] = {
    {8700, 3, 20},  // R-wave marker
    {8720, 4, 19},  // QRS tone
    {8840, 7, 21},  // silence alarm
    {8800, 8, 24},  // alarms
    {8850, 10, 23}, // continuous recording
    {8990, 14, 25}, // stop and start tracings
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
