#include "patient/SpeciesList.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

// What did not fit, counted while reading.
struct Cuts {
    int longLines = 0;
    bool linesIgnored = false;
    int longNames = 0;
    int longNumbers = 0;
    int speciesLines = 0;
    int breeds = 0;
    int orphans = 0;
};

// Cuts `text` to `max` bytes without leaving half a UTF-8 character; true
// when it was longer.
bool Cut(std::string& text, std::size_t max)
{
    if (text.size() <= max)
        return false;
    text.resize(max);
    std::size_t lead = text.size();
    while (lead > 0 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead > 0) {
        const auto byte = static_cast<unsigned char>(text[lead - 1]);
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (lead - 1 + length > text.size())
            text.resize(lead - 1);
    }
    return true;
}

void AddLine(const std::string& line, bool hasNumbers, std::string& current, std::vector<SpeciesBreeds>& species,
             Cuts& cuts)
{
    const std::size_t tab = line.find('\t');
    std::string name = tab == std::string::npos ? std::string() : line.substr(0, tab);
    const std::string rest = tab == std::string::npos ? line : line.substr(tab + 1);
    if (name.empty())
        name = current;
    if (name.empty()) {
        ++cuts.orphans;
        return;
    }
    current = name;
    const std::size_t secondTab = rest.find('\t');
    std::string breed = rest.substr(0, secondTab);
    std::string number = hasNumbers && secondTab != std::string::npos ? rest.substr(secondTab + 1) : std::string();
    cuts.longNames += Cut(name, CSpeciesList::kMaxNameLength) + Cut(breed, CSpeciesList::kMaxNameLength);
    cuts.longNumbers += Cut(number, CSpeciesList::kMaxNumberLength);

    auto entry = std::find_if(species.begin(), species.end(), [&](const SpeciesBreeds& s) { return s.name == name; });
    if (entry == species.end()) {
        if (species.size() == CSpeciesList::kMaxSpecies) {
            ++cuts.speciesLines;
            return;
        }
        entry = species.insert(species.end(), SpeciesBreeds{name, {}, {}});
    }
    if (breed.empty())
        return;
    if (entry->breeds.size() == CSpeciesList::kMaxBreeds) {
        ++cuts.breeds;
        return;
    }
    entry->breeds.push_back(std::move(breed));
    if (hasNumbers)
        entry->numbers.push_back(std::move(number));
}

std::vector<std::string> NotesOf(const std::string& file, const Cuts& cuts)
{
    std::vector<std::string> notes;
    const auto note = [&](int count, const std::string& what) {
        if (count > 0)
            notes.push_back(file + ": " + std::to_string(count) + " " + what);
    };
    note(cuts.longLines, "line(s) longer than 59 characters cut");
    if (cuts.linesIgnored)
        notes.push_back(file + ": lines after the 1999th ignored");
    note(cuts.longNames, "species or breed name(s) longer than 49 characters cut");
    note(cuts.longNumbers, "breed number(s) longer than 9 characters cut");
    note(cuts.speciesLines, "line(s) of species after the 25th ignored");
    note(cuts.breeds, "breed(s) after the 500th of a species ignored");
    note(cuts.orphans, "line(s) without a species ignored");
    return notes;
}

} // namespace

CSpeciesList CSpeciesList::ReadFolder(const std::filesystem::path& folder)
{
    for (const char* name : {kCustomFileName, kFileName}) {
        std::ifstream file(folder / name, std::ios::binary);
        if (file.is_open())
            return Read(file, name);
    }
    return {};
}

CSpeciesList CSpeciesList::Read(std::istream& in, const std::string& fileName)
{
    CSpeciesList list;
    list.m_fileName = fileName;
    Cuts cuts;
    std::string line;
    bool header = true;
    std::size_t lines = 0;
    std::string current;

    // False once the table has taken all the lines it may.
    const auto endLine = [&] {
        cuts.longLines += Cut(line, kMaxLineLength);
        if (line.empty())
            return true;
        if (header) {
            list.m_hasNumbers = line.find("Number") != std::string::npos;
            header = false;
        } else if (lines == kMaxLines) {
            cuts.linesIgnored = true;
            return false;
        } else {
            ++lines;
            AddLine(line, list.m_hasNumbers, current, list.m_species, cuts);
        }
        line.clear();
        return true;
    };

    bool more = true;
    for (std::istreambuf_iterator<char> it(in), end; more && it != end; ++it) {
        const char c = *it;
        if (c == '"')
            continue;
        if (c == '\r' || c == '\n')
            more = endLine();
        else if (line.size() <= kMaxLineLength)
            line += c;  // one more than fits tells a long line
    }
    if (more)
        endLine();
    list.m_notes = NotesOf(fileName, cuts);
    return list;
}

int CSpeciesList::Find(std::string_view species) const
{
    const auto it = std::find_if(m_species.begin(), m_species.end(),
                                 [&](const SpeciesBreeds& s) { return s.name == species; });
    return it == m_species.end() ? -1 : static_cast<int>(it - m_species.begin());
}

int CSpeciesList::AddOwnSpecies(const std::string& species, const std::string& breed)
{
    if (species.empty() || m_species.size() >= kMaxSpecies || Find(species) >= 0)
        return -1;
    SpeciesBreeds own{species, {breed.empty() ? std::string("Unknown") : breed}, {}};
    if (m_hasNumbers)
        own.numbers.push_back(kOwnSpeciesNumber);
    m_species.push_back(std::move(own));
    return static_cast<int>(m_species.size()) - 1;
}
