#include "patient/PatientForm.h"

#include <algorithm>
#include <utility>

#include "app/ValueHelpers.h"
#include "patient/PatientDates.h"
#include "patient/PatientInfo.h"

namespace {

int IndexOf(const std::vector<std::string>& items, const std::string& text)
{
    const auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

bool InRange(const std::vector<std::string>& items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

std::string ItemOrEmpty(const std::vector<std::string>& items, int index)
{
    return InRange(items, index) ? items[static_cast<std::size_t>(index)] : std::string();
}

template <class From, class To>
void CopyEntryFields(From& from, To& to)
{
    const auto source = RecentEntryFields(from);
    const auto target = RecentEntryFields(to);
    for (std::size_t i = 0; i < target.size(); ++i)
        *target[i] = *source[i];
}

// A recent entry's fields, from the members and back.
CPatientInfo EntryOf(const PatientDialogMembers& m)
{
    CPatientInfo info;
    CopyEntryFields(m, info);
    return info;
}

void TakeEntry(const CPatientInfo& info, PatientDialogMembers& m)
{
    CopyEntryFields(info, m);
}

}  // namespace

CPatientForm::CPatientForm(std::function<COleDate()> now, std::filesystem::path speciesFolder,
                           const RemoteConfiguration& config)
    : m_now(std::move(now)), m_speciesFolder(std::move(speciesFolder)), m_config(config)
{
}

void CPatientForm::Initialise()
{
    PatientControls& c = m_controls;
    c.ageMode = false;
    c.name = members.name;
    c.clientFirstName = members.clientFirstName;
    c.clientLastName = members.clientLastName;
    c.weight = members.weight;
    m_speciesList = CSpeciesList::ReadFolder(m_speciesFolder);
    c.numbersShown = m_speciesList.HasNumbers();
    c.species.clear();
    c.speciesSel = -1;
    c.breeds.clear();
    c.numbers.clear();
    c.breedText.clear();
    c.numberText.clear();

    c.sexes.assign(kSexes.begin(), kSexes.end());
    c.sexSel = -1;
    m_stoppedEarly = m_speciesList.TooManySpecies();
    if (m_stoppedEarly)
        return;

    FillSpecies();

    c.sexSel = IndexOf(c.sexes, members.sex);
    if (c.sexSel < 0 && !members.sex.empty()) {
        c.sexes.push_back(members.sex);
        c.sexSel = static_cast<int>(c.sexes.size()) - 1;
    } else if (c.sexSel < 0) {
        c.sexSel = IndexOf(c.sexes, "Unknown");
    }

    const COleDate now = m_now();
    c.dateMinimum = now.AddDays(-kBirthDateRangeDays);
    c.dateMaximum = now;
    SetDate(members.birthDate);
    ShowAge();
    members.birthDateText = FormatBirthDateText(members.birthDate);

    c.unitSel = IndexOf(std::vector<std::string>(kWeightUnits.begin(), kWeightUnits.end()), members.weightUnit);
    m_lastAccepted = {c.name, c.clientFirstName, c.clientLastName};
    members.birthDateTouched = false;
    members.breedTouched = false;

    if (!m_initialised) {
        m_initialised = true;
        CPatientInfo entry = EntryOf(members);
        entry.weight = "0";
        m_initialRecord = FormatRecentEntry(entry);
    }
    if (!m_recentApplied) {
        c.recent = RecentEntriesNewestFirst(m_config);
        c.recentSel = -1;
    }
}

void CPatientForm::FillSpecies()
{
    int selected = m_speciesList.Find(members.species);
    if (selected < 0 && !members.species.empty()) {
        selected = m_speciesList.AddOwnSpecies(members.species, members.breed);
    } else if (selected < 0) {
        selected = m_speciesList.Find("Canine");
        if (selected >= 0)
            members.species = "Canine";
    }
    for (const SpeciesBreeds& species : m_speciesList.Species())
        m_controls.species.push_back(species.name);
    m_controls.speciesSel = selected;
    FillBreeds(selected);
    SelectBreed();
}

void CPatientForm::FillBreeds(int species)
{
    m_controls.breeds.clear();
    m_controls.numbers.clear();
    if (species < 0 || static_cast<std::size_t>(species) >= m_speciesList.Species().size())
        return;
    const SpeciesBreeds& chosen = m_speciesList.Species()[static_cast<std::size_t>(species)];
    m_controls.breeds = chosen.breeds;
    m_controls.numbers = chosen.numbers;
}

void CPatientForm::SelectBreed()
{
    PatientControls& c = m_controls;
    int position = IndexOf(c.breeds, members.breed);
    if (position < 0 && !members.breed.empty()) {
        c.breeds.push_back(members.breed);
        position = static_cast<int>(c.breeds.size()) - 1;
    } else if (position < 0) {
        position = IndexOf(c.breeds, "Unknown");
        if (position >= 0)
            members.breed = "Unknown";
    }
    c.breedText = ItemOrEmpty(c.breeds, position);
    c.numberText = ItemOrEmpty(c.numbers, position);
    members.breedNumber = c.numberText;
}

void CPatientForm::ShowAge()
{
    const std::optional<PatientAge> age = AgeFromBirthDate(members.birthDate, m_now());
    m_controls.years = age ? std::to_string(age->years) : std::string();
    m_controls.months = age ? std::to_string(age->months) : std::string();
}

void CPatientForm::SetDate(const COleDate& date)
{
    m_controls.date = date;
    ++m_controls.dateRevision;
}

void CPatientForm::OnRecentSelected(int index)
{
    if (!InRange(m_controls.recent, index))
        return;
    CPatientInfo entry = EntryOf(members);
    COleDate birthDate = members.birthDate;
    if (!ApplyRecentEntry(m_controls.recent[static_cast<std::size_t>(index)], entry, birthDate))
        return;
    TakeEntry(entry, members);
    members.birthDate = birthDate;
    m_recentApplied = true;
    m_controls.recentSel = index;
    Initialise();
}

void CPatientForm::OnSpeciesSelected(int index)
{
    PatientControls& c = m_controls;
    if (!InRange(c.species, index))
        return;
    c.speciesSel = index;
    FillBreeds(index);
    c.breedText = ItemOrEmpty(c.breeds, 0);
    c.numberText = ItemOrEmpty(c.numbers, 0);
    members.species = c.species[static_cast<std::size_t>(index)];
    members.breed = c.breedText;
    members.breedNumber = c.numberText;
    m_recentApplied = false;
}

void CPatientForm::TakeBreedAt(int position)
{
    PatientControls& c = m_controls;
    c.breedText = ItemOrEmpty(c.breeds, position);
    c.numberText = ItemOrEmpty(c.numbers, position);
    members.breed = c.breedText;
    members.breedNumber = c.numberText;
    if (InRange(c.species, c.speciesSel))
        members.species = c.species[static_cast<std::size_t>(c.speciesSel)];
    m_recentApplied = false;
}

void CPatientForm::OnBreedSelected(int index)
{
    if (!InRange(m_controls.breeds, index))
        return;
    TakeBreedAt(index);
    members.breedTouched = true;
}

void CPatientForm::OnBreedListOpened()
{
    members.breedTouched = true;
    m_recentApplied = false;
}

void CPatientForm::OnBreedTextEdited(const std::string& text)
{
    m_controls.breedText = text;
}

void CPatientForm::OnNumberSelected(int index)
{
    if (InRange(m_controls.numbers, index))
        TakeBreedAt(index);
}

void CPatientForm::OnNumberTextEdited(const std::string& text)
{
    m_controls.numberText = text;
}

void CPatientForm::OnSexSelected(int index)
{
    if (!InRange(m_controls.sexes, index))
        return;
    m_controls.sexSel = index;
    members.sex = m_controls.sexes[static_cast<std::size_t>(index)];
    m_recentApplied = false;
}

void CPatientForm::OnUnitSelected(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= kWeightUnits.size())
        return;
    m_controls.unitSel = index;
    members.weightUnit = kWeightUnits[static_cast<std::size_t>(index)];
}

void CPatientForm::OnBirthDateMode()
{
    m_controls.ageMode = false;
    members.birthDateTouched = true;
}

void CPatientForm::OnAgeMode()
{
    m_controls.ageMode = true;
    members.birthDateTouched = true;
    m_recentApplied = false;
}

void CPatientForm::OnDateChanged(std::optional<COleDate> date)
{
    members.birthDateTouched = true;
    // The last valid date stays, with its text, until the field reads as
    // another: OK never takes a half-typed date.
    if (!date || !date->IsValid())
        return;
    members.birthDate = *date;
    m_controls.date = *date;
    ShowAge();
    members.birthDateText = FormatBirthDateText(members.birthDate);
}

void CPatientForm::OnYearsChanged(const std::string& text)
{
    m_controls.years = text;
    AgeChanged(AgeEdit::years);
}

void CPatientForm::OnMonthsChanged(const std::string& text)
{
    m_controls.months = text;
    AgeChanged(AgeEdit::months);
}

void CPatientForm::AgeChanged(AgeEdit changed)
{
    members.birthDateTouched = true;
    if (!m_controls.ageMode)
        return;
    const AgeInput age = ReadAge(m_controls.years, m_controls.months, changed);
    if (age.capped) {
        if (changed == AgeEdit::years)
            m_controls.years = std::to_string(kMaxAgeYears);
        else
            m_controls.months = std::to_string(kMaxAgeMonths);
    }
    members.birthDate = BirthDateFromAge(age.years, age.months, m_now());
    SetDate(members.birthDate);
    members.birthDateText = FormatBirthDateText(members.birthDate);
}

void CPatientForm::OnWeightChanged(const std::string& text)
{
    m_controls.weight = text;
    m_recentApplied = false;
    const WeightCheck check = CheckWeight(text, members.weight);
    if (!check.refused)
        return;
    m_controls.weight = check.text;
    ReadControls();
}

std::string* CPatientForm::NameControl(NameField field)
{
    switch (field) {
    case NameField::clientFirstName: return &m_controls.clientFirstName;
    case NameField::clientLastName: return &m_controls.clientLastName;
    case NameField::patientName: break;
    }
    return &m_controls.name;
}

std::optional<WarningText> CPatientForm::OnNameChanged(NameField field, const std::string& text)
{
    std::string& control = *NameControl(field);
    std::string& lastAccepted = m_lastAccepted[static_cast<std::size_t>(field)];
    control = text;
    const NameCheck check = CheckName(text, lastAccepted);
    if (!check.refused) {
        lastAccepted = check.text;
        m_recentApplied = false;
        return std::nullopt;
    }
    control = check.text;
    ReadControls();
    return InvalidNameWarning(field);
}

void CPatientForm::ReadControls()
{
    const PatientControls& c = m_controls;
    members.name = std::string(TrimSpaces(c.name));
    members.clientFirstName = std::string(TrimSpaces(c.clientFirstName));
    members.clientLastName = std::string(TrimSpaces(c.clientLastName));
    members.weight = c.weight;
    // A list with nothing chosen (more than 24 species filled none) keeps
    // the member: an empty species would make the patient "Other".
    if (InRange(c.species, c.speciesSel))
        members.species = c.species[static_cast<std::size_t>(c.speciesSel)];
    if (!m_stoppedEarly) {
        members.breed = c.breedText;
        members.breedNumber = c.numberText;
    }
    if (InRange(c.sexes, c.sexSel))
        members.sex = c.sexes[static_cast<std::size_t>(c.sexSel)];
    if (c.unitSel >= 0 && static_cast<std::size_t>(c.unitSel) < kWeightUnits.size())
        members.weightUnit = kWeightUnits[static_cast<std::size_t>(c.unitSel)];
}

void CPatientForm::OnOk()
{
    ReadControls();
    members.weight = NormaliseWeight(members.weight);
}
