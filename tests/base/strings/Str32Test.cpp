#include <gtest/gtest.h>

#include <cerrno>

#include "base/strings/Str32.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

TEST(Str32, FindsCharactersAndStrings) {
    const char32_t* text = U"abcabc";
    EXPECT_EQ(Str32FindChar(text, 'c'), text + 2);
    EXPECT_EQ(Str32FindChar(text, 0), nullptr);
    EXPECT_EQ(Str32FindChar(U"", 'a'), nullptr);
    EXPECT_EQ(Str32FindLastChar(text, 'a'), text + 3);
    EXPECT_EQ(Str32FindLastChar(text, 'x'), nullptr);
    EXPECT_EQ(Str32FindString(text, U"ca"), text + 2);
    EXPECT_EQ(Str32FindString(text, U"cb"), nullptr);
    EXPECT_EQ(Str32FindString(text, U"abcabcd"), nullptr);
    EXPECT_EQ(Str32FindString(text, U""), text);
    EXPECT_EQ(Str32FindString(U"", U""), nullptr);
}

TEST(Str32, ComparesByTheFirstDifferingUnit) {
    const struct {
        const char32_t* a;
        const char32_t* b;
        int exact;
        int noCase;
    } cases[] = {
        {U"abc", U"abc", 0, 0},         {U"ABC", U"abd", 'B' - 'b', 'C' - 'D'},
        {U"ABC", U"abc", 'A' - 'a', 0}, {U"", U"a", -'a', -'A'},
        {U"ab", U"a", 'b', 'B'},        {U"\u00e9", U"\u00c9", 0xE9 - 0xC9, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Str32Compare(c.a, c.b), c.exact);
        EXPECT_EQ(Str32CompareNoCase(c.a, c.b), c.noCase);
    }
    EXPECT_EQ(Str32CompareN(U"abcX", U"abcY", 3), 0);
    EXPECT_LT(Str32CompareN(U"abcX", U"abcY", 4), 0);
    EXPECT_EQ(Str32CompareNoCaseN(U"abcX", U"ABCY", 3), 0);
    EXPECT_LT(Str32CompareNoCaseN(U"abcX", U"ABCY", 4), 0);
    EXPECT_EQ(Str32CompareNoCaseN(U"a", U"b", 0), 0);
    EXPECT_EQ(Str32CompareNoCaseN(U"ab", U"AB", 10), 0);
}

TEST(Str32, CopiesMovesAndAppends) {
    char32_t buffer[16] = {};
    EXPECT_EQ(Str32Copy(buffer, U"abc"), buffer);
    Str32Append(buffer, U"de");
    EXPECT_EQ(Str32Compare(buffer, U"abcde"), 0);
    EXPECT_EQ(Str32Length(buffer), 5);
    Mem32Move(buffer + 1, buffer, 5);  // overlapping
    EXPECT_EQ(Str32Compare(buffer, U"aabcde"), 0);
    Mem32Fill(buffer, 'z', 2);
    EXPECT_EQ(Str32Compare(buffer, U"zzbcde"), 0);
}

TEST(Str32, ParsesUnsignedNumbers) {
    const struct {
        const char32_t* text;
        int radix;
        unsigned value;
        int endIndex;
    } cases[] = {
        {U" +1f", 16, 31, 4},   {U"1F", 16, 31, 2},  {U"12z", 10, 12, 2}, {U"ff", 10, 0, 0},
        {U"\t 42 ", 10, 42, 4}, {U"777", 8, 511, 3}, {U"789", 8, 7, 1},   {U"4294967296", 10, 0, 10},  // wraps
        {U"", 10, 0, 0},
    };
    for (const auto& c : cases) {
        const char32_t* end = nullptr;
        EXPECT_EQ(Str32ToUnsigned(c.text, &end, c.radix), c.value);
        EXPECT_EQ(end - c.text, c.endIndex);
    }

    const char32_t* untouched = U"x";
    const char32_t* end = untouched;
    errno = 0;
    EXPECT_EQ(Str32ToUnsigned(U" -5", &end, 10), 0u);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(end, untouched);
    EXPECT_EQ(Str32ToUnsigned(U"99", nullptr, 10), 99u);
}

}  // namespace
