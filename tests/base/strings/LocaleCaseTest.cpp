#include <gtest/gtest.h>

#include <cstring>

#include "base/strings/DateText.h"
#include "base/strings/LocaleCase.h"
#include "base/strings/Timestamp.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

class LocaleCaseTables : public ::testing::Test {
protected:
    void SetUp() override { InitCaseTables(); }
};

TEST_F(LocaleCaseTables, MapAsciiLettersAndNothingElseOfAscii) {
    EXPECT_TRUE(LocaleCaseTablesBuilt);
    for (int b = 0; b < 128; b++) {
        bool lowerLetter = b >= 'a' && b <= 'z';
        bool upperLetter = b >= 'A' && b <= 'Z';
        EXPECT_EQ(LocaleUpperTable[b], lowerLetter ? b - 32 : b) << b;
        EXPECT_EQ(LocaleLowerTable[b], upperLetter ? b + 32 : b) << b;
    }
}

TEST_F(LocaleCaseTables, CompareAndMapTextsInPlace) {
    EXPECT_LT(LocaleCompareNoCase("abc", "ABD"), 0);
    EXPECT_EQ(LocaleCompareNoCase("abc", "ABC"), 0);
    EXPECT_LT(LocaleCompareNoCase("", "a"), 0);
    EXPECT_GT(LocaleCompareNoCase("ab", "a"), 0);
    EXPECT_EQ(LocaleCompareNoCaseN("abcX", "ABCY", 3), 0);
    EXPECT_LT(LocaleCompareNoCaseN("abcX", "ABCY", 4), 0);
    EXPECT_EQ(LocaleCompareNoCaseN("a", "b", 0), 0);

    char text[] = "Mixed Case 1";
    LocaleUpperInPlace(text);
    EXPECT_STREQ(text, "MIXED CASE 1");
    LocaleLowerInPlace(text);
    EXPECT_STREQ(text, "mixed case 1");
}

TEST(FormatShortDate, RightAlignedToTheWidthOfTheLastDayOf1999) {
    const int width = FormatDate(31, 12, 1999).Length();
    ASSERT_GT(width, 0);

    const struct { int day, month, year; } dates[] = {{1, 2, 2003}, {31, 12, 1999}, {15, 6, 12345}};
    for (const auto& d : dates) {
        Estring plain = FormatDate(d.day, d.month, d.year);
        ASSERT_GT(plain.Length(), 0);
        TLocalDateTime date = {};
        date.year = d.year;
        date.month = d.month;
        date.day = d.day;
        Estring aligned = FormatShortDate(date);
        EXPECT_EQ(aligned.Length(), width);
        if (plain.Length() <= width) {
            // Blanks on the left, then the whole date.
            EXPECT_TRUE(SameBytes(aligned.Right(plain.Length()), plain.Data()));
            EXPECT_TRUE(SameBytes(aligned.Left(width - plain.Length()).Trim(), ""));
        } else {
            // A longer text keeps only its last characters.
            EXPECT_TRUE(SameBytes(aligned, plain.Right(width).Data()));
        }
    }
}

}  // namespace
