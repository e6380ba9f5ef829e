#include "ui/WordRight.h"

#include <gtest/gtest.h>

#include "app/settings/Config.h"

namespace {

class WordRightTest : public ::testing::Test {
protected:
    WordRightTest() : saved(Config.BriefWordRight) {}
    ~WordRightTest() override { Config.BriefWordRight = saved; }
    uint8_t saved;
};

TEST_F(WordRightTest, StopsAtTheNextWordStartOrAtTheWordEnd) {
    struct Case {
        const char32_t* wide;
        const char* bytes;
        int offOffset;  // "BriefWordRight" off: start of the next word
        int onOffset;   // on: end of the next word
    } cases[] = {
        {U"abc def", "abc def", 4, 3},   {U"", "", 0, 0},
        {U"abc", "abc", 3, 3},           {U"  ab", "  ab", 2, 4},
        {U"a, b_c.d", "a, b_c.d", 3, 1}, {U"x  _y1 z", "x  _y1 z", 3, 1},
    };
    for (const Case& c : cases) {
        Config.BriefWordRight = 0;
        EXPECT_EQ(c.offOffset, WordRightOffset(c.wide)) << c.bytes;
        EXPECT_EQ(c.offOffset, WordRightOffsetBytes(c.bytes)) << c.bytes;
        Config.BriefWordRight = 1;
        EXPECT_EQ(c.onOffset, WordRightOffset(c.wide)) << c.bytes;
        EXPECT_EQ(c.onOffset, WordRightOffsetBytes(c.bytes)) << c.bytes;
    }
}

TEST_F(WordRightTest, LettersOfOtherScriptsAreWordCharacters) {
    Config.BriefWordRight = 1;
    EXPECT_EQ(5, WordRightOffset(U" \u00E9t\u00E9s ab"));
    Config.BriefWordRight = 0;
    EXPECT_EQ(6, WordRightOffset(U"\u0436\u0436\u0436\u0436  b"));
}

}  // namespace
