#include <gtest/gtest.h>

#include "base/strings/Wildcard.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

struct TMatchCase {
    const char* pattern;
    const char* text;
    int result;
};

TEST(MatchWildcard, PatternsAgainstTexts) {
    const TMatchCase cases[] = {
        {"*.TXT", "readme.txt", 1},
        {"*.TXT", "readme.txt.bak", 0},
        {"a?c", "ABC", 1},
        {"a?c", "ac", 0},
        {"a*", "a", 1},
        {"*", "", 1},
        {"", "", 1},
        {"", "a", 0},
        {"a", "", 0},
        {"?", "", 0},
        {"**a**", "bab", 1},
        {"a*b*c", "aXbYbZc", 1},
        {"a*b*c", "aXbYbZ", 0},
        {"*.*", "name", 0},
        // sets
        {"[a-c]x", "Bx", 1},
        {"[^a-c]x", "bx", 0},
        {"[^a-c]x", "dx", 1},
        {"[abc", "[abc", 1},
        {"[abc", "a", 0},
        {"x[ab]", "x", 0},
        {"[]x", "ax", 0},
        {"[^]x", "ax", 1},
        {"[-b]", "\x01", 1},      // a leading '-' ranges from code point 0
        {"[a-]", "\xC3\xBF", 1},  // up to 255
        {"[a-]", "\xC4\x80", 0},
        {"[a^b]", "a", 1},
        {"[a^b]", "b", 0},
        {"[^x^y]", "y", 1},
        {"[^x^y]", "X", 0},
        {"[^x^y]", "z", 1},
        {"[\xC3\xA9]", "\xC3\x89", 1},  // é against É
        {"[c-a-e]", "d", 1},            // a range that held nothing leaves the lower bound at c
        {"[c-a-e]", "b", 0},
        {"[a-c-e]", "d", 1},  // after a range the next one starts past its end
        // alternatives
        {"file.{txt,doc}", "FILE.DOC", 1},
        {"file.{txt,doc}", "file.pdf", 0},
        {"x{,y}z", "xz", 1},
        {"x{,y}z", "xyz", 1},
        {"x{y,}z", "xz", 1},
        {"x{y,,w}z", "xz", 1},
        {"{a,b}", "{a,b}", 1},
        {"{a,b}", "b", 1},
        {"{}x", "{}x", 1},
        {"{}x", "x", 0},
        {"{a*,b}", "a*", 1},  // '*' inside an alternative is literal
        {"{a*,b}", "ab", 0},
        {"{?b,c}d", "xbd", 1},
        {"{[b,c]}x", ",x", 1},  // a set is read whole while it matches
        {"{q,[b,c]}x", "cx", 1},
        {"*{.txt,.doc}", "a.b.doc", 1},
        {"{a,ab}c", "abc", 1},  // a later alternative is tried when the rest fails
        {"a{b", "a{b", 1},
    };
    for (const TMatchCase& c : cases) {
        Westring pattern(c.pattern), text(c.text);
        EXPECT_EQ(MatchWildcard(pattern.Data(), text.Data()), c.result)
            << "pattern " << c.pattern << " text " << Describe(text);
    }
}

TEST(MatchWildcard, CaseAndCodePointsBeyondTheBasicPlane) {
    const struct {
        std::initializer_list<char32_t> pattern;
        std::initializer_list<char32_t> text;
        int result;
    } cases[] = {
        {{0x10400, '*'}, {0x10428, 'x'}, 1},  // Deseret capital against small
        {{'[', 0x10400, ']'}, {0x10428}, 1},           {{'[', 0x10400, ']'}, {0x10401}, 0},
        {{'[', '^', 'a', ']'}, {0x20000}, 1},          {{'[', 'a', ']'}, {0x20000}, 0},
        {{'[', 'a', '-', 0x20000, ']'}, {0x1F600}, 1}, {{'[', 'a', '-', 0x20000, ']'}, {0x20001}, 0},
        {{'[', 0xFFFFFFFF, ']'}, {0xFFFFFFFF}, 1},     {{'?'}, {0xFFFFFFFF}, 1},
    };
    for (const auto& c : cases) {
        Westring pattern = Units(c.pattern), text = Units(c.text);
        EXPECT_EQ(MatchWildcard(pattern.Data(), text.Data()), c.result)
            << Describe(pattern) << " against " << Describe(text);
    }
}

TEST(MatchCharSet, LeavesTheCursorOnTheClosingBracket) {
    const struct {
        const char* set;
        char32_t ch;
        bool held;
        int closeIndex;
    } cases[] = {
        {"[a-c]x", 'b', true, 4}, {"[a-]", 0xFF, true, 3},
        {"[a-]", 0x60, false, 3}, {"[a^]b]", 'a', true, 3},  // a '^' right before ']' ends the set
        {"[^]", 'q', true, 2},    {"[z-a]", 'm', false, 4},  // a reversed range holds nothing
        {"[z-a]", 'z', true, 4},
    };
    for (const auto& c : cases) {
        Westring set(c.set);
        const char32_t* cursor = set.Data();
        EXPECT_EQ(MatchCharSet(cursor, c.ch), c.held) << c.set;
        EXPECT_EQ(cursor - set.Data(), c.closeIndex) << c.set;
    }
}

}  // namespace
