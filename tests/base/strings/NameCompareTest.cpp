#include <gtest/gtest.h>

#include "base/strings/NameCompare.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

struct TOrderCase {
    const char* a;
    const char* b;
    int order;  // sign of the comparison of a with b
};

// Every case is checked both ways: the order must be antisymmetric.
void ExpectOrder(int (*compare)(const char32_t*, const char32_t*), const TOrderCase* cases, int count) {
    for (int i = 0; i < count; i++) {
        Westring a(cases[i].a), b(cases[i].b);
        EXPECT_EQ(Sign(compare(a.Data(), b.Data())), cases[i].order) << cases[i].a << " vs " << cases[i].b;
        EXPECT_EQ(Sign(compare(b.Data(), a.Data())), -cases[i].order) << cases[i].b << " vs " << cases[i].a;
    }
}

TEST(NamePlainCompare, UnderscoreFirstAndPrefixesBeforeExtensions) {
    const TOrderCase cases[] = {
        {"a_b", "aab", -1},
        {"a_b", "a b", -1},
        {"readme", "README.TXT", -1},
        {"Abc", "aBC", 0},
        {"", "a", -1},
        {"file10", "file9", -1},
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", 0},
    };
    ExpectOrder(NamePlainCompare, cases, sizeof cases / sizeof cases[0]);
}

TEST(NameNaturalCompare, NumbersCompareByValue) {
    const TOrderCase cases[] = {
        {"file9", "file10", -1},
        {"a01", "a1", 0},
        {"x_1", "xa", -1},
        {"a9b", "a9c", -1},
        {"a10", "a9z", 1},
        {"a1", "a1b", -1},
        {"FILE2", "file2", 0},
        {"", "1", -1},
        {"a", "a", 0},
        // Runs longer than ten digits and values far apart keep their order.
        {"a12345678901", "a12345678902", -1},
        {"a4294967296", "a1", 1},
        {"a3000000000", "a1", 1},
        {"a99999999999999999999", "a100000000000000000000", -1},
        {"a007", "a0007x", -1},
    };
    ExpectOrder(NameNaturalCompare, cases, sizeof cases / sizeof cases[0]);
}

TEST(NameCompare, AsciiDigitsOnly) {
    EXPECT_TRUE(IsAsciiDigit('0'));
    EXPECT_TRUE(IsAsciiDigit('9'));
    EXPECT_FALSE(IsAsciiDigit('a'));
    EXPECT_FALSE(IsAsciiDigit(0x660));  // Arabic-Indic zero
}

}  // namespace
