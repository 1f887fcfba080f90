// UTF-8 text to the single-byte code page of the recording files, and the
// zero-padded fields it fills.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/Windows1252.h"

TEST(Windows1252, EachCodePointOrBrokenSequenceBecomesOneByte)
{
    const struct {
        const char* utf8;
        std::string expected;
    } cases[] = {
        {"Rex 12.5 kgs", "Rex 12.5 kgs"},
        {"M\u00FCller \u00A0\u00FF", "M\xFC" "ller \xA0\xFF"},
        {"\u20AC\u201A\u0160\u0178\u2122", "\x80\x82\x8A\x9F\x99"},
        {"\u0081\u0100\u72AC\U0001F600", "????"},          // C1 control, no byte in the code page
        {"\xC3", "?"},                                       // cut short at the end
        {"\xE2\x82" "A", "?A"},                              // cut short before a letter
        {"\x80\xBF", "??"},                                  // stray continuation bytes
        {"\xC0\xAF", "??"},                                  // overlong '/'
        {"\xED\xA0\x80", "???"},                             // a surrogate
        {"\xF4\x90\x80\x80", "????"},                        // beyond U+10FFFF
        {"\xFF" "a", "?a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToWindows1252(c.utf8), c.expected) << c.utf8;
    // Back again, as a recovered file's texts are read; an undefined byte
    // reads as '?'.
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(Windows1252ToUtf8(cases[i].expected), cases[i].utf8);
    EXPECT_EQ(Windows1252ToUtf8("\x81\x9D" "a"), "??a");
}

TEST(Windows1252, FieldsHoldAtMostTheirSizeLessOneConvertedBytes)
{
    const struct {
        const char* utf8;
        std::array<uint8_t, 5> expected;
    } cases[] = {
        {"abcdefg", {'a', 'b', 'c', 'd', 0}},
        {"\u00FC\u00FC\u00FC\u00FC\u00FC", {0xFC, 0xFC, 0xFC, 0xFC, 0}},  // limit counts bytes written
        {"ab", {'a', 'b', 0, 0, 0}},
        {"", {0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        std::array<uint8_t, 6> field;
        field.fill(0xAA);
        CopyTextField(field.data(), 5, c.utf8);
        EXPECT_EQ((std::array<uint8_t, 5>{field[0], field[1], field[2], field[3], field[4]}), c.expected) << c.utf8;
        EXPECT_EQ(field[5], 0xAA) << "wrote past the field";
    }
}
