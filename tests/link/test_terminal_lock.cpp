#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "link/TerminalPassword.h"

namespace {

TEST(TerminalLock, TheGeneratorIsIsoCsExample)
{
    // The sequence ISO C prints for its sample rand() after srand(1).
    CDayCodeGenerator generator(1);
    for (const int expected : {16838, 5758, 10113, 17515, 31051, 5627})
        EXPECT_EQ(generator.Draw(), expected);
}

TEST(TerminalLock, EachCodeGivesItsAuthority)
{
    const std::string today = CodeOfTheDay(2024, 3, 14);
    ASSERT_EQ(today.size(), 7u);
    for (const char c : today)
        EXPECT_NE(std::string(kDayCodeTable).find(c), std::string::npos) << today;
    // The sum of the date seeds the code: another day gives another code.
    const std::string tomorrow = CodeOfTheDay(2024, 3, 15);
    ASSERT_NE(today, tomorrow);

    std::string upper = today;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    struct Case {
        std::string typed;
        bool serviceMode;
        int day;
        TermAccess access;
    };
    const Case cases[] = {
        {"TornWhisk", false, 14, TermAccess::kFull},
        {"tornwhisk", false, 15, TermAccess::kFull},
        {"tornwhisk ", false, 14, TermAccess::kRefused},
        {today, false, 14, TermAccess::kProvisional},
        {upper, false, 14, TermAccess::kProvisional},
        {today, false, 15, TermAccess::kRefused},
        {tomorrow, false, 15, TermAccess::kProvisional},
        {"", false, 14, TermAccess::kRefused},
        {"", true, 14, TermAccess::kFull},
        {"wrong", true, 14, TermAccess::kFull},
        // Only 39 characters are read.
        {"tornwhisk" + std::string(31, 'x'), false, 14, TermAccess::kRefused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckTerminalPassword(c.typed, c.serviceMode, 2024, 3, c.day), c.access)
            << "'" << c.typed << "' day " << c.day;
}

TEST(TerminalLock, DrawsMapOntoTheTableWithoutPassingItsEnd)
{
    const std::string table = kDayCodeTable;
    struct Case {
        int draw;
        char expected;
    };
    for (const Case c : {Case{0, table.front()}, Case{32767, table.back()}, Case{32766, table.back()}}) {
        const std::string code = DayCodeFromDraws([&] { return c.draw; });
        EXPECT_EQ(code, std::string(7, c.expected)) << c.draw;
    }
}

}  // namespace
