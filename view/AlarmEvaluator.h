#pragma once
// The alarm check of the numerics pane: each parameter against the high and
// low limits of the patient's species, the apnea reported by the gas
// module, the one event a pass stores and whether the alarm loop should
// sound. The window paints and plays what a pass returns.
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

#include "link/LiveData.h"
#include "platform/ColorRef.h"
#include "view/ViewLayout.h"

class RemoteConfiguration;

// Colours of an exceeded limit box: black on red.
inline constexpr COLORREF kAlarmedText = 0x000000;
inline constexpr COLORREF kAlarmedBack = 0x0000FF;

struct LimitBoxColors {
    COLORREF text = 0;
    COLORREF back = 0;
    bool operator==(const LimitBoxColors&) const = default;
};

// A slot's limit colour on black when nothing is exceeded. The agents'
// slots take the colour of the group that shows them.
COLORREF NormalLimitColor(int slot, uint16_t featureBits, uint8_t primaryAgent, uint8_t secondaryAgent);

// What one pass reads besides the settings.
struct AlarmInputs {
    std::array<int32_t, kParameterCount> numerics{};
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
    uint8_t primaryAgent = 0;
    uint8_t secondaryAgent = 0;
    uint8_t gasStatusSource = 0;  // gas-status byte 9: 1 gas flags, 2 gas-status byte 4
    uint8_t gasStatus4 = 0;       // gas-status byte 4
    uint8_t gasFlags0 = 0;        // first gas-flag byte of the live store
    // Limit boxes the layout made (index 2 x slot, +1 for the low box):
    // a side alarms only where its box exists.
    std::bitset<kLimitBoxCount> limitBoxes;
};

// The live values a pass needs, each read once; the boxes are the caller's.
AlarmInputs AlarmInputsFrom(const LiveData& live, const Relaxed<uint8_t> (&gasStatus)[kGasStatusSize],
                            const std::bitset<kLimitBoxCount>& limitBoxes);

// The event a pass stores at the ring's read frame (CEcgEvent::Init's
// arguments besides the live store).
struct AlarmEvent {
    uint8_t code = 0;          // 0x80 | slot high, 0x40 | slot low, '$' apnea
    int16_t limit = 0;         // the limit crossed, in the parameter's units
    uint8_t unitSelector = 0;  // UnitSelector of the slot (0 without a unit)
    uint8_t cuffSize = 0;      // of the patient's species
    bool operator==(const AlarmEvent&) const = default;
};

struct AlarmPass {
    // Colours of every limit box (index 2 x slot, +1 low); the apnea
    // indicator's are its own, black on red.
    std::array<LimitBoxColors, kLimitBoxCount> colors{};
    std::bitset<kLimitBoxCount> alarmed;  // boxes painted red
    bool apneaIndicator = false;          // show the "AP" box, else hide it
    std::optional<AlarmEvent> event;      // at most one, the lowest slot, high before low
    bool anyAlarmed = false;              // some limit box is red
    bool toneOn = false;                  // EnableAlarmTone's argument
};

// What ResetAlarmDisplay shows: which limit boxes are visible (as the
// relayout shows them: LimitBoxText) and every box in its normal colours.
struct AlarmReset {
    std::array<LimitBoxColors, kLimitBoxCount> colors{};
    std::bitset<kLimitBoxCount> visible;
    bool apneaIndicator = false;
};

class CAlarmEvaluator {
public:
    // One pass over the 24 slots; `species` is the patient's (a code
    // outside 0..3 counts as "Other").
    AlarmPass EvaluateAlarms(const AlarmInputs& in, const RemoteConfiguration& config, int32_t species);

    // Forgets every reported alarm and the apnea.
    AlarmReset ResetAlarmDisplay(const AlarmInputs& in, const RemoteConfiguration& config, int32_t species);

    bool Latched(int slot, bool high) const { return m_alarmLatched[slot][high ? 0 : 1] != 0; }
    bool ApneaDetected() const { return m_apneaDetected != 0; }
    bool ApneaSounding() const { return m_apneaSounding != 0; }

private:
    // Runs the apnea step; returns the event it chose, if any.
    std::optional<AlarmEvent> EvaluateApnea(const AlarmInputs& in, const RemoteConfiguration& config,
                                            int32_t species);

    int32_t m_alarmLatched[kParameterCount][2] = {};
    uint8_t m_apneaDetected = 0;
    uint8_t m_apneaSounding = 0;
};
