#include "base/strings/MatchWildcardNarrow.h"

#include <gtest/gtest.h>

namespace {

struct TNarrowCase {
    const char* pattern;
    const char* name;
    bool matches;
};

const TNarrowCase kCases[] = {
    // ini directive keys and syntax-definition values
    {"d[0-9]", "d7", true},
    {"d[0-9]", "D7", true},
    {"d[0-9]", "d", false},
    {"d[0-9]", "d10", false},
    {"*(*)", "Keywords(1)", true},
    {"*(*)", "()", true},
    {"*(*)", "Keywords", false},
    // '?' and '*'
    {"a?c", "abc", true},
    {"a?c", "ac", false},
    {"?", "", false},
    {"*", "", true},
    {"", "", true},
    {"", "a", false},
    {"a*", "a", true},
    {"*b*c", "xbyc", true},
    {"*b*c", "xbycd", false},
    {"**", "anything", true},
    // brace alternatives
    {"{foo,bar}.txt", "BAR.TXT", true},
    {"{foo,bar}.txt", "baz.txt", false},
    {"x{,y}z", "xz", true},
    {"x{,y}z", "xyz", true},
    {"x{,y}z", "xyyz", false},
    {"{a?,[0-9]}!", "a5!", true},
    {"{a?,[0-9]}!", "7!", true},
    {"{a}", "a", true},
    // a '{' whose pieces all fail is an ordinary character
    {"{a}", "{a}", true},
    {"{q}*", "{q}", true},
    {"a{b", "a{b", true},
    {"a{b", "ab", false},
    // character sets
    {"[^0-9]x", "ax", true},
    {"[^0-9]x", "5x", false},
    {"[]", "", false},
    {"[]", "]", false},
    {"[]x", "x", false},
    {"[a-]", "a", true},
    {"[a-]", "Z", true},
    {"[a-]", "~", true},
    {"[a-]", "5", false},
    {"[a-z^q]", "m", true},
    {"[a-z^q]", "q", false},
    {"[^a-z^q]", "q", true},
    {"[^a-z^q]", "r", false},
    {"[-c]", "\x01", true},
    {"[z-a]", "m", false},
    {"[ab-d]", "C", true},
    {"[ab-d]", "e", false},
    {"[A-Z]", "q", true},
    {"a[bc", "a[bc", true},
    {"a[bc", "ab", false},
    {"[a]", "", false},
    // bytes above 0x7F by their unsigned value
    {"[\xE0-\xEF]", "\xE9", true},
    {"[\xE0-\xEF]", "\xF0", false},
    {"[\x80-]", "\xFF", true},
    {"\xE9?", "\xE9x", true},
};

TEST(MatchWildcardNarrow, TableOfPatterns) {
    for (const TNarrowCase& c : kCases)
        EXPECT_EQ(c.matches, MatchWildcardNarrow(c.pattern, c.name))
            << "pattern '" << c.pattern << "' name '" << c.name << "'";
}

TEST(MatchCharSetNarrow, LeavesTheCursorOnTheClosingBracket) {
    struct {
        const char* pattern;
        char c;
        bool member;
        int closeIndex;
    } cases[] = {
        {"[abc]tail", 'b', true, 4},
        {"[^x]", 'x', false, 3},
        {"[]]", ']', false, 1},
        {"[a-]]", '~', true, 3},
    };
    for (const auto& c : cases) {
        const char* p = c.pattern;
        EXPECT_EQ(c.member, MatchCharSetNarrow(p, c.c)) << c.pattern;
        EXPECT_EQ(c.closeIndex, p - c.pattern) << c.pattern;
        EXPECT_EQ(']', *p) << c.pattern;
    }
}

}  // namespace
