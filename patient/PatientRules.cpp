#include "patient/PatientRules.h"

#include <charconv>
#include <regex>

#include "app/ProcessObjects.h"
#include "app/ValueHelpers.h"

namespace {

// The characters that the file-name filter would remove, each once.
std::string RefusedCharacters(std::string_view text)
{
    std::string refused;
    using Iterator = std::regex_iterator<std::string_view::const_iterator>;
    for (Iterator match(text.begin(), text.end(), g_fileNameFilter), end; match != end; ++match) {
        for (const char c : match->str()) {
            if (refused.find(c) == std::string::npos)
                refused += c;
        }
    }
    return refused;
}

bool BeginsWithDigitOrPoint(std::string_view text)
{
    return !text.empty() && ((text.front() >= '0' && text.front() <= '9') || text.front() == '.');
}

// The leading digits of an edit's text of `minLength` to `maxLength`
// characters, else 0.
int ReadNumber(std::string_view text, std::size_t minLength, std::size_t maxLength)
{
    if (text.size() < minLength || text.size() > maxLength)
        return 0;
    int value = 0;
    const char* digitsEnd = text.data();
    while (digitsEnd != text.data() + text.size() && *digitsEnd >= '0' && *digitsEnd <= '9')
        ++digitsEnd;
    std::from_chars(text.data(), digitsEnd, value);
    return value;
}

} // namespace

NameCheck CheckName(std::string_view typed, std::string_view lastAccepted)
{
    NameCheck check;
    const std::string_view trimmed = TrimSpaces(typed);
    check.refusedCharacters = RefusedCharacters(trimmed);
    check.refused = !check.refusedCharacters.empty();
    if (!check.refused)
        check.text = trimmed;
    else if (RefusedCharacters(lastAccepted).empty())
        check.text = lastAccepted;
    return check;
}

WarningText InvalidNameWarning(NameField field)
{
    switch (field) {
    case NameField::clientFirstName:
        return {"Please enter only alphabetic letters, numbers, spaces, hyphens and underscores for the Client First Name",
                "Invalid Client First Name"};
    case NameField::clientLastName:
        return {"Please enter only alphabetic letters, numbers, spaces, hyphens and underscores for the Client Last Name",
                "Invalid Client Last Name"};
    case NameField::patientName:
        break;
    }
    return {"Please enter only alphabetic letters, numbers, spaces, hyphens and underscores for the Patient Name",
            "Invalid Patient Name"};
}

WeightCheck CheckWeight(std::string_view typed, std::string_view lastExchanged)
{
    WeightCheck check;
    if (typed.empty() || BeginsWithDigitOrPoint(typed))
        return check;
    check.refused = true;
    if (BeginsWithDigitOrPoint(lastExchanged))
        check.text = lastExchanged;
    return check;
}

std::string NormaliseWeight(std::string_view weight)
{
    if (weight.empty() || weight == ".")
        return "0";
    if (weight.front() == '.')
        return "0" + std::string(weight);
    return std::string(weight);
}

AgeInput ReadAge(std::string_view yearsText, std::string_view monthsText, AgeEdit changed)
{
    AgeInput age;
    age.years = ReadNumber(yearsText, 1, 3);
    age.months = ReadNumber(monthsText, 1, 2);
    if (changed == AgeEdit::years && age.years > kMaxAgeYears) {
        age.years = kMaxAgeYears;
        age.capped = true;
    } else if (changed == AgeEdit::months && age.months > kMaxAgeMonths) {
        age.months = kMaxAgeMonths;
        age.capped = true;
    }
    return age;
}

int32_t SpeciesCodeFromText(std::string_view species)
{
    if (species == "Canine")
        return 0;
    if (species == "Feline")
        return 1;
    if (species == "Equine")
        return 2;
    return 3;
}

std::string SpeciesTextFromCode(int32_t speciesCode, const std::string& recordSpecies)
{
    switch (speciesCode) {
    case 0:
        return "Canine";
    case 1:
        return "Feline";
    case 2:
        return "Equine";
    default:
        return recordSpecies;
    }
}

std::string DefaultWeightUnit(int32_t defaultWtUnit)
{
    switch (defaultWtUnit) {
    case 0:
        return kWeightUnits[0];
    case 2:
        return kWeightUnits[2];
    case 3:
        return kWeightUnits[3];
    default:
        return kWeightUnits[1];
    }
}
