// The dialog's field rules: names, weight, age limits, species and units.
#include <gtest/gtest.h>

#include <vector>

#include "patient/PatientRules.h"

TEST(PatientRules, NamesAreTrimmedAndOnlyFileNameCharactersPass)
{
    struct Case {
        const char* typed;
        const char* lastAccepted;
        bool refused;
        const char* text;
        const char* refusedCharacters;
    };
    const std::vector<Case> cases{
        {"Rex", "", false, "Rex", ""},
        {"  Rex Max  ", "", false, "Rex Max", ""},
        {"   ", "Rex", false, "", ""},  // only spaces: an empty name
        {"Bo-2_x", "", false, "Bo-2_x", ""},
        {"Rex!", "Max", true, "Max", "!"},
        {"O'Neil/Bo'", "Max", true, "Max", "'/"},
        {"Rex!", "Bad!", true, "", "!"},  // the last one fails too: emptied
        {"Zo\xc3\xab", "Zo", true, "Zo", "\xc3\xab"},
        {"Tab\tX", "", true, "", "\t"},
        {"a|b", "a", true, "a", "|"},
    };
    for (const Case& c : cases) {
        const NameCheck check = CheckName(c.typed, c.lastAccepted);
        EXPECT_EQ(check.refused, c.refused) << c.typed;
        EXPECT_EQ(check.text, c.text) << c.typed;
        EXPECT_EQ(check.refusedCharacters, c.refusedCharacters) << c.typed;
    }
}

TEST(PatientRules, AWeightBeginsWithADigitOrAPointAndIsStoredWithALeadingDigit)
{
    struct Case {
        const char* typed;
        const char* lastExchanged;
        bool refused;
        const char* restored;  // when refused
        const char* stored;    // when accepted, after OK
    };
    const std::vector<Case> cases{
        {"12a", "", false, "", "12a"},  {"12.5", "", false, "", "12.5"}, {".5", "", false, "", "0.5"},
        {".", "", false, "", "0"},      {"", "12", false, "", "0"},      {"0", "", false, "", "0"},
        {"a12", "12", true, "12", ""},  {"a12", ".5", true, ".5", ""},   {"a12", "x", true, "", ""},
        {" 12", "12", true, "12", ""},  {"-3", "", true, "", ""},
    };
    for (const Case& c : cases) {
        const WeightCheck check = CheckWeight(c.typed, c.lastExchanged);
        EXPECT_EQ(check.refused, c.refused) << c.typed;
        if (c.refused) {
            EXPECT_EQ(check.text, c.restored) << c.typed;
        } else {
            EXPECT_EQ(NormaliseWeight(c.typed), c.stored) << c.typed;
        }
    }
}

TEST(PatientRules, TheChangedAgeEditIsHeldTo200YearsOr18Months)
{
    struct Case {
        const char* years;
        const char* months;
        AgeEdit changed;
        AgeInput age;
    };
    const std::vector<Case> cases{
        {"201", "25", AgeEdit::years, {200, 25, true}},  {"201", "25", AgeEdit::months, {201, 18, true}},
        {"200", "18", AgeEdit::years, {200, 18, false}}, {"200", "18", AgeEdit::months, {200, 18, false}},
        {"3", "6", AgeEdit::years, {3, 6, false}},        {"", "6", AgeEdit::months, {0, 6, false}},
        {"1000", "1", AgeEdit::years, {0, 1, false}},     {"5", "100", AgeEdit::months, {5, 0, false}},
        {"999", "19", AgeEdit::months, {999, 18, true}},  {"7x", "", AgeEdit::years, {7, 0, false}},
    };
    for (const Case& c : cases) {
        const AgeInput age = ReadAge(c.years, c.months, c.changed);
        SCOPED_TRACE(testing::Message() << c.years << "/" << c.months);
        EXPECT_EQ(age.years, c.age.years);
        EXPECT_EQ(age.months, c.age.months);
        EXPECT_EQ(age.capped, c.age.capped);
    }
}
