#pragma once
// How an episode is named: its file, its line in the review list and what
// the new-patient command says is missing. Pure text rules.
#include <string>

#include "patient/PatientInfo.h"
#include "platform/OleDate.h"

// Each of blank, '"', '*', '.', '/', ':', '<', '>', '?', '\' and '|' becomes
// '-', so a patient's name can stand in a file name.
std::string SanitizeFileNamePart(const std::string& text);

// folder + "/" + ["DEMO_"] + [patient name + "_"] + [client last name + "_"]
// + start as "%Y%m%d_%H%M%S" + suffix + ".qre". The suffix is the "_2" the
// recorder took for a name that was taken at the start.
std::string EpisodeFilePath(const std::string& folder, bool demo, const CPatientInfo& patient,
                            const COleDate& start, const std::string& suffix = {});

// What the recorder added to `requested` to get `opened` ("_2"), or empty.
std::string TakenNameSuffix(const std::string& requested, const std::string& opened);

// The review list's line: start, "*ECG" or four blanks, patient, client.
std::string EpisodeText(const COleDate& start, bool hasSamples, const CPatientInfo& patient);
// The same from the names as a file's header holds them (the client's
// first and last name in one).
std::string EpisodeText(const COleDate& start, bool hasSamples, const std::string& patientName,
                        const std::string& clientName);

// "- Patient Name\n" and "- Client Last Name\n" for what is still missing.
std::string MissingPatientFields(const PatientData& patient);
