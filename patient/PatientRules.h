#pragma once
// The rules of the patient dialog's fields: names, weight, age, species
// code, sex and weight unit.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// ---- Names (patient name, client first and last name) ----

enum class NameField { patientName, clientFirstName, clientLastName };

struct NameCheck {
    bool refused = false;
    // Accepted: the text without its outer spaces, the new last accepted
    // text. Refused: what the edit gets back (the last accepted text when
    // it passes, else nothing).
    std::string text;
    // The characters that refused it, each once, in order of appearance.
    std::string refusedCharacters;
};

// Names take the letters A to Z and a to z, digits, space, hyphen and
// underscore only: the characters that the file-name filter keeps.
NameCheck CheckName(std::string_view typed, std::string_view lastAccepted);

struct WarningText {
    const char* text;
    const char* caption;
};
// The warning box for a refused name.
WarningText InvalidNameWarning(NameField field);

// ---- Weight ----

struct WeightCheck {
    bool refused = false;
    // Refused: what the edit gets back (the last exchanged weight when that
    // begins with a digit or a point, else nothing).
    std::string text;
};

// A non-empty weight must begin with a digit or a point.
WeightCheck CheckWeight(std::string_view typed, std::string_view lastExchanged);

// The weight as stored on OK: "" and "." become "0", ".5" becomes "0.5".
std::string NormaliseWeight(std::string_view weight);

// ---- Age ----

constexpr int kMaxAgeYears = 200;
constexpr int kMaxAgeMonths = 18;

enum class AgeEdit { years, months };

struct AgeInput {
    int years = 0;
    int months = 0;
    // The edit that changed was over its limit and shows the limit now.
    bool capped = false;
};

// The age typed into the two edits, after a change of `changed`: years are
// read when 1 to 3 characters long, months when 1 or 2, else 0. Only the
// edit that changed is limited (years to 200, months to 18).
AgeInput ReadAge(std::string_view yearsText, std::string_view monthsText, AgeEdit changed);

// ---- Species, sex, weight unit ----

inline constexpr std::array<const char*, 5> kSexes{"Female", "Female - Spayed", "Male", "Male - Neutered", "Unknown"};
// In the order of the "DefaultWtUnit" setting.
inline constexpr std::array<const char*, 4> kWeightUnits{"kgs", "lbs", "g", "oz"};

// "Canine" 0, "Feline" 1, "Equine" 2, anything else 3.
int32_t SpeciesCodeFromText(std::string_view species);
// The dialog's species text for a record: the name for codes 0 to 2, the
// record's own species text otherwise.
std::string SpeciesTextFromCode(int32_t speciesCode, const std::string& recordSpecies);
// The unit of a record without one, by "DefaultWtUnit": 0 "kgs", 2 "g",
// 3 "oz", anything else "lbs".
std::string DefaultWeightUnit(int32_t defaultWtUnit);
