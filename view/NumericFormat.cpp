#include "view/NumericFormat.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

#include "app/RemoteConfiguration.h"
#include "app/ValueHelpers.h"
#include "link/AgentCodes.h"
#include "link/LiveData.h"
#include "view/ViewLayout.h"

namespace {

constexpr char kNoValue[] = "---";

// Converts limits in tenths of a per cent to mmHg at the standard
// atmosphere, whatever the live ambient pressure.
constexpr double kLimitMmHgPerPercent = 7.599375;

int UnitOf(int slot)
{
    switch (slot) {
    case kParamTemperature: return kUnitTemp;
    case kParamCO2Ins:
    case kParamCO2Exp: return kUnitCO2;
    case kParamO2Ins:
    case kParamO2Exp: return kUnitO2;
    case kParamN2OIns:
    case kParamN2OExp: return kUnitN2O;
    default: break;
    }
    if (slot >= kParamHalIns && slot <= kParamDesIns)
        return slot - kParamHalIns + 1;
    if (slot >= kParamHalExp && slot <= kParamDesExp)
        return slot - kParamHalExp + 1;
    return kUnitNone;
}

// Agent code 1..5 of an agent slot, 0 for any other slot.
int AgentOf(int slot)
{
    if (slot >= kParamHalIns && slot <= kParamDesIns)
        return slot - kParamHalIns + 1;
    if (slot >= kParamHalExp && slot <= kParamDesExp)
        return slot - kParamHalExp + 1;
    return 0;
}

bool Native(int slot, const RemoteConfiguration& config)
{
    const int unit = UnitOf(slot);
    return unit != kUnitNone && LoadRelaxed(config.units[unit]) != 0;
}

// Truncated towards zero; a remote's NaN is no value and the 32-bit range
// saturates, instead of an undefined conversion.
int32_t Truncated(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t InRange(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high ? value : 0;
}

int32_t GasValue(int32_t value, bool native, float ambientPressure)
{
    return native ? value : Truncated(value * 0.75 * ambientPressure);
}

std::string GasCaption(const std::string& name, bool native)
{
    return name + (native ? " (%)" : " (mmHg)");
}

const char* HeartRateCaption(uint8_t source)
{
    switch (source) {
    case 0: return "  HR (bpm) - from ECG";
    case 1: return "  PR (bpm) - from SpO2";
    case 2: return "  PR (bpm) - from BP";
    default: return nullptr;
    }
}

} // namespace

std::string ValueText(int slot, int32_t value, bool hasDecimals)
{
    if (hasDecimals) {
        if (value <= 0)
            return kNoValue;
        // Held as a float on purpose: 3755 shows "37.5", since 37.55f lies
        // just below 37.55.
        const float shown = static_cast<float>(value) / (slot == kParamTemperature ? 100.0f : 10.0f);
        return FormatPlainOneDecimal(shown);
    }
    const int32_t minimum = slot == kParamRespRate ? 1 : 10;
    if (value < minimum)
        return kNoValue;
    return std::to_string(value);
}

uint8_t UnitSelector(int slot, const RemoteConfiguration& config)
{
    return Native(slot, config) ? 1 : 0;
}

int32_t LimitSpecies(int32_t species)
{
    return species >= 0 && species < kSpeciesCount ? species : kSpeciesCount - 1;
}

LimitBoxUpdate LimitBoxText(int slot, bool high, int32_t species, const RemoteConfiguration& config)
{
    LimitBoxUpdate update;
    if (slot < 0 || slot >= kParameterCount)
        return update;
    const AlarmLimit& limit = config.alarmLimits[LimitSpecies(species)][slot];
    const int32_t enable = LoadRelaxed(high ? limit.highEnable : limit.lowEnable);
    // Any enable but 0 watches the limit (the alarm check reads it so), so
    // a limit that can alarm always has its box shown.
    if (enable == 0 || LoadRelaxed(config.alarms) == 0)
        return update;
    const int32_t value = LoadRelaxed(high ? limit.high : limit.low);
    std::string text;
    if (slot == kParamTemperature) {
        double degrees = value / 10.0;
        if (!Native(slot, config))
            degrees = (degrees - 32.0) * 0.5555555555555556;
        FormatOneDecimal(text, static_cast<float>(degrees));
    } else if (slot == kParamApnea) {
        update.text = "Ap";
        return update;
    } else if (slot >= kParamCO2Ins) {
        double percent = value / 10.0;
        if (!Native(slot, config))
            percent *= kLimitMmHgPerPercent;
        FormatOneDecimal(text, static_cast<float>(percent));
    } else {
        text = std::to_string(value);
    }
    update.visible = true;
    update.text = std::move(text);
    return update;
}

SlotInputs SlotInputsFrom(const LiveData& live)
{
    SlotInputs in;
    in.featureBits = live.featureBits;
    in.deviceKind = live.deviceKind;
    in.heartRateSource = live.heartRateSource;
    in.ambientPressure = live.ambientPressure;
    in.primaryAgent = live.primaryAgent;
    in.secondaryAgent = live.secondaryAgent;
    return in;
}

SlotDisplay SlotRule(int slot, int32_t value, const SlotInputs& live, const RemoteConfiguration& config,
                     bool primaryGatesOnly)
{
    SlotDisplay d;
    const uint16_t f = live.featureBits;
    const bool selvo = live.deviceKind == kDeviceSelvo && !primaryGatesOnly;
    const bool gasModule = live.deviceKind != kDeviceBrindle;
    const bool native = Native(slot, config);
    switch (slot) {
    case kParamHeartRate:
        d.gateOpen = HasFeatureBit(f, 0) || (selvo && HasFeatureBit(f, 2));
        if (const char* caption = HeartRateCaption(live.heartRateSource))
            d.captions.push_back({kGroupHeartRate, caption});
        d.value = InRange(value, 1, 800);
        break;
    case kParamTemperature:
        d.gateOpen = HasFeatureBit(f, 3);
        d.captions.push_back({kGroupTemperature, native ? "  TEMP (\u00B0F)" : "  TEMP (\u00B0C)"});
        // 0 or less stays no value: a missing reading converts below zero.
        d.value = native ? Truncated(value * 10.0) : Truncated((value - 320.0) * 50.0 / 9.0);
        d.hasDecimals = true;
        break;
    case kParamRespRate:
        d.gateOpen = HasFeatureBit(f, 1) || (selvo && HasFeatureBit(f, 5));
        d.captions.push_back({kGroupRespiration, HasFeatureBit(f, 5) ? "  RR (bpm) from CO2" : "  RR (bpm) from ECG"});
        d.value = InRange(value, 1, 200);
        break;
    case kParamSpO2:
        d.gateOpen = HasFeatureBit(f, 2);
        d.value = InRange(value, 1, 100);
        break;
    case kParamSystolic:
    case kParamDiastolic:
    case kParamMean:
        d.gateOpen = HasFeatureBit(f, 4);
        d.value = InRange(value, 1, 300);
        break;
    case kParamCO2Ins:
    case kParamCO2Exp:
        d.gateOpen = HasFeatureBit(f, 5) && gasModule;
        if (slot == kParamCO2Ins)
            d.captions.push_back({kGroupCO2, GasCaption("  CO2", native)});
        break;
    case kParamO2Ins:
    case kParamO2Exp:
        d.gateOpen = HasFeatureBit(f, 6) && gasModule;
        if (slot == kParamO2Ins)
            d.captions.push_back({kGroupO2, GasCaption("   O2", native)});
        break;
    case kParamN2OIns:
    case kParamN2OExp:
        d.gateOpen = HasFeatureBit(f, 7) && LoadRelaxed(config.showN2O) != 0;
        if (slot == kParamN2OIns)
            d.captions.push_back({kGroupN2O, GasCaption("  N2O", native)});
        break;
    default:
        if (const int agent = AgentOf(slot); agent != 0) {
            const bool primary = live.primaryAgent == agent && HasFeatureBit(f, 8);
            const bool secondary = live.secondaryAgent == agent && HasFeatureBit(f, 9);
            d.gateOpen = primary || secondary;
            if (slot <= kParamDesIns) {
                if (primary)
                    d.captions.push_back({kGroupPrimaryAgent, GasCaption(std::string("  ") + AgentName(agent), native)});
                if (secondary)
                    d.captions.push_back({kGroupSecondaryAgent, GasCaption(std::string("  ") + AgentName(agent), native)});
            }
        }
        break;
    }
    if (!d.gateOpen)
        return {};
    if (slot >= kParamCO2Ins) {
        d.value = GasValue(value, native, live.ambientPressure);
        d.hasDecimals = true;
    }
    return d;
}

const char* BpErrorText(int code)
{
    static constexpr const char* kTexts[] = {
        "EC 1 Weak or no oscillometric signal\n\nCorrective Action: Check that the cuff is in the correct position.\nCheck the patient.\nCheck that the cuff is properly tightened.\nCheck that there is no obstruction between the limb and the cuff.\nCheck that the correct size cuff is being applied.\n",
        "EC 2 Artifact / erratic oscillometric signal\n\nCorrective Action: The patient may have been moving too much.\nCheck that the cuff is in the correct position.\nCheck that the correct size cuff is being applied.",
        "EC 3 Exceeded retry count\n\nCorrective Action: The patient may have been moving too much.\nCheck that the cuff is properly tightened.\nCheck that the cuff is in the correct position.\nCheck that the correct size cuff is being applied.\nCheck that there is no obstruction between the limb and the cuff.",
        "EC 4 Exceeded measurement time limit\n\nCorrective Action: The patient may have been moving too much.\nCheck that the cuff is properly tightened.\nCheck that the cuff is in the correct position.\nCheck that the correct size cuff is being applied.\nCheck that there is no obstruction between the limb and the cuff.",
        "EC 85 Pneumatic Blockage\n\nCorrective Action: Check that the hose has no sharp bends or is pinched.\nCheck that the patient is not lying on the cuff.\nCheck that the cuff is in the correct position.",
        "EC 86 BP reading terminated by user\n\nCorrective Action: Check the patient.\nTake another BP reading.",
        "EC 87 Inflate Timeout, Air Leak or Loose Cuff\n\nCorrective Action: Check that the hose is connected to the system and the cuff.\nCheck that the cuff is properly tightened.\nCheck that the cuff is in the correct position.\nCheck that the correct size cuff is being applied.\nCheck that the cuff is not leaking air.\nCheck that the hose connections are not damaged or loose.",
        "EC 88 Safety Timeout\n\nCorrective Action: Check the patient.\nTo reset the safety timer and continue taking BP measurements, perform\nthe instructions in section 5.5 or cycle the logic power to the module.\nCheck that the cuff is in the correct position.\nThe patient may have been moving too much.\nTake another BP reading.",
        "EC 89 Cuff Overpressure\n\nCorrective Action: Check that the correct size cuff is being applied.\nCheck that the hose has no sharp bends or is pinched.\nCheck that the cuff is in the correct position.\nCheck that the patient is not lying on the cuff.",
        "EC 90 Power supply out of range or other hardware problem\n\nCorrective Action: Check that Vpump and Vlogic are within the voltage specifications.\nCheck the data/power input connection.\nService may be required.",
        "EC 91 Permission problem such as safety override fitted or autozero out of range\n\nCorrective Action: Check that LK1 jumper is not fitted.\nMake sure proper command was sent to module.\nService may be required.",
        "EC 97 Transducer out of range\n\nCorrective Action: If possible, perform calibration described in section 6.\nService may be required.",
        "EC 98 ADC out of range\n\nCorrective Action: Service may be required.",
        "EC 99 EEPROM calibration data failure\n\nCorrective Action: If possible, perform calibration described in section 6.\nService may be required.",
    };
    constexpr int kCodes = static_cast<int>(std::size(kTexts));
    if (code == 0)
        return nullptr;
    if (code >= 1 && code <= kCodes)
        return kTexts[code - 1];
    return "Unknown BP module error\n\nCorrective Action: Service may be required.";
}

bool ParameterPresent(int slot, const LiveData& live, const RemoteConfiguration& config)
{
    return SlotRule(slot, 0, SlotInputsFrom(live), config).gateOpen;
}
