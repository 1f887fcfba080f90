#include "view/GasProbe.h"

#include <array>
#include <cstdio>

#include "app/RemoteConfiguration.h"
#include "link/RemoteCommands.h"
#include "view/NumericFormat.h"

namespace {

bool Bit(uint8_t byte, int bit)
{
    return (byte >> bit & 1) != 0;
}

// The first set bit of F1 says why the readings are out of range.
constexpr std::array<const char*, 8> kRangeReasons = {
    "CO2 outside specified accuracy range.\n",
    "N2O outside specified accuracy range.\n",
    "At least one agent outside specified accuracy range.\n",
    "O2 outside specified accuracy range.\n",
    "Internal temperature outside operating range.\n",
    "Ambient pressure outside operating range.\n",
    "Negative gas concentrations calculated.\n                Zero reference calibration may be required.\n",
    "Invalid Agent ID. Call service\n",
};

std::string TypeOneMessage(const GasStatusInputs& in)
{
    const uint8_t f0 = in.flags[0];
    const uint8_t f1 = in.flags[1];
    const uint8_t f2 = in.flags[2];
    const bool line = in.samplingLine;
    std::string text;
    if (Bit(f0, 2))
        text += "O2 sensor has low sensitivity and will soon need to be replaced.";
    if (Bit(f0, 3))
        text += "Please replace O2 sensor.\n";
    if (Bit(f0, 4)) {
        text += line ? "Please check sampling line:\n" : "Please check airway adaptor:\n";
        if (Bit(f2, 0))
            text += line ? "--- Sampling line clogged.\n" : "--- Replace airway adapter (IR signal low).\n";
        if (Bit(f2, 1))
            text += line ? "--- No sampling line detected.\n     Please connect line.\n"
                         : "--- No airway adapter detected.\n     Please connect adapter (IR signal high).\n";
        if (Bit(f2, 2) && !line)
            text += "--- O2 port failure (clogged or plugged).";
    }
    if (Bit(f0, 5)) {
        text += "Service required: At least one parameter is out of range.\n"
                "Accuracy of current gas readings can not be guaranteed.\n\nReason:   ";
        const char* reason = "Unknown\n";
        for (int bit = 0; bit < 8; ++bit) {
            if (Bit(f1, bit)) {
                reason = kRangeReasons[static_cast<std::size_t>(bit)];
                break;
            }
        }
        text += reason;
    }
    if (Bit(f0, 6)) {
        if (Bit(f2, 3))
            text += "Gas sensor software error.\nPlease disconnect and then reconnect the gas sensor.";
        if (Bit(f2, 4))
            text += "Gas sensor hardware error.\nSensor may require replacement.";
        if (Bit(f2, 5))
            text += "Gas sensor motor speed out of bounds.\nCall for service.";
        if (Bit(f2, 6))
            text += "Gas sensor's factory calibration lost or missing.\nCall for service.";
        if (Bit(f2, 7) && line)
            text += "O2 sensor error.\nCall for service.";
    }
    if (Bit(f0, 7)) {
        if (line) {
            text += "Span calibration of O2 measurement required.\n\n";
        } else {
            text += "Room air calibration of O2 measurement required.\n\n"
                    "1. Leave gas probe connected to Tarvik+.\n"
                    "2  Remove airway adapter from the gas probe.\n"
                    "3. Wait for LED on gas probe to start blinking red.\n"
                    "4. Put the airway adapter back in the gas probe.\n"
                    "5. Wait for LED on gas probe to turn green.\n"
                    "6. Exit Quorin and reconnect to Tarvik+ remote.\n";
        }
    }
    return text;
}

const char* TypeTwoMessage(uint8_t code)
{
    switch (code) {
    case 1:
        return "CO2 sensor over temperature.\n\n"
               "--- The sensor temperature is greater than 40 \u00b0C.\n"
               "--- Make sure sensor is not exposed to extreme heat (heat lamp, etc.).\n"
               "      If error persists, call for service.\n";
    case 2:
        return "Sensor Faulty.\n\n"
               "--- An internal sensor error has occured.\n"
               "--- Check that the sensor is properly plugged in.\n"
               "      Unplug and reinsert the sensor.\n"
               "      If error persists, call for service.\n";
    case 7:
        return "Zero Required.\n\n"
               "--- To clear, check airway adapter and clean if necessary.\n"
               "--- If this does not correct the error, perform an adapter zero by\n"
               "      using the Tools->Zero CO2 Probe menu item.\n";
    case 8:
        return "CO2 out of Range.\n\n"
               "--- The value being calculated is greater than the upper CO2 limit.\n"
               "--- If error persists, perform a zero by\n"
               "      using the Tools->Zero CO2 Probe menu item.\n";
    case 9:
        return "Check Airway Adapter.\n\n"
               "--- Usually caused when the airway adapter is removed from\n"
               "      the Capnostat or when there is an optical blockage on\n"
               "      the windows of the airway adapter.\n"
               "--- May also be caused by failure to perform Capnostat zero\n"
               "      when adapter type is changed.\n"
               "--- To clear, clean airway adapter if mucus or moisture is seen.\n"
               "--- If the adapter is clean, perform a Capnostat zero using the\n"
               "      Tools->Zero CO2 probe menu item.\n";
    case 10:
        return "Check Sampling Line.\n\n"
               "--- Pneumatic pressure is outside the expected range.\n"
               "--- Check that the sampling line is not occluded or kinked.\n";
    default:
        return "";
    }
}

}  // namespace

std::vector<std::string> GasModulePolls(int32_t species, uint16_t featureBits, uint8_t gasModuleKind,
                                        const RemoteConfiguration& config)
{
    std::vector<std::string> polls;
    const AlarmLimit& apnea = config.alarmLimits[LimitSpecies(species)][kParamApnea];
    polls.push_back(FormatRpCommand(kCmdRp1Verb, LoadRelaxed(apnea.high)));
    if ((featureBits & kFeatureO2) == 0) {
        switch (LoadRelaxed(config.o2Environment)) {
        case 1: polls.emplace_back(kCmdRp4_50); break;
        case 2: polls.emplace_back(kCmdRp4_85); break;
        default: polls.emplace_back(kCmdRp4_21); break;
        }
    }
    switch (gasModuleKind) {
    case 0:
    case 1: polls.push_back(FormatRpCommand(kCmdRp02Verb, gasModuleKind)); break;
    case 2: polls.push_back(FormatRpCommand(kCmdRp02Verb, LoadRelaxed(config.primaryAgent))); break;
    default: break;
    }
    return polls;
}

GasStatusInputs ReadGasStatus(const LiveData& live, const Relaxed<uint8_t> (&gasStatus)[kGasStatusSize])
{
    GasStatusInputs in;
    in.moduleType = gasStatus[9];
    for (int i = 0; i < 3; ++i)
        in.flags[i] = live.gasFlags[i];
    in.samplingLine = live.co2ProbeState != 0;
    for (int i = 0; i < 4; ++i)
        in.status[i] = gasStatus[4 + i];
    in.code = gasStatus[8];
    return in;
}

GasProbeText BuildGasProbeText(const GasStatusInputs& in)
{
    GasProbeText out;
    if (in.moduleType == 1) {
        out.message = TypeOneMessage(in);
    } else if (in.moduleType == 2) {
        char line[64];
        std::snprintf(line, sizeof line, "--- Status: %02x %02x %02x %02x\n", in.status[0], in.status[1],
                      in.status[2], in.status[3]);
        out.statusLine = line;
        out.message = TypeTwoMessage(in.code);
    }
    return out;
}

std::string CGasProbeArming::Take(const std::string& message)
{
    if (!m_armed || message.empty())
        return {};
    m_armed = false;
    return message;
}

GasTimerActions OnGasTimer(const GasTimerInputs& in, const RemoteConfiguration& config, CGasProbeArming& arming)
{
    GasTimerActions out;
    if ((in.featureBits & kFeatureCO2) == 0) {
        out.timer.kind = TimerCommand::Kind::kKill;
        return out;
    }
    if (in.pollRequested && !in.demo) {
        out.polls = GasModulePolls(in.species, in.featureBits, in.gasModuleKind, config);
        out.clearPollRequest = true;
    }
    if (!arming.Armed() || !in.dataFlows || in.demo || in.deviceKind == kDeviceBrindle)
        return out;
    GasProbeText text = BuildGasProbeText(in.status);
    out.statusLine = std::move(text.statusLine);
    out.message = arming.Take(text.message);
    return out;
}
