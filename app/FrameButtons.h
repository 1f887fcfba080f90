#pragma once
// The tool bar's commands and the six toggle buttons the view switches
// through the frame, without any window: the frame and its tests share it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Ids of the frame's bars and of the status-bar indicators.
constexpr std::uint32_t kToolBarId = 0xE800;
constexpr std::uint32_t kStatusBarId = 0xE801;
constexpr std::uint32_t kIndicatorConnection = 9080;
constexpr std::uint32_t kIndicatorCaps = 0xE701;
constexpr std::uint32_t kIndicatorNum = 0xE702;
constexpr std::uint32_t kIndicatorScroll = 0xE703;
constexpr int kToolBarResource = 210;
constexpr int kToolBarBitmap = 480;
constexpr int kToolBarImageCount = 26;
constexpr int kToolBarImageSize = 32;

struct ToolBarCommand {
    std::uint32_t id;
    int image; // index into the tool-bar strip shown at start
};

// The buttons of tool bar 210, left to right.
const std::array<ToolBarCommand, 11>& ToolBarCommands();

// The string-table entry of a command: the status-bar prompt and the tool
// tip separated by "\n". Null for an id without one.
const char* GetCommandString(std::uint32_t id);
// The two halves of a command string; both empty for an id without one.
std::string GetCommandPrompt(std::uint32_t id);
std::string GetCommandTip(std::uint32_t id);

enum class FrameButton { RWaveMarker, QrsTone, SilenceAlarm, Alarms, Recording, Tracings };

struct FrameButtonInfo {
    std::uint32_t commandId;
    int imageOn;
    int imageOff;
};
const FrameButtonInfo& GetFrameButtonInfo(FrameButton button);

// The frame's cached button states; -1 until a setter first runs, so the
// first call always reaches the button.
class CFrameButtonStates {
public:
    static constexpr int kCount = 7;
    CFrameButtonStates() { Reset(); }
    void Reset();
    // The image to give the button, or nothing when the state repeats.
    std::optional<int> Update(FrameButton button, bool on);
    std::int32_t State(int index) const { return m_states.at(static_cast<std::size_t>(index)); }

private:
    std::array<std::int32_t, kCount> m_states{};
};
