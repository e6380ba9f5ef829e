#include <gtest/gtest.h>

#include "base/strings/MixedCase.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

TEST(ToMixedCase, CapitalisesWords) {
    const struct {
        const char* text;
        const char* mixed;
    } cases[] = {
        {"hello world", "Hello World"},
        {"HELLO WORLD", "Hello World"},
        {"o'brien", "O'Brien"},
        {"i'll", "I'll"},
        {"i've", "I've"},
        {"I'LL", "I'll"},
        {"john's", "John's"},
        {"don't", "Don't"},
        {"3rd street", "3rd Street"},
        {"rock'n'roll", "Rock'n'roll"},
        {"mcdonald-smith", "Mcdonald-Smith"},
        {"o'b", "O'b"},
        {"file_name.TXT", "File_Name.Txt"},
        {"\xC3\xA9T\xC3\x89 \xC3\xA0", "\xC3\x89t\xC3\xA9 \xC3\x80"},  // été à
        {"", ""},
    };
    for (const auto& c : cases) {
        Westring text(c.text);
        ToMixedCase(text);
        EXPECT_TRUE(SameUnits(text, Westring(c.mixed))) << c.text;
    }
}

TEST(IsLetterChar, AsciiByTheCLibraryOthersByTheRangeTable) {
    const struct {
        char32_t c;
        int letter;
    } cases[] = {
        {'a', 1},   {'Z', 1},    {'1', 0},    {'_', 0}, {' ', 0}, {0xE9, 1}, {0xD7, 0},  // é; the multiplication sign
        {0x3B1, 1}, {0x4E00, 1}, {0x2014, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsLetterChar(c.c), c.letter) << std::hex << (unsigned)c.c;
}

}  // namespace
