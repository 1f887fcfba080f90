// The species-and-breeds file: its format, quoting and line ends, the
// number column, the table's limits and which file is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "patient/SpeciesList.h"

namespace {

CSpeciesList ReadText(const std::string& text)
{
    std::istringstream in(text);
    return CSpeciesList::Read(in, "test.txt");
}

// "Canine:Lab=12,Poodle=|Feline:Siamese" (numbers only with the column).
std::string Describe(const CSpeciesList& list)
{
    std::string text;
    for (const SpeciesBreeds& species : list.Species()) {
        text += (text.empty() ? "" : "|") + species.name + ":";
        for (std::size_t i = 0; i < species.breeds.size(); ++i) {
            text += (i == 0 ? "" : ",") + species.breeds[i];
            if (list.HasNumbers())
                text += "=" + species.numbers.at(i);
        }
    }
    return text;
}

// Every field in double quotes and CR LF line ends, as a spreadsheet
// exports it.
std::string QuotedCrlf(const std::string& text)
{
    std::string quoted;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty())
            continue;
        quoted += '"';
        for (const char c : line)
            quoted += c == '\t' ? std::string("\"\t\"") : std::string(1, c);
        quoted += "\"\r\n";
    }
    return quoted;
}

std::filesystem::path SourceFolder()
{
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

struct FormatCase {
    const char *name, *text;
    bool numbers;
    const char* species;
};

const std::vector<FormatCase> kFormats{
    {"no Number: a third column is ignored", "Species\tBreed\nCanine\tLab\t12\nFeline\tSiamese\n", false,
     "Canine:Lab|Feline:Siamese"},
    {"numbers", "Species\tBreed\tNumber\nCanine\tLab\t12\nCanine\tPoodle\nFeline\tSiamese\t7\n", true,
     "Canine:Lab=12,Poodle=|Feline:Siamese=7"},
    {"no Number in any case but this", "Species\tBreed\tnumber\nCanine\tLab\t12\n", false, "Canine:Lab"},
    {"no species: the one before", "H\nCanine\tLab\nPoodle\n\tBoxer\n", false, "Canine:Lab,Poodle,Boxer"},
    {"order of first appearance, exact", "H\nCanine\tA\nFeline\tB\ncanine\tC\nCanine\tD\n", false,
     "Canine:A,D|Feline:B|canine:C"},
    {"runs of line ends, no last one", "H\r\r\nCanine\tA\r\n\r\n\n\rFeline\tB", false, "Canine:A|Feline:B"},
    {"a species without breeds; a breed before any species", "H\nLab\nCanine\t\nFeline\tB\n", false,
     "Canine:|Feline:B"},
    {"header only", "Species\tBreed\tNumber\n", true, ""},
    {"empty", "", false, ""},
};

} // namespace

TEST(SpeciesList, ReadsTheFormatQuotedOrNotWithEitherLineEnds)
{
    for (const FormatCase& c : kFormats) {
        SCOPED_TRACE(c.name);
        const CSpeciesList plain = ReadText(c.text);
        EXPECT_EQ(plain.HasNumbers(), c.numbers);
        EXPECT_EQ(Describe(plain), c.species);
        const CSpeciesList quoted = ReadText(QuotedCrlf(c.text));
        EXPECT_EQ(quoted.HasNumbers(), plain.HasNumbers());
        EXPECT_EQ(Describe(quoted), Describe(plain));
    }
}

TEST(SpeciesList, WhatExceedsTheTableIsCutAndTold)
{
    const auto species = [](int count) {
        std::string text = "Species\tBreed\tNumber\n";
        for (int i = 0; i < count; ++i)
            text += "S" + std::to_string(i) + "\tB\t1\n";
        return text;
    };
    const auto lines = [](int count, int speciesCount) {
        std::string text = "Species\tBreed\n";
        for (int i = 0; i < count; ++i)
            text += "S" + std::to_string(i % speciesCount) + "\tB" + std::to_string(i) + "\n";
        return text;
    };
    // 59 bytes reached inside a two-byte character: cut before it.
    const std::string umlauts = "Species\tBreed\nCaninexxxx\t" + std::string(47, 'x') + "\xc3\xbc\n";
    struct Case {
        const char* name;
        std::string text;
        std::size_t species, breeds;
        bool tooMany;
        std::size_t notes;
    };
    const std::vector<Case> cases{
        {"24 species", species(24), 24, 24, false, 0},
        {"25 species", species(25), 25, 25, true, 0},
        {"30 species", species(30), 25, 25, true, 1},
        {"600 breeds", lines(600, 1), 1, 500, false, 1},
        {"2100 lines", lines(2100, 5), 5, 1999, false, 1},
        {"a long line", "H\tNumber\nCanine\t" + std::string(60, 'x') + "\t1234567890\n", 1, 1, false, 2},
        {"a long number", "H\tNumber\nCanine\tLab\t1234567890\n", 1, 1, false, 1},
        {"a long species", "H\n" + std::string(55, 's') + "\tLab\n", 1, 1, false, 1},
        {"umlauts", umlauts, 1, 1, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CSpeciesList list = ReadText(c.text);
        std::size_t breeds = 0;
        for (const SpeciesBreeds& s : list.Species()) {
            breeds += s.breeds.size();
            for (const std::string& name : s.breeds) {
                EXPECT_LE(std::max(name.size(), s.name.size()), CSpeciesList::kMaxNameLength);
                EXPECT_NE(static_cast<unsigned char>(name.back()), 0xC3) << "half a character";
            }
            for (const std::string& number : s.numbers)
                EXPECT_LE(number.size(), CSpeciesList::kMaxNumberLength);
        }
        EXPECT_EQ(list.Species().size(), c.species);
        EXPECT_EQ(breeds, c.breeds);
        EXPECT_EQ(list.TooManySpecies(), c.tooMany);
        EXPECT_EQ(list.Notes().size(), c.notes);
    }

    // The patient's own species takes the last slot, with "Unknown" for no
    // breed; a full table takes none.
    CSpeciesList list = ReadText(species(24));
    EXPECT_EQ(list.AddOwnSpecies("S0", "Texel"), -1) << "listed already";
    EXPECT_EQ(list.AddOwnSpecies("Ovine", ""), 24);
    EXPECT_EQ(list.Species().back().breeds, std::vector<std::string>{"Unknown"});
    EXPECT_EQ(list.Species().back().numbers, std::vector<std::string>{"..."});
    EXPECT_EQ(list.AddOwnSpecies("Caprine", "Boer"), -1);
}

TEST(SpeciesList, ThePracticesOwnFileComesFirst)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quorin-species-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    const auto write = [&](const char* name, const char* text) { std::ofstream(folder / name) << text; };

    EXPECT_EQ(CSpeciesList::ReadFolder(folder).FileName(), "");
    EXPECT_TRUE(CSpeciesList::ReadFolder(folder).Species().empty());
    write(CSpeciesList::kFileName, "H\nCanine\tLab\n");
    EXPECT_EQ(Describe(CSpeciesList::ReadFolder(folder)), "Canine:Lab");
    write(CSpeciesList::kCustomFileName, "H\nOvine\tTexel\n");
    EXPECT_EQ(Describe(CSpeciesList::ReadFolder(folder)), "Ovine:Texel");
    EXPECT_EQ(CSpeciesList::ReadFolder(folder).FileName(), CSpeciesList::kCustomFileName);
    std::filesystem::remove_all(folder);

    // The file that ships beside the program.
    const CSpeciesList shipped = CSpeciesList::ReadFolder(SourceFolder());
    EXPECT_TRUE(shipped.Notes().empty());
    std::string names;
    for (const SpeciesBreeds& s : shipped.Species()) {
        names += s.name + " ";
        EXPECT_EQ(s.breeds.front(), "Unknown") << "an empty breed selects it";
    }
    EXPECT_EQ(names, "Canine Feline Equine Other ");
}
