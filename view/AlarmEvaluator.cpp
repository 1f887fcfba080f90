#include "view/AlarmEvaluator.h"

#include <algorithm>
#include <limits>

#include "app/RemoteConfiguration.h"
#include "view/NumericFormat.h"

namespace {

constexpr uint8_t kGasSourceFlags = 1;
constexpr uint8_t kGasSourceStatus = 2;
constexpr uint8_t kApneaFlagBit = 0x02;    // first gas-flag byte
constexpr uint8_t kApneaStatusBit = 0x40;  // gas-status byte 4
constexpr int kApneaLowBox = kApneaIndicatorBox + 1;

// The "AP" box keeps the colours the layout gave it.
constexpr LimitBoxColors kApneaColors{kAlarmedText, kAlarmedBack};
constexpr LimitBoxColors kAlarmedColors{kAlarmedText, kAlarmedBack};

int16_t EventLimit(int32_t limit)
{
    return static_cast<int16_t>(std::clamp<int32_t>(limit, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

AlarmEvent MakeEvent(uint8_t code, int slot, int32_t limit, const RemoteConfiguration& config, int32_t species)
{
    AlarmEvent event;
    event.code = code;
    event.limit = EventLimit(limit);
    event.unitSelector = UnitSelector(slot, config);
    event.cuffSize = static_cast<uint8_t>(LoadRelaxed(config.cuffSize[LimitSpecies(species)]));
    return event;
}

std::array<LimitBoxColors, kLimitBoxCount> NormalColors(const AlarmInputs& in)
{
    std::array<LimitBoxColors, kLimitBoxCount> colors{};
    for (int slot = 0; slot < kParameterCount; ++slot) {
        const LimitBoxColors normal{NormalLimitColor(slot, in.featureBits, in.primaryAgent, in.secondaryAgent), 0};
        colors[2 * slot] = normal;
        colors[2 * slot + 1] = normal;
    }
    colors[kApneaIndicatorBox] = kApneaColors;
    colors[kApneaLowBox] = kApneaColors;
    return colors;
}

}  // namespace

COLORREF NormalLimitColor(int slot, uint16_t featureBits, uint8_t primaryAgent, uint8_t secondaryAgent)
{
    switch (slot) {
    case kParamHeartRate: return 0x59FF3C;
    case kParamTemperature: return 0xFFF7EA;
    case kParamRespRate: return (featureBits & kFeatureCO2) != 0 ? 0x03B1FC : 0x40FFFF;
    case kParamSpO2: return 0xFDFD2F;
    case kParamApnea:
    case kParamCO2Ins:
    case kParamCO2Exp: return 0x03B1FC;
    case kParamSystolic:
    case kParamDiastolic:
    case kParamMean: return 0x67C4FF;
    case kParamO2Ins:
    case kParamO2Exp: return 0xFC9283;
    case kParamN2OIns:
    case kParamN2OExp: return 0x85FAC8;
    default: break;
    }
    int agent = 0;
    if (slot >= kParamHalIns && slot <= kParamDesIns)
        agent = slot - kParamHalIns + 1;
    else if (slot >= kParamHalExp && slot <= kParamDesExp)
        agent = slot - kParamHalExp + 1;
    if (agent == 0)
        return 0x000000;
    if (agent == primaryAgent)
        return 0x67C44D;
    if (agent == secondaryAgent)
        return 0x313FEE;
    return 0x000000;
}

AlarmInputs AlarmInputsFrom(const LiveData& live, const Relaxed<uint8_t> (&gasStatus)[kGasStatusSize],
                            const std::bitset<kLimitBoxCount>& limitBoxes)
{
    AlarmInputs in;
    for (int slot = 0; slot < kParameterCount; ++slot)
        in.numerics[slot] = live.numerics[slot];
    in.featureBits = live.featureBits;
    in.deviceKind = live.deviceKind;
    in.primaryAgent = live.primaryAgent;
    in.secondaryAgent = live.secondaryAgent;
    in.gasStatusSource = gasStatus[9];
    in.gasStatus4 = gasStatus[4];
    in.gasFlags0 = live.gasFlags[0];
    in.limitBoxes = limitBoxes;
    return in;
}

AlarmPass CAlarmEvaluator::EvaluateAlarms(const AlarmInputs& in, const RemoteConfiguration& config, int32_t species)
{
    const AlarmLimit* limits = config.alarmLimits[LimitSpecies(species)];
    const bool alarmsOn = LoadRelaxed(config.alarms) != 0;
    AlarmPass pass;
    pass.colors = NormalColors(in);

    for (int slot = 0; slot < kParameterCount; ++slot) {
        if (slot == kParamApnea) {
            std::optional<AlarmEvent> apnea = EvaluateApnea(in, config, species);
            if (apnea && !pass.event)
                pass.event = apnea;
            continue;
        }
        const int32_t value = in.numerics[slot];
        const AlarmLimit& limit = limits[slot];
        for (const bool high : {true, false}) {
            const int box = 2 * slot + (high ? 0 : 1);
            int32_t& latch = m_alarmLatched[slot][high ? 0 : 1];
            const bool watched =
                in.limitBoxes.test(box) && LoadRelaxed(high ? limit.highEnable : limit.lowEnable) != 0;
            const int32_t bound = LoadRelaxed(high ? limit.high : limit.low);
            const bool exceeded = high ? value > bound : value < bound;
            // 0 or less is no value ("---"), never an alarm.
            if (!(watched && alarmsOn && value > 0 && exceeded)) {
                // A side no longer watched has no standing alarm either.
                latch = 0;
                continue;
            }
            pass.colors[box] = kAlarmedColors;
            pass.alarmed.set(box);
            pass.anyAlarmed = true;
            if (latch != 0)
                continue;
            latch = 1;
            if (!pass.event) {
                const uint8_t code = static_cast<uint8_t>((high ? CEcgEvent::kAlarmHigh : CEcgEvent::kAlarmLow) | slot);
                pass.event = MakeEvent(code, slot, bound, config, species);
            }
        }
    }

    pass.apneaIndicator = m_apneaDetected != 0;
    pass.toneOn = pass.anyAlarmed || m_apneaSounding != 0;
    return pass;
}

std::optional<AlarmEvent> CAlarmEvaluator::EvaluateApnea(const AlarmInputs& in, const RemoteConfiguration& config,
                                                         int32_t species)
{
    const AlarmLimit& limit = config.alarmLimits[LimitSpecies(species)][kParamApnea];
    // Apnea is a reading of the CO2 module: without one (or on a Brindle)
    // there is none to report, and none may keep the loop sounding.
    const bool monitored = (in.featureBits & kFeatureCO2) != 0 && in.deviceKind != kDeviceBrindle;
    if (!monitored || LoadRelaxed(limit.highEnable) == 0 || LoadRelaxed(config.alarms) == 0)
        m_apneaDetected = 0;
    else if (in.gasStatusSource == kGasSourceFlags)
        m_apneaDetected = (in.gasFlags0 & kApneaFlagBit) != 0 ? 1 : 0;
    else if (in.gasStatusSource == kGasSourceStatus)
        m_apneaDetected = (in.gasStatus4 & kApneaStatusBit) != 0 ? 1 : 0;
    // Any other source leaves the last finding standing.

    if (m_apneaDetected == 0) {
        m_alarmLatched[kParamApnea][0] = 0;
        m_apneaSounding = 0;
        return std::nullopt;
    }
    // Renewed on every pass: a snooze ends, the apnea still sounds.
    m_apneaSounding = 1;
    if (m_alarmLatched[kParamApnea][0] != 0)
        return std::nullopt;
    m_alarmLatched[kParamApnea][0] = 1;
    return MakeEvent(CEcgEvent::kApnea, kParamApnea, LoadRelaxed(limit.high), config, species);
}

AlarmReset CAlarmEvaluator::ResetAlarmDisplay(const AlarmInputs& in, const RemoteConfiguration& config,
                                              int32_t species)
{
    for (auto& sides : m_alarmLatched)
        sides[0] = sides[1] = 0;
    m_apneaDetected = 0;
    m_apneaSounding = 0;

    AlarmReset reset;
    reset.colors = NormalColors(in);
    // The same rule as the relayout of the limit boxes.
    for (int slot = 0; slot < kParameterCount; ++slot) {
        reset.visible.set(2 * slot, LimitBoxText(slot, true, species, config).visible);
        reset.visible.set(2 * slot + 1, LimitBoxText(slot, false, species, config).visible);
    }
    return reset;
}
