#pragma once
// The logic of the patient dialog: what its controls show, what each user
// action does to them and to the members it exchanges with its caller. The
// dialog window only mirrors PatientControls and forwards the user's actions.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "patient/PatientRules.h"
#include "patient/SpeciesList.h"
#include "platform/OleDate.h"

// The members the dialog exchanges with its caller.
struct PatientDialogMembers {
    std::string breedNumber;
    std::string name;
    std::string clientFirstName;
    std::string clientLastName;
    std::string weight;
    std::string weightUnit;
    int32_t speciesCode = -1;
    std::string birthDateText;
    std::string breed;
    std::string sex;
    std::string species;
    COleDate birthDate;
    bool birthDateTouched = false;  // the mode, the date or the age was touched
    bool breedTouched = false;      // a breed was chosen or its list opened
};

// What the controls show. Lists hold their entries and the selected index
// (-1: none); the two editable lists have their own text.
struct PatientControls {
    std::vector<std::string> recent;
    int recentSel = -1;  // none until the user chooses an entry
    std::string name;
    std::string clientFirstName;
    std::string clientLastName;
    std::vector<std::string> species;
    int speciesSel = -1;
    std::vector<std::string> numbers;
    std::string numberText;
    bool numbersShown = false;
    std::vector<std::string> breeds;
    std::string breedText;
    std::vector<std::string> sexes;
    int sexSel = -1;
    bool ageMode = false;
    // The date control: its date (invalid: empty), its range, and a count
    // that moves whenever the form sets the date, so that the window writes
    // it only then and never over what the user is typing.
    COleDate date;
    COleDate dateMinimum;
    COleDate dateMaximum;
    int dateRevision = 0;
    std::string years;
    std::string months;
    std::string weight;
    int unitSel = -1;
};

class CPatientForm {
public:
    // `now` is the local time of day; the species file is read from
    // `speciesFolder` at every initialisation.
    CPatientForm(std::function<COleDate()> now, std::filesystem::path speciesFolder,
                 const RemoteConfiguration& config);

    PatientDialogMembers members;

    // Fills the controls from the members, the species file and the recent
    // list. Runs again after a recent entry was applied.
    void Initialise();

    void OnRecentSelected(int index);
    void OnSpeciesSelected(int index);
    void OnBreedSelected(int index);
    void OnBreedListOpened();
    void OnBreedTextEdited(const std::string& text);
    void OnNumberSelected(int index);
    void OnNumberTextEdited(const std::string& text);
    void OnSexSelected(int index);
    void OnUnitSelected(int index);
    void OnBirthDateMode();
    void OnAgeMode();
    // The date control changed: `date` is its date when its text reads as
    // one, else none (an empty or unfinished text leaves the last date).
    void OnDateChanged(std::optional<COleDate> date);
    void OnYearsChanged(const std::string& text);
    void OnMonthsChanged(const std::string& text);
    void OnWeightChanged(const std::string& text);
    // A refused name answers the warning box to show; the edit has its last
    // accepted text back by then.
    std::optional<WarningText> OnNameChanged(NameField field, const std::string& text);
    // OK: the controls into the members, the weight normalised.
    void OnOk();

    const PatientControls& Controls() const { return m_controls; }
    const std::string& InitialRecord() const { return m_initialRecord; }
    bool RecentApplied() const { return m_recentApplied; }
    // Over 24 species stopped the initialisation before the lists were filled.
    bool StoppedEarly() const { return m_stoppedEarly; }
    const CSpeciesList& SpeciesList() const { return m_speciesList; }

private:
    void FillSpecies();
    void FillBreeds(int species);
    void SelectBreed();
    // A breed and its number chosen by position in either list.
    void TakeBreedAt(int position);
    void ShowAge();
    void SetDate(const COleDate& date);
    void AgeChanged(AgeEdit changed);
    // The controls' values into the members, as the dialog's exchange does.
    void ReadControls();
    std::string* NameControl(NameField field);

    std::function<COleDate()> m_now;
    std::filesystem::path m_speciesFolder;
    const RemoteConfiguration& m_config;
    CSpeciesList m_speciesList;
    PatientControls m_controls;
    std::array<std::string, 3> m_lastAccepted;
    std::string m_initialRecord;
    bool m_initialised = false;
    bool m_recentApplied = false;
    bool m_stoppedEarly = false;
};
