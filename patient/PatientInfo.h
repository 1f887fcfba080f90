#pragma once
// The patient record: the animal being monitored, as the window title, the
// patient dialog and every recording show it; and the recent entries, the
// last 25 records the dialog offers again.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "platform/OleDate.h"

class CPatientInfo {
public:
    CPatientInfo() = default;
    virtual ~CPatientInfo() = default;
    CPatientInfo(const CPatientInfo&) = default;
    CPatientInfo& operator=(const CPatientInfo&) = default;
    CPatientInfo(CPatientInfo&&) = default;
    CPatientInfo& operator=(CPatientInfo&&) = default;

    std::string patientId;       // the name, or today as "%Y%m%d" without one
    std::string name;
    int32_t speciesCode = 0;     // 0 Canine, 1 Feline, 2 Equine, 3 any other
    std::string species;         // as chosen
    std::string breed;
    std::string birthDateText;   // "%m/%d/%Y"
    std::string sex;
    std::string breedNumber;
    std::string weight;          // as typed
    std::string weightUnit;      // "kgs", "lbs", "g" or "oz"
    std::string clientFirstName;
    std::string clientLastName;

    friend bool operator==(const CPatientInfo&, const CPatientInfo&) = default;
};

// What the view keeps with the record. The flags tell the recording which
// patient data were given rather than left as they were.
struct PatientData {
    CPatientInfo info;
    COleDate birthDate;
    bool nameEntered = false;
    bool birthDateEntered = false;
    bool breedChosen = false;
};

// The patient ID for a name: the name itself, or today's date stamp.
std::string PatientIdFor(const std::string& name, const COleDate& now);

// What names the patient on the screen and on paper: the name, or the ID
// (the date stamp) when there is no name.
const std::string& PatientShownName(const CPatientInfo& info);

// The record of a new patient: name and ID today's date stamp; weight, unit,
// birth date text, breed, sex and client names empty; the birth date by
// NewPatientBirthDate. Species, species code, breed number and the flags
// are left as they are.
void ResetForNewPatient(PatientData& patient, const COleDate& now);

// A recent entry's fields of a record or of anything with the same members,
// in entry order: name, client first name, client last name, species, breed
// number, breed, sex, birth date text, weight and unit.
template <class Info>
auto RecentEntryFields(Info& info)
{
    return std::array{&info.name,        &info.clientFirstName, &info.clientLastName, &info.species,
                      &info.breedNumber, &info.breed,           &info.sex,            &info.birthDateText,
                      &info.weight,      &info.weightUnit};
}

// A recent entry: its fields joined by "|".
std::string FormatRecentEntry(const CPatientInfo& info);

// Puts the ten fields of an entry into `info` (an empty field empties its
// member; ID and species code stay) and reads the birth date from its text.
// False, with nothing changed, unless the entry holds exactly nine "|":
// a field that held one would shift every field after it.
[[nodiscard]] bool ApplyRecentEntry(const std::string& entry, CPatientInfo& info, COleDate& birthDate);

// The non-empty recent entries, newest first.
std::vector<std::string> RecentEntriesNewestFirst(const RemoteConfiguration& config);

// Stores `entry` as the newest recent entry (the pointer advances, wrapping
// from 24 to 0, and the oldest gives way) unless it is already stored or
// equals `initialRecord`, the dialog's record before any change. True when
// stored: the caller then saves the recent list.
[[nodiscard]] bool AddRecentEntry(RemoteConfiguration& config, const std::string& entry,
                                  const std::string& initialRecord);
