// The texts of the printed report: the practice block, the values and the
// patient with the recording settings.
#include <cstdio>

#include "recording/PrintEpisode.h"
#include "view/PrintReport.h"
#include "view/ViewTexts.h"

namespace {

std::string Format(const char* format, double a, double b)
{
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

bool Native(const RemoteConfiguration& config, int unit)
{
    return LoadRelaxed(config.units[unit]) != 0;
}

std::string GasText(const PrintValues& v, const RemoteConfiguration& config, int inspired, int expired, int unit)
{
    const bool percent = Native(config, unit);
    const int16_t ins = v.numerics[std::size_t(inspired)];
    const int16_t exp = v.numerics[std::size_t(expired)];
    if (exp == 0)
        return percent ? "---,  --- (%)" : "---,  --- (mmHg)";
    if (percent)
        return Format("%3.1f,  %3.1f (%%)", ins / 10.0, exp / 10.0);
    const double factor = 0.075 * double(v.ambientPressure);
    return Format("%3.1f,  %3.1f (mmHg)", ins * factor, exp * factor);
}

std::string TemperatureText(int16_t value, bool fahrenheit)
{
    if (value == 0)
        return fahrenheit ? "--- (\u00B0F)" : "--- (\u00B0C)";
    char text[48];
    if (fahrenheit)
        std::snprintf(text, sizeof text, "%3.1f (\u00B0F)", value / 10.0);
    else
        std::snprintf(text, sizeof text, "%3.1f (\u00B0C)", (value - 320) * 5.0 / 90.0);
    return text;
}

const char* ModelName(int32_t kind)
{
    static constexpr const char* kNames[] = {"Tarvik", "Tarvik+", "Moval", "Selvo", "BP-Brindle"};
    return kind >= kDeviceTarvik && kind <= kDeviceBrindle ? kNames[kind - 1] : "";
}

}  // namespace

PrintValues PrintValues::FromLive(const LiveData& live)
{
    PrintValues v;
    v.deviceKind = live.deviceKind;
    v.featureBits = live.featureBits;
    v.heartRateSource = live.heartRateSource;
    for (int i = 0; i < kParameterCount; ++i)
        v.numerics[std::size_t(i)] = live.numerics[i];
    v.primaryAgent = live.primaryAgent;
    v.ambientPressure = live.ambientPressure;
    v.dental = live.dentalScalarRejection == 1;
    return v;
}

std::vector<std::string> PracticeLines(const RemoteConfiguration& config)
{
    std::vector<std::string> lines{config.clinic};
    if (!config.address1.empty())
        lines.push_back(config.address1);
    if (!config.address2.empty())
        lines.push_back(config.address2);
    lines.push_back(config.city + (config.state.empty() ? " " : ", " + config.state + " ") + config.zip);
    lines.push_back(config.phone);
    lines.push_back(config.email);
    return lines;
}

PrintLines ValueLines(const PrintValues& v, const RemoteConfiguration& config)
{
    PrintLines lines;
    lines.emplace_back("Norq Remote: ", ModelName(v.deviceKind));

    static constexpr const char* kRateLabels[] = {"HR from ECG:", "PR from SpO2:", "PR from BP:"};
    const int16_t rate = v.numerics[kParamHeartRate];
    lines.emplace_back(kRateLabels[v.heartRateSource <= 2 ? v.heartRateSource : 0],
                       rate >= 1 && rate <= 800 ? std::to_string(rate) + " (bpm)" : "---");

    const bool brindle = v.deviceKind == kDeviceBrindle;
    if ((v.featureBits & kFeatureNibp) != 0) {
        const int16_t sys = v.numerics[kParamSystolic];
        lines.emplace_back("BP [Sys, Dia,  MAP]: ",
                           sys != 0 ? std::to_string(sys) + ",  " + std::to_string(v.numerics[kParamDiastolic]) +
                                          ",  " + std::to_string(v.numerics[kParamMean]) + " (mmHg)"
                                    : "---,  ---,  --- (mmHg)");
    }
    if ((v.featureBits & kFeatureSpO2) != 0) {
        const int16_t spo2 = v.numerics[kParamSpO2];
        lines.emplace_back("SpO2: ", spo2 != 0 ? std::to_string(uint16_t(spo2)) + " (%)" : "--- (%)");
    }
    if ((v.featureBits & kFeatureResp) != 0) {
        const int16_t resp = v.numerics[kParamRespRate];
        lines.emplace_back("Respiration Rate: ", resp != 0 ? std::to_string(uint16_t(resp)) + " (bpm)" : "--- (bpm)");
    }
    if ((v.featureBits & kFeatureCO2) != 0 && !brindle)
        lines.emplace_back("CO2 [Ins, Exp]: ", GasText(v, config, kParamCO2Ins, kParamCO2Exp, kUnitCO2));
    if ((v.featureBits & kFeatureO2) != 0 && !brindle)
        lines.emplace_back("O2   [Ins, Exp]: ", GasText(v, config, kParamO2Ins, kParamO2Exp, kUnitO2));
    lines.emplace_back("Temperature: ", TemperatureText(v.numerics[kParamTemperature], Native(config, kUnitTemp)));

    static constexpr const char* kAgentLabels[] = {
        "Halothane  [Ins, Exp]: ", "Enflurane  [Ins, Exp]: ", "Isoflurane [Ins, Exp]: ",
        "Sevoflurane [Ins, Exp]: ", "Desflurane [Ins, Exp]: ",
    };
    if ((v.featureBits & 0x0100) != 0 && v.primaryAgent >= 1 && v.primaryAgent <= 5) {
        const int a = v.primaryAgent - 1;
        lines.emplace_back(kAgentLabels[a], GasText(v, config, kParamHalIns + a, kParamHalExp + a, 1 + a));
    }
    return lines;
}

PrintLines PatientLines(const PrintReportInput& in, const COleDate& pageTime)
{
    const CPatientInfo& p = *in.patient;
    const RemoteConfiguration& config = *in.config;
    std::string owner = p.clientFirstName;
    if (!owner.empty() && !p.clientLastName.empty())
        owner += " ";
    owner += p.clientLastName;
    std::string weight = p.weight;
    if (!weight.empty() && !p.weightUnit.empty())
        weight += " " + p.weightUnit;
    char filter[64];
    std::snprintf(filter, sizeof filter, "%s / %dHz", LoadRelaxed(config.bandwidth) != 0 ? "Low" : "High",
                  LoadRelaxed(config.notch) != 0 ? 60 : 50);
    const PrintValues& v = in.values;
    return {
        {"Date: ", pageTime.Format("%m/%d/%Y")},
        {"Time: ", pageTime.Format("%H:%M:%S")},
        {"Patient Name/ID: ", PatientShownName(p)},
        {"Owner: ", owner},
        {"Species: ", FormatSpeciesText(p.speciesCode, false, p.species, {})},
        {"Breed: ", p.breed},
        {"Birth Date: ", p.birthDateText},
        {"Sex: ", p.sex},
        {"Weight: ", weight},
        {"Sweep Rate: ", FormatSweepText(in.sweep, v.deviceKind)},
        {"Gain: ", FormatGainText(in.gainIndex, false, v.deviceKind, v.featureBits, v.dental)},
        {"ECG Filter / Notch: ", filter},
        {"ECG Probe: ", in.esophageal ? "Esophogeal" : "Leads"},
    };
}

std::string PageNumberText(int page, int pageCount)
{
    char text[48];
    std::snprintf(text, sizeof text, "Page %d of %d", page, pageCount);
    return text;
}

std::string ScaleNoteText(double scale)
{
    char text[64];
    std::snprintf(text, sizeof text, "Printed at %d%% of full size", int(scale * 100.0));
    return text;
}

COleDate PrintPageTime(const PrintReportInput& in)
{
    if (in.sampleRate == 0 || in.first > in.printCount)
        return in.printTime;
    return SecondsBefore(in.printTime, int64_t((in.printCount - in.first) / in.sampleRate));
}
