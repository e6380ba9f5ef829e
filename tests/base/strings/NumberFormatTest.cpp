#include "base/strings/NumberFormat.h"

#include <gtest/gtest.h>

#include <string>

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

namespace {

std::string Utf8(const char32_t* text) {
    Estring out;
    Westring(text).ToUtf8(out);
    return out.Data();
}

std::string Format64(int64_t value, int width) {
    char32_t text[NumberTextSize];
    FormatNumberToWidth64(value, text, width);
    return Utf8(text);
}

std::string Format32(uint32_t value, int width) {
    char32_t text[NumberTextSize];
    FormatNumberToWidth(value, text, width);
    return Utf8(text);
}

// Restores the separator a test changed.
class SeparatorGuard {
public:
    SeparatorGuard() : saved(ThousandsSeparator) {}
    ~SeparatorGuard() { ThousandsSeparator = saved; }

private:
    char32_t saved;
};

TEST(NumberFormatTest, InsertsSeparatorsEveryThreeDigitsFromTheRight) {
    struct Case {
        const char32_t* digits;
        const char* text;
    } cases[] = {
        {U"", ""}, {U"7", "7"}, {U"123", "123"}, {U"1234", "1,234"}, {U"123456", "123,456"}, {U"1234567", "1,234,567"},
    };
    for (const Case& c : cases) {
        char32_t out[NumberTextSize];
        InsertThousandsSeparators(out, c.digits);
        EXPECT_EQ(c.text, Utf8(out)) << c.text;
    }
}

TEST(NumberFormatTest, UsesTheLocaleSeparatorAndNoneWhenItIsZero) {
    SeparatorGuard guard;
    ThousandsSeparator = '.';
    EXPECT_EQ("1.234.567", Format64(1234567, 20));
    ThousandsSeparator = 0;
    EXPECT_EQ("1234567", Format64(1234567, 20));
}

TEST(NumberFormatTest, SixtyFourBitValuesFallBackToUnits) {
    struct Case {
        int64_t value;
        int width;
        const char* text;
    } cases[] = {
        // K already at the limit; the limit drops a digit when the width is
        // not a multiple of 4.
        {1500000000, 10, "1,464,843K"},
        {99999999, 10, "99,999,999"},
        {100000000, 10, "97,656K"},
        // Width 8 holds six digits and keeps its limit for the larger units.
        {999999, 8, "999,999"},
        {1000000, 8, "976K"},
        {1000000000, 8, "976,562K"},
        {2000000000, 8, "1,907M"},
        {1000001LL * 1024 * 1024, 8, "976G"},
        {5LL * 1073741824, 7, "5,120M"},
        {3LL << 40, 4, "3T"},
        {INT64_MAX, 6, "8,388,607T"},
        {INT64_MAX, 30, "9,007,199,254,740,991K"},  // 18 digits at most
        {-1234, 10, "-1,234"},
        {0, 1, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, Format64(c.value, c.width)) << c.value << " in " << c.width;
    }
}

TEST(NumberFormatTest, ThirtyTwoBitValuesSwitchOnlyAboveTheLimit) {
    struct Case {
        uint32_t value;
        int width;
        const char* text;
    } cases[] = {
        {999, 4, "999"},
        {1000, 4, "1,000"},  // wider than the field: 1000 is not above 10^3
        {1001, 4, "0K"},
        {1025, 4, "1K"},
        {2000000, 4, "1M"},  // 1953K would be above 10^2
        {4294967295u, 14, "4,294,967,295"},
        {4294967295u, 13, "4,294,967,295"},
        {4294967295u, 12, "4,194,303K"},
        {4294967295u, 8, "4,095M"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, Format32(c.value, c.width)) << c.value << " in " << c.width;
    }
}

TEST(NumberFormatTest, WidthsOfZeroOrLessStayInsideTheTables) {
    struct Case {
        int64_t value;
        int width;
        const char* text;
    } cases[] = {
        {0, 0, "0"},
        {0, -1, "0"},
        {1024, 0, "1K"},
        {1024, -4, "1K"},
        {1024, -1, "0M"},  // the limit has dropped to 0
        {INT64_MAX, 0, "8,388,607T"},
        {INT64_MAX, -100, "8,388,607T"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, Format64(c.value, c.width)) << c.value << " in " << c.width;
    }
    const int widths[] = {0, -1, -100};
    for (int width : widths) {
        EXPECT_EQ("0", Format32(0, width)) << width;
        EXPECT_EQ("4,095M", Format32(4294967295u, width)) << width;
    }
}

}  // namespace
