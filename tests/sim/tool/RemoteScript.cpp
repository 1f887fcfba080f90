#include "sim/tool/RemoteScript.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "sim/tool/RemoteButtons.h"

namespace {

// What a model measures, so that a value it cannot carry is refused.
struct Carries {
    bool spo2, resp, temp, bp, gas;
};

// A Selvo streams the waveform of one module, each message with frames of
// its own, and its temperature.
enum class SelvoModule { Ecg, SpO2, CO2 };

Carries CarriesOf(RemoteModel model, SelvoModule module)
{
    switch (model) {
    case RemoteModel::TarvikClassic: return {true, true, true, false, false};
    case RemoteModel::TarvikPlus: return {true, true, true, true, true};
    case RemoteModel::Moval: return {false, false, true, false, false};
    case RemoteModel::Selvo:
        return {module == SelvoModule::SpO2, module != SelvoModule::SpO2, true, false, module == SelvoModule::CO2};
    case RemoteModel::Brindle: break;
    }
    return {false, false, false, true, false};
}

std::optional<RemoteModel> ModelByName(const std::string& name)
{
    static const std::pair<const char*, RemoteModel> kNames[] = {
        {"tarvik", RemoteModel::TarvikClassic}, {"tarvikplus", RemoteModel::TarvikPlus},
        {"moval", RemoteModel::Moval},          {"selvo", RemoteModel::Selvo},
        {"brindle", RemoteModel::Brindle},
    };
    for (const auto& [text, model] : kNames)
        if (name == text)
            return model;
    return std::nullopt;
}

std::optional<double> Number(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || at != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

class ScriptReader {
public:
    ScriptReader(RemoteModel model, SelvoModule module)
        : m_model(model), m_module(module), m_carries(CarriesOf(model, module))
    {
        m_script.model = model;
    }

    // Applies one option; an error text when it is refused.
    std::string Apply(const std::string& option, const std::string& value);
    // Defaults that follow from other values and the checks across options.
    std::string Finish();
    RemoteScript& Script() { return m_script; }

private:
    // `value` as a number from lo to hi (a whole number when `whole`).
    std::string Read(const std::string& option, const std::string& value, double lo, double hi, bool whole,
                     double& out) const;
    std::string Lacks(const std::string& option, const char* what) const
    {
        static const char* const kModules[] = {"ECG", "SpO2", "CO2"};
        std::string text = option + ": a " + ModelName(m_model);
        if (m_model == RemoteModel::Selvo)
            text += std::string(" with the ") + kModules[int(m_module)] + " module (--selvo ecg|spo2|co2)";
        return text + " sends no " + what;
    }
    std::string ReadAgent(const std::string& value);
    std::string ReadDrop(const std::string& value);
    std::string ReadPress(const std::string& value);

    RemoteModel m_model;
    SelvoModule m_module;
    Carries m_carries;
    RemoteScript m_script;
    std::optional<double> m_heartRate, m_pulse, m_breathRate;
    bool m_agentGiven = false;
};

std::string ScriptReader::Read(const std::string& option, const std::string& value, double lo, double hi, bool whole,
                               double& out) const
{
    const std::optional<double> number = Number(value);
    if (!number || *number < lo || *number > hi || (whole && *number != std::floor(*number))) {
        auto text = [](double v) {
            std::string s = std::to_string(v);
            s.erase(s.find_last_not_of('0') + 1);
            if (s.back() == '.')
                s.pop_back();
            return s;
        };
        return option + ": \"" + value + "\" is not a " + (whole ? "whole " : "") + "number from " + text(lo) +
               " to " + text(hi);
    }
    out = *number;
    return {};
}

std::string ScriptReader::Apply(const std::string& option, const std::string& value)
{
    RemoteReport& r = m_script.report;
    double v = 0.0;
    std::string error;
    if (option == "--model" || option == "--selvo") {
        return {};
    } else if (option == "--link") {
        if (value.empty())
            return "--link: the path is empty";
        m_script.link = value;
    } else if (option == "--hr") {
        error = Read(option, value, 10, 400, false, v);
        m_heartRate = v;
    } else if (option == "--pulse") {
        if (!m_carries.spo2 && !m_carries.bp)
            return Lacks(option, "pulse rate");
        error = Read(option, value, 10, 400, true, v);
        m_pulse = v;
    } else if (option == "--spo2") {
        if (!m_carries.spo2)
            return Lacks(option, "SpO2");
        error = Read(option, value, 1, 100, true, v);
        r.spo2 = uint16_t(v);
    } else if (option == "--rr") {
        if (!m_carries.resp)
            return Lacks(option, "respiration");
        error = Read(option, value, 2, 120, false, v);
        m_breathRate = v;
    } else if (option == "--temp") {
        if (!m_carries.temp)
            return Lacks(option, "temperature");
        error = Read(option, value, 32, 130, false, v);
        r.temperature = int16_t(std::lround(v * 100.0));
    } else if (option == "--sys" || option == "--dia" || option == "--map") {
        if (!m_carries.bp)
            return Lacks(option, "blood pressure");
        error = Read(option, value, 1, 300, true, v);
        (option == "--sys" ? r.systolic : option == "--dia" ? r.diastolic : r.mean) = uint16_t(v);
    } else if (option == "--co2") {
        if (!m_carries.gas)
            return Lacks(option, "gases");
        error = Read(option, value, 0.1, 10, false, v);
        r.co2 = uint8_t(std::lround(v * 10.0));
    } else if (option == "--o2") {
        if (!m_carries.gas)
            return Lacks(option, "gases");
        error = Read(option, value, 7, 100, true, v);
        r.o2 = uint8_t(v);
    } else if (option == "--agent") {
        if (!m_carries.gas)
            return Lacks(option, "gases");
        error = ReadAgent(value);
    } else if (option == "--battery") {
        error = Read(option, value, 0, 7, true, v);
        r.battery = int(v);
    } else if (option == "--notch") {
        if (value != "50" && value != "60")
            return "--notch: \"" + value + "\" is neither 50 nor 60";
        r.notch = value == "60";
    } else if (option == "--notch-retry") {
        error = Read(option, value, 0, 100, true, v);
        m_script.notchRetries = int(v);
    } else if (option == "--drop-at") {
        error = ReadDrop(value);
    } else if (option == "--press") {
        error = ReadPress(value);
    } else if (option == "--duration") {
        error = Read(option, value, 0.1, 1e6, false, v);
        m_script.duration = v;
    } else {
        return option + ": no such option (--help lists them)";
    }
    return error;
}

std::string ScriptReader::ReadAgent(const std::string& value)
{
    static const char* const kAgents[] = {"halothane", "enflurane", "isoflurane", "sevoflurane", "desflurane"};
    static const double kMaxPercent[] = {5.0, 5.0, 5.0, 8.0, 18.0};  // what the PC shows at most
    const std::vector<std::string> parts = Split(value, ':');
    if (parts.size() != 2)
        return "--agent: \"" + value + "\" is not NAME:PERCENT";
    for (int i = 0; i < 5; ++i) {
        const std::string name = kAgents[i];
        if (parts[0].size() < 3 || name.rfind(parts[0], 0) != 0)
            continue;
        double v = 0.0;
        if (std::string error = Read("--agent " + name, parts[1], 0.1, kMaxPercent[i], false, v); !error.empty())
            return error;
        m_script.report.agent = uint8_t(i + 1);
        m_script.report.agentLevel = uint8_t(std::lround(v * 10.0));
        m_agentGiven = true;
        return {};
    }
    return "--agent: \"" + parts[0] + "\" is none of halothane, enflurane, isoflurane, sevoflurane, desflurane";
}

std::string ScriptReader::ReadDrop(const std::string& value)
{
    const std::vector<std::string> parts = Split(value, ':');
    if (parts.size() < 2 || parts.size() > 3 || (parts.size() == 3 && parts[2] != "hangup" && parts[2] != "silent"))
        return "--drop-at: \"" + value + "\" is not T:D, T:D:silent or T:D:hangup";
    ScheduledDrop drop;
    if (std::string error = Read("--drop-at", parts[0], 0, 1e6, false, drop.at); !error.empty())
        return error;
    if (std::string error = Read("--drop-at", parts[1], 0.1, 3600, false, drop.span); !error.empty())
        return error;
    drop.hangUp = parts.size() == 3 && parts[2] == "hangup";
    m_script.drops.push_back(drop);
    return {};
}

std::string ScriptReader::ReadPress(const std::string& value)
{
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos)
        return "--press: \"" + value + "\" is not T:BUTTON or T:CODE";
    ScheduledPress press;
    press.name = value.substr(colon + 1);
    if (std::string error = Read("--press", value.substr(0, colon), 0, 1e6, false, press.at); !error.empty())
        return error;
    if (const std::optional<uint16_t> code = ButtonStateCode(m_model, press.name)) {
        press.stateCode = *code;
    } else {
        // A raw state code as the model sends it: six bits on a Moval.
        double raw = 0.0;
        const double highest = m_model == RemoteModel::Moval ? 63 : 65535;
        if (!Number(press.name) || !Read("--press", press.name, 1, highest, true, raw).empty())
            return "--press: a " + ModelName(m_model) + " has no \"" + press.name +
                   "\" button (its buttons: " + ButtonNames(m_model) + "; or a state code from 1 to " +
                   std::to_string(int(highest)) + ")";
        press.stateCode = uint16_t(raw);
    }
    m_script.presses.push_back(press);
    return {};
}

std::string ScriptReader::Finish()
{
    RemoteReport& r = m_script.report;
    if ((r.o2 != 0 || m_agentGiven) && r.co2 == 0)
        return std::string(r.o2 != 0 ? "--o2" : "--agent") + " needs --co2: the gas module comes with the capnograph";
    if (m_model == RemoteModel::Selvo) {
        static const uint16_t kFeatures[] = {0x0B, 0x0C, 0x28};  // with temperature
        if (m_module == SelvoModule::CO2 && r.co2 == 0)
            r.co2 = 48;
        r.features = uint16_t(kFeatures[int(m_module)] | (r.o2 != 0 ? 0x40 : 0));
    }
    // One heart: the pulse rates follow the ECG unless given.
    r.heartRate = m_heartRate.value_or(120.0);
    r.pulse = r.bpPulse = uint16_t(std::lround(m_pulse.value_or(r.heartRate)));
    r.breathRate = m_breathRate.value_or(20.0);
    auto byTime = [](const auto& a, const auto& b) { return a.at < b.at; };
    std::stable_sort(m_script.drops.begin(), m_script.drops.end(), byTime);
    std::stable_sort(m_script.presses.begin(), m_script.presses.end(), byTime);
    for (std::size_t i = 1; i < m_script.drops.size(); ++i) {
        const ScheduledDrop& before = m_script.drops[i - 1];
        if (before.at + before.span > m_script.drops[i].at)
            return "--drop-at: the drop at " + std::to_string(m_script.drops[i].at) +
                   " s begins before the one before it has ended";
    }
    return {};
}

}  // namespace

std::string ModelName(RemoteModel model)
{
    switch (model) {
    case RemoteModel::TarvikClassic: return "Tarvik";
    case RemoteModel::TarvikPlus: return "Tarvik Plus";
    case RemoteModel::Moval: return "Moval";
    case RemoteModel::Selvo: return "Selvo";
    case RemoteModel::Brindle: break;
    }
    return "BP-Brindle";
}

ParsedScript ParseRemoteScript(const std::vector<std::string>& args)
{
    ParsedScript parsed;
    std::vector<std::pair<std::string, std::string>> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            parsed.help = true;
            return parsed;
        }
        if (arg.rfind("--", 0) != 0) {
            parsed.error = "\"" + arg + "\": options begin with -- (--help lists them)";
            return parsed;
        }
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            options.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            options.emplace_back(arg, args[++i]);
        } else {
            parsed.error = arg + " needs a value";
            return parsed;
        }
    }
    std::optional<RemoteModel> model;
    for (const auto& [option, value] : options) {
        if (option != "--model")
            continue;
        model = ModelByName(value);
        if (!model) {
            parsed.error = "--model: \"" + value + "\" is none of tarvik, tarvikplus, moval, selvo, brindle";
            return parsed;
        }
    }
    if (!model) {
        parsed.error = "--model is needed: tarvik, tarvikplus, moval, selvo or brindle";
        return parsed;
    }
    SelvoModule module = SelvoModule::Ecg;
    for (const auto& [option, value] : options) {
        if (option != "--selvo")
            continue;
        if (*model != RemoteModel::Selvo) {
            parsed.error = "--selvo: the module of a Selvo, not of a " + ModelName(*model);
            return parsed;
        }
        if (value != "ecg" && value != "spo2" && value != "co2") {
            parsed.error = "--selvo: \"" + value + "\" is none of ecg, spo2, co2";
            return parsed;
        }
        module = value == "ecg" ? SelvoModule::Ecg : value == "spo2" ? SelvoModule::SpO2 : SelvoModule::CO2;
    }
    ScriptReader reader(*model, module);
    for (const auto& [option, value] : options) {
        parsed.error = reader.Apply(option, value);
        if (!parsed.error.empty())
            return parsed;
    }
    parsed.error = reader.Finish();
    if (parsed.error.empty())
        parsed.script = std::move(reader.Script());
    return parsed;
}

std::string RemoteUsage()
{
    return R"(usage: sim_remote --model MODEL [options]

Plays a remote on a pseudo-terminal: its data, its answers to the PC's
set-up, scheduled drops and button presses. Prints, with the time in
seconds, every command the PC sends and everything it plays. Ctrl-C ends it.

  --model M          tarvik, tarvikplus, moval, selvo or brindle
  --selvo MODULE     the Selvo's waveform: ecg (with impedance), spo2 or co2,
                     each with the temperature (default ecg)
  --link PATH        a symbolic link to the line (replaced, removed at the end);
                     point [PortMap] COMn at its absolute path
  --duration S       end after S seconds (default: run until stopped)

What the remote measures (a value the model does not send is refused):
  --hr BPM           heart rate in the ECG and the pulse rates (120)
  --pulse BPM        SpO2 and blood-pressure pulse rate (the --hr)
  --spo2 PCT         SpO2 (97)
  --rr BPM           breaths per minute in the impedance and capnogram (20)
  --temp F           temperature in degrees Fahrenheit (101.5)
  --sys/--dia/--map MMHG   blood pressure (121/79/93)
  --co2 PCT          expired CO2: adds the gas module (Tarvik Plus; 4.8 on a
                     Selvo with the co2 module)
  --o2 PCT           expired O2, with --co2
  --agent NAME:PCT   identified agent (halothane ... desflurane), with --co2
  --battery N        battery level 0..7 in the status word

The link and the set-up:
  --notch 50|60      the mains filter each link starts with (50)
  --notch-retry N    ignore the first N "sl 50"/"sl 60" of each link
  --drop-at T:D[:hangup]   at T s go silent (or hang up: the line and the
                     link go away) for D s, then come back; repeatable
  --press T:BUTTON   at T s send a button as the model does: up, down,
                     select, silence, mark, freeze, print, review, gain,
                     record, bp, trend, sweep (those the model has), or
                     T:CODE, a raw state code; repeatable

A link begins when the PC opens the port: the remote sends its opening
(product message, or the Moval's prompt) and streams until the PC closes it.
)";
}
