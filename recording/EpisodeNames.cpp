#include "recording/EpisodeNames.h"

#include <string_view>

namespace {

constexpr std::string_view kExtension = ".qre";

bool EndsWith(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string SanitizeFileNamePart(const std::string& text)
{
    constexpr std::string_view kReplaced = " \"*./:<>?\\|";
    std::string out = text;
    for (char& c : out)
        if (kReplaced.find(c) != std::string_view::npos)
            c = '-';
    return out;
}

std::string EpisodeFilePath(const std::string& folder, bool demo, const CPatientInfo& patient,
                            const COleDate& start, const std::string& suffix)
{
    std::string path = folder + "/";
    if (demo)
        path += "DEMO_";
    if (!patient.name.empty())
        path += SanitizeFileNamePart(patient.name) + "_";
    if (!patient.clientLastName.empty())
        path += SanitizeFileNamePart(patient.clientLastName) + "_";
    path += start.Format("%Y%m%d_%H%M%S");
    path += suffix;
    path += kExtension;
    return path;
}

std::string TakenNameSuffix(const std::string& requested, const std::string& opened)
{
    if (opened == requested || !EndsWith(requested, kExtension) || !EndsWith(opened, kExtension))
        return {};
    const std::size_t stem = requested.size() - kExtension.size();
    if (opened.size() <= requested.size() || opened.compare(0, stem, requested, 0, stem) != 0)
        return {};
    return opened.substr(stem, opened.size() - requested.size());
}

std::string EpisodeText(const COleDate& start, bool hasSamples, const CPatientInfo& patient)
{
    return EpisodeText(start, hasSamples, patient.name, patient.clientFirstName + " " + patient.clientLastName);
}

std::string EpisodeText(const COleDate& start, bool hasSamples, const std::string& patientName,
                        const std::string& clientName)
{
    return start.Format("%m/%d/%Y %H:%M:%S") + "  " + (hasSamples ? "*ECG" : "    ") + "  " + patientName + " / " +
           clientName;
}

std::string MissingPatientFields(const PatientData& patient)
{
    std::string missing;
    const CPatientInfo& info = patient.info;
    if (info.name.empty() || !patient.nameEntered || info.patientId == info.name)
        missing += "- Patient Name\n";
    if (info.clientLastName.empty())
        missing += "- Client Last Name\n";
    return missing;
}
