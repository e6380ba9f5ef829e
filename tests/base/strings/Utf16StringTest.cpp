#include <gtest/gtest.h>

#include "base/strings/Utf16String.h"
#include "base/strings/Westring.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

bool IsInline(const Utf16String& s) {
    const char* data = (const char*)s.Data();
    return data >= (const char*)&s && data < (const char*)(&s + 1);
}

TEST(Utf16String, BuildsSurrogatePairsFromCodePoints) {
    const struct {
        std::initializer_list<char32_t> text;
        std::initializer_list<char16_t> units;
        int codePoints;
    } cases[] = {
        {{0x1F600}, {0xD83D, 0xDE00}, 1},    {{'a', 0x10000, 'b'}, {'a', 0xD800, 0xDC00, 'b'}, 3},
        {{0x10FFFF}, {0xDBFF, 0xDFFF}, 1},   {{0xD83D, 'x'}, {0xD83D, 'x'}, 2},  // a lone surrogate passes unchanged
        {{0xE9, 0xFFFF}, {0xE9, 0xFFFF}, 2}, {{}, {}, 0},
    };
    for (const auto& c : cases) {
        Westring text = Units(c.text);
        Utf16String wide(text);
        ASSERT_EQ(wide.Units(), (int)c.units.size());
        EXPECT_EQ(wide.CodePoints(), c.codePoints);
        int i = 0;
        for (char16_t u : c.units)
            EXPECT_EQ((char16_t)wide.Data()[i++], u);
        EXPECT_EQ(wide.Data()[i], 0);

        Utf16String measured;
        EXPECT_EQ(measured.Measure(text.Data()), c.codePoints);
        EXPECT_EQ(measured.Units(), (int)c.units.size());

        // And back again, unchanged.
        EXPECT_TRUE(SameUnits(Westring(wide.Data()), text));
    }
}

TEST(Utf16String, InlineBelow21UnitsElseAHeapBlock) {
    Utf16String twenty(RepeatChar32('a', 20));
    EXPECT_TRUE(IsInline(twenty));
    Utf16String twentyOne(RepeatChar32('a', 21));
    EXPECT_FALSE(IsInline(twentyOne));
    EXPECT_EQ(twentyOne.Units(), 21);
    // Ten pairs make 20 units: still inline; eleven make 22.
    EXPECT_TRUE(IsInline(Utf16String(RepeatChar32(0x1F600, 10))));
    EXPECT_FALSE(IsInline(Utf16String(RepeatChar32(0x1F600, 11))));
}

TEST(Utf16String, CopiesCountsAndAssigns) {
    Utf16String source(RepeatChar32(0x1F600, 12) + Westring("z"));
    Utf16String copy(source.Data());
    EXPECT_EQ(copy.Units(), 25);
    EXPECT_EQ(copy.CodePoints(), 13);
    Utf16String copied(copy);
    EXPECT_EQ(copied.Units(), 25);
    EXPECT_EQ(copied.CodePoints(), 13);
    EXPECT_TRUE(SameUnits(Westring(copied.Data()), Westring(Westring(source.Data()))));

    Utf16String part;
    part.Assign(source.Data(), 3);  // a pair and a lone high surrogate
    EXPECT_EQ(part.Units(), 3);
    EXPECT_EQ(part.CodePoints(), 2);
    EXPECT_EQ(part.Data()[3], 0);
    part.Assign(part.Data() + 2, 1);  // from its own buffer
    EXPECT_EQ(part.Units(), 1);
    EXPECT_EQ(part.Data()[0], 0xD83D);
    copy = part;
    EXPECT_EQ(copy.Units(), 1);
    EXPECT_TRUE(IsInline(copy));
}

}  // namespace
