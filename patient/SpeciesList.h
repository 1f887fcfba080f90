#pragma once
// The species and their breeds that the patient dialog offers, read from
// the practice's own "CustomSpecies&Breeds.txt" or else the shipped
// "Species&Breeds.txt".
//
// The file: a header line, then one line per breed: species, tab, breed
// and, when the header holds "Number", tab and breed number. Double quotes
// are dropped everywhere; CR and LF both end a line and empty lines do not
// count. A line without a species (no tab, or nothing before it) belongs to
// the species of the line before. What does not fit the table is cut and
// told in Notes(): lines after 59 characters, lines after the 1999th, names
// after 49 characters and numbers after 9, species after the 25th, breeds
// after the 500th of a species.
#include <cstddef>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

struct SpeciesBreeds {
    std::string name;
    std::vector<std::string> breeds;
    // One per breed when the file has the number column, else none.
    std::vector<std::string> numbers;
};

class CSpeciesList {
public:
    static constexpr const char* kCustomFileName = "CustomSpecies&Breeds.txt";
    static constexpr const char* kFileName = "Species&Breeds.txt";
    static constexpr std::size_t kMaxSpecies = 25;
    static constexpr std::size_t kMaxBreeds = 500;
    static constexpr std::size_t kMaxNameLength = 49;
    static constexpr std::size_t kMaxNumberLength = 9;
    static constexpr std::size_t kMaxLineLength = 59;
    static constexpr std::size_t kMaxLines = 1999;
    // More species than this stop the dialog's initialisation: the last
    // slot of the table is kept for the patient's own species.
    static constexpr std::size_t kMaxFileSpecies = 24;
    // The breed number of a species that only the patient record knows.
    static constexpr const char* kOwnSpeciesNumber = "...";

    // Reads the custom file of `folder` when it opens, else the shipped one;
    // with neither, the list is empty and FileName() too.
    static CSpeciesList ReadFolder(const std::filesystem::path& folder);
    // Reads a file's content; `fileName` names it in the notes.
    static CSpeciesList Read(std::istream& in, const std::string& fileName);

    const std::string& FileName() const { return m_fileName; }
    // The header holds "Number": the breed-number list is shown.
    bool HasNumbers() const { return m_hasNumbers; }
    const std::vector<SpeciesBreeds>& Species() const { return m_species; }
    // Over 24 species: the dialog fills no list and keeps the record's
    // species, breed and sex.
    bool TooManySpecies() const { return m_species.size() > kMaxFileSpecies; }
    // What was cut, for the log; empty when everything fitted.
    const std::vector<std::string>& Notes() const { return m_notes; }

    // The index of a species (exact, case-sensitive), or -1.
    int Find(std::string_view species) const;
    // Adds the patient's own species with its breed (or "Unknown") as the
    // only breed and the number "..."; its index, or -1 when the table is
    // full or the species is empty or listed already.
    int AddOwnSpecies(const std::string& species, const std::string& breed);

private:
    std::string m_fileName;
    bool m_hasNumbers = false;
    std::vector<SpeciesBreeds> m_species;
    std::vector<std::string> m_notes;
};
