// The patient dialog's logic: what it shows from a record and a species
// file, each field's rule as the user types, and what OK hands back.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "patient/PatientDates.h"
#include "patient/PatientFiling.h"
#include "patient/PatientForm.h"
#include "tests/app/AppTestSupport.h"

namespace {

const COleDate kNow = COleDate::FromDate(2026, 12, 9, 15, 30);

class PatientFormTest : public ::testing::Test {
protected:
    void WriteSpecies(const std::string& text)
    {
        std::ofstream(m_folder / CSpeciesList::kFileName, std::ios::binary) << text;
    }
    CPatientForm& Open(const PatientDialogMembers& members = {})
    {
        m_form.emplace([] { return kNow; }, m_folder.Path(), m_config);
        m_form->members = members;
        m_form->Initialise();
        return *m_form;
    }
    static std::string Selected(const std::vector<std::string>& items, int index)
    {
        return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : "<none>";
    }

    TempFolder m_folder;
    RemoteConfiguration m_config;
    std::optional<CPatientForm> m_form;
};

constexpr char kSpecies[] =
    "Species\tBreed\tNumber\n"
    "Canine\tUnknown\t1000\nCanine\tBeagle\t1001\n"
    "Feline\tUnknown\t2000\nFeline\tSiamese\t2001\n";

TEST_F(PatientFormTest, TheRecordIsSelectedInTheListsOrAddedToThem)
{
    struct Case {
        const char* species;
        const char* breed;
        const char* sex;
        const char* shownSpecies;
        const char* shownBreed;
        const char* shownNumber;
        const char* shownSex;
    };
    const Case cases[] = {
        {"", "", "", "Canine", "Unknown", "1000", "Unknown"},
        {"Feline", "Siamese", "Male", "Feline", "Siamese", "2001", "Male"},
        {"Feline", "Manx", "Neuter", "Feline", "Manx", "", "Neuter"},
        {"Lizard", "", "Female", "Lizard", "Unknown", "...", "Female"},
        {"Lizard", "Gecko", "Female", "Lizard", "Gecko", "...", "Female"},
    };
    WriteSpecies(kSpecies);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.species) + "/" + c.breed);
        PatientDialogMembers members;
        members.species = c.species;
        members.breed = c.breed;
        members.sex = c.sex;
        const PatientControls& shown = Open(members).Controls();
        EXPECT_EQ(Selected(shown.species, shown.speciesSel), c.shownSpecies);
        EXPECT_EQ(shown.breedText, c.shownBreed);
        EXPECT_EQ(shown.numberText, c.shownNumber);
        EXPECT_EQ(Selected(shown.sexes, shown.sexSel), c.shownSex);
        m_form->OnOk();
        EXPECT_EQ(m_form->members.species, c.shownSpecies);
        EXPECT_EQ(m_form->members.breed, c.shownBreed);
        EXPECT_EQ(m_form->members.breedNumber, c.shownNumber);
    }
}

TEST_F(PatientFormTest, TheSpeciesFileDecidesTheNumberListAndTooManySpeciesFillNoList)
{
    const auto speciesFile = [](int count, bool numbers) {
        std::string text = numbers ? "Species\tBreed\tNumber\n" : "Species\tBreed\n";
        for (int i = 0; i < count; ++i)
            text += "S" + std::to_string(i) + "\tB\t1000\n";
        return text;
    };
    struct Case {
        int species;
        bool numbers;
        bool numbersShown;
        bool stopped;
    };
    for (const Case c : {Case{3, true, true, false}, Case{3, false, false, false}, Case{24, false, false, false},
                         Case{25, false, false, true}, Case{40, false, false, true}}) {
        SCOPED_TRACE(c.species);
        WriteSpecies(speciesFile(c.species, c.numbers));
        PatientDialogMembers record;
        record.species = "Equine";
        record.breed = "Shire";
        record.sex = "Male";
        record.breedNumber = "77";
        CPatientForm& form = Open(record);
        EXPECT_EQ(form.Controls().numbersShown, c.numbersShown);
        EXPECT_EQ(form.StoppedEarly(), c.stopped);
        EXPECT_EQ(form.Controls().species.empty(), c.stopped);
        form.OnOk();
        // An empty species text would make the patient "Other".
        EXPECT_EQ(form.members.species, "Equine");
        EXPECT_EQ(form.members.sex, "Male");
        EXPECT_EQ(form.members.breed, "Shire");
        EXPECT_EQ(form.members.breedNumber, c.stopped ? "77" : c.numbers ? "..." : "");
    }
}

TEST_F(PatientFormTest, ChoosingASpeciesBreedOrNumberTakesTheSamePositionOfTheOtherList)
{
    WriteSpecies(kSpecies);
    CPatientForm& form = Open();
    form.OnSpeciesSelected(1);
    EXPECT_EQ(form.members.species, "Feline");
    EXPECT_EQ(form.members.breed, "Unknown");
    EXPECT_EQ(form.members.breedNumber, "2000");
    EXPECT_FALSE(form.members.breedTouched);
    form.OnNumberSelected(1);
    EXPECT_EQ(form.members.breed, "Siamese");
    EXPECT_FALSE(form.members.breedTouched);
    form.OnBreedSelected(0);
    EXPECT_EQ(form.members.breedNumber, "2000");
    EXPECT_TRUE(form.members.breedTouched);
}

TEST_F(PatientFormTest, WeightsMustBeginWithADigitOrAPointAndOkNormalisesThem)
{
    struct Case {
        const char* typed;
        const char* shown;
        const char* filed;
    };
    const Case cases[] = {
        {"12a", "12a", "12a"}, {"a12", "7", "7"}, {".5", ".5", "0.5"}, {"", "", "0"}, {".", ".", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        PatientDialogMembers record;
        record.weight = "7";
        CPatientForm& form = Open(record);
        form.OnWeightChanged(c.typed);
        EXPECT_EQ(form.Controls().weight, c.shown);
        form.OnOk();
        EXPECT_EQ(form.members.weight, c.filed);
    }
}

TEST_F(PatientFormTest, NamesAreTrimmedAndARefusedOneGivesBackTheLastAcceptedWithItsBox)
{
    struct Case {
        NameField field;
        const char* typed;
        const char* caption;  // "" when accepted
        const char* shown;
        const char* filed;
    };
    const Case cases[] = {
        {NameField::patientName, "  Rex  ", "", "  Rex  ", "Rex"},
        {NameField::patientName, "   ", "", "   ", ""},
        {NameField::patientName, "Rex!", "Invalid Patient Name", "Old", "Old"},
        {NameField::clientFirstName, "Ann/", "Invalid Client First Name", "Old", "Old"},
        {NameField::clientLastName, "O'Neil", "Invalid Client Last Name", "Old", "Old"},
        {NameField::clientLastName, "Smith-Jones_2", "", "Smith-Jones_2", "Smith-Jones_2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        PatientDialogMembers record;
        record.name = record.clientFirstName = record.clientLastName = "Old";
        CPatientForm& form = Open(record);
        const std::optional<WarningText> warning = form.OnNameChanged(c.field, c.typed);
        EXPECT_EQ(warning ? warning->caption : "", std::string(c.caption));
        const PatientControls& shown = form.Controls();
        const std::string& control = c.field == NameField::patientName       ? shown.name
                                     : c.field == NameField::clientFirstName ? shown.clientFirstName
                                                                             : shown.clientLastName;
        EXPECT_EQ(control, c.shown);
        form.OnOk();
        const std::string& filed = c.field == NameField::patientName       ? form.members.name
                                   : c.field == NameField::clientFirstName ? form.members.clientFirstName
                                                                           : form.members.clientLastName;
        EXPECT_EQ(filed, c.filed);
    }
}

TEST_F(PatientFormTest, AnAgeInAgeModeSetsTheBirthDateAndCapsTheEditThatChanged)
{
    struct Case {
        const char* years;
        const char* months;
        bool monthsLast;
        const char* shownYears;
        const char* shownMonths;
        int daysBack;
    };
    const Case cases[] = {
        {"3", "6", true, "3", "6", 3 * 365 + 6 * 30},
        {"201", "0", false, "200", "0", 200 * 365},
        {"1", "25", true, "1", "18", 365 + 18 * 30},
        {"1234", "2", true, "1234", "2", 2 * 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.years) + "y" + c.months + "m");
        CPatientForm& form = Open();
        form.OnAgeMode();
        if (c.monthsLast) {
            form.OnYearsChanged(c.years);
            form.OnMonthsChanged(c.months);
        } else {
            form.OnMonthsChanged(c.months);
            form.OnYearsChanged(c.years);
        }
        EXPECT_EQ(form.Controls().years, c.shownYears);
        EXPECT_EQ(form.Controls().months, c.shownMonths);
        const COleDate expected = kNow.AddDays(-c.daysBack);
        EXPECT_EQ(form.members.birthDate, expected);
        EXPECT_EQ(form.Controls().date, expected);
        EXPECT_EQ(form.members.birthDateText, FormatBirthDateText(expected));
        EXPECT_TRUE(form.members.birthDateTouched);
    }
}

TEST_F(PatientFormTest, TheAgeEditsFollowTheDateOnlyInBirthDateModeAndAHalfTypedDateKeepsTheLast)
{
    PatientDialogMembers record;
    record.birthDate = COleDate::FromDate(2020, 1, 1);
    CPatientForm& form = Open(record);
    EXPECT_EQ(form.members.birthDateText, "01/01/2020");
    EXPECT_FALSE(form.members.birthDateTouched);
    // Birth-date mode: a typed age is not taken.
    form.OnYearsChanged("2");
    EXPECT_EQ(form.members.birthDate, record.birthDate);

    const COleDate chosen = COleDate::FromDate(2023, 12, 9);
    form.OnDateChanged(chosen);
    EXPECT_EQ(form.Controls().years, "3");
    EXPECT_EQ(form.Controls().months, "0");
    form.OnDateChanged(std::nullopt);
    form.OnOk();
    EXPECT_EQ(form.members.birthDate, chosen);
    EXPECT_EQ(form.members.birthDateText, "12/09/2023");
}

TEST_F(PatientFormTest, ARecentEntryRefillsTheDialogAndKeepsTheRecentList)
{
    WriteSpecies(kSpecies);
    m_config.recent[3] = "Tom|Ann|Lee|Feline|2001|Siamese|Male|02/29/2016|4.5|kgs";
    m_config.recent[4] = "broken|entry";
    m_config.recentPointer = 4;
    CPatientForm& form = Open();
    ASSERT_EQ(form.Controls().recent.size(), 2u);
    const std::string initialRecord = form.InitialRecord();

    form.OnRecentSelected(0);  // the broken one: nothing happens
    EXPECT_FALSE(form.RecentApplied());
    form.OnRecentSelected(1);
    EXPECT_TRUE(form.RecentApplied());
    EXPECT_EQ(form.Controls().name, "Tom");
    EXPECT_EQ(Selected(form.Controls().species, form.Controls().speciesSel), "Feline");
    EXPECT_EQ(form.Controls().breedText, "Siamese");
    EXPECT_EQ(Selected(form.Controls().sexes, form.Controls().sexSel), "Male");
    EXPECT_EQ(form.members.birthDate, COleDate::FromDate(2016, 2, 29));
    EXPECT_EQ(form.Controls().recent.size(), 2u);
    EXPECT_EQ(form.InitialRecord(), initialRecord);
    form.OnWeightChanged("5");
    EXPECT_FALSE(form.RecentApplied());
}

TEST_F(PatientFormTest, FilingSetsTheEnteredFlagsAndTheSpeciesCode)
{
    struct Case {
        const char* name;
        bool touched;
        bool avimark;
        const char* species;
        bool nameEntered;
        bool birthDateEntered;
        int32_t code;
    };
    const Case cases[] = {
        {"Rex", false, false, "Canine", false, false, 0},
        {"Max", false, false, "Feline", true, false, 1},
        {"Rex", true, false, "Equine", false, true, 2},
        {"Rex", false, true, "Lizard", true, true, 3},
        {"Rex", false, false, "", false, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.species);
        PatientData patient;
        patient.info.name = "Rex";
        patient.info.weightUnit = "";
        PatientDialogMembers members;
        FillDialogMembers(members, patient, 1);
        EXPECT_EQ(members.weightUnit, "lbs");
        members.name = c.name;
        members.birthDateTouched = c.touched;
        members.species = c.species;
        const FiledFlags run = FileDialogMembers(members, c.avimark, patient);
        EXPECT_EQ(run.nameEntered, c.nameEntered);
        EXPECT_EQ(run.birthDateEntered, c.birthDateEntered);
        EXPECT_EQ(patient.nameEntered, c.nameEntered);
        EXPECT_EQ(patient.info.speciesCode, c.code);
        EXPECT_EQ(patient.info.species, c.species);
    }
}

}  // namespace
