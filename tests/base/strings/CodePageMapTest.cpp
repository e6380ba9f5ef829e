#include "base/strings/CodePageMap.h"

#include <gtest/gtest.h>

#include "base/strings/ConsoleCodePage.h"

namespace {

TEST(CodePageMap, SamePageOrPageZeroLeavesTheTextAndBuildsNothing) {
    TCodePageMapSlot slot;
    EXPECT_STREQ("a\x82z", ConvertCodePage("a\x82z", slot, 0, 1252).Data());
    EXPECT_STREQ("a\x82z", ConvertCodePage("a\x82z", slot, 850, 0).Data());
    EXPECT_STREQ("a\x82z", ConvertCodePage("a\x82z", slot, 850, 850).Data());
    EXPECT_EQ(nullptr, slot.map);
    EXPECT_STREQ("", ConvertCodePage(nullptr, slot, 850, 850).Data());
}

TEST(CodePageMap, TranslatesBytewiseAndCachesThePair) {
    TCodePageMapSlot there;
    TCodePageMapSlot back;
    // 0x82 is e-acute in code page 850 and 0xE9 in 1252; ASCII stays.
    EXPECT_STREQ("caf\xE9!", ConvertCodePage("caf\x82!", there, 850, 1252).Data());
    EXPECT_STREQ("caf\x82!", ConvertCodePage("caf\xE9!", back, 1252, 850).Data());

    const TCodePageMap* built = there.map;
    ASSERT_NE(nullptr, built);
    EXPECT_EQ(850u, built->sourcePage);
    EXPECT_EQ(1252u, built->targetPage);
    EXPECT_STREQ("\xE9", ConvertCodePage("\x82", there, 850, 1252).Data());
    EXPECT_EQ(built, there.map);  // the same pair reuses the map

    // Another pair replaces it.
    EXPECT_STREQ("\x82", ConvertCodePage("\x82", there, 1252, 1252).Data());
    EXPECT_EQ(built, there.map);  // equal pages never touch the slot
    ConvertCodePage("\xE9", there, 1252, 850);
    ASSERT_NE(nullptr, there.map);
    EXPECT_EQ(1252u, there.map->sourcePage);
    EXPECT_EQ(850u, there.map->targetPage);
}

TEST(CodePageMap, BuildKeepsByteZeroAndCountsAllBytes) {
    TCodePageMap map;
    EXPECT_EQ(256, map.Build(850, 1252));
    EXPECT_EQ(0, map.table[0]);
    EXPECT_EQ('A', map.table['A']);
    EXPECT_EQ(0xE9, map.table[0x82]);
}

TEST(CodePageMap, ConsoleCodePageDirections) {
    UINT saved = ConsoleOutputCodePage;
    ConsoleOutputCodePage = 1252;
    EXPECT_STREQ("\xE9", ToConsoleCodePage("\x82", 850).Data());
    EXPECT_STREQ("\x82", FromConsoleCodePage(Estring("\xE9"), 850).Data());
    EXPECT_STREQ("x\xE9", Estring("x\x82", 850).Data());
    EXPECT_STREQ("", Estring(nullptr, 850).Data());
    ConsoleOutputCodePage = saved;
}

TEST(QuotedFields, NextQuotedField) {
    struct {
        const char* text;
        const char* field;
        const char* rest;  // where the cursor is left
    } cases[] = {
        {"\"a,b\",c", "a,b", "c"},
        {"\"x\"\"y\"", "x\"y", ""},
        {"\\065z", "Az", ""},
        {"\\,d", ",d", ""},
        {"\\0651", "A1", ""},
        {"\\9x", "\tx", ""},
        {"a b ,c", "a b ", "c"},
        {"line\nend,", "lineend", ""},
        {"", "", ""},
        {",x", "", "x"},
        {"ab\\", "ab", ""},
        {"\\", "", ""},
        {"\\000x", "x", ""},
        {"a\"b\"c,d", "abc", "d"},
    };
    for (const auto& c : cases) {
        const char* cursor = c.text;
        Estring field = NextQuotedField(cursor);
        EXPECT_STREQ(c.field, field.Data()) << c.text;
        EXPECT_STREQ(c.rest, cursor) << c.text;
        EXPECT_LE(cursor, c.text + strlen(c.text)) << c.text;  // never past the terminator
    }
}

TEST(QuotedFields, TakeQuotedFieldConsumesTheList) {
    Estring list("a,b,c");
    EXPECT_STREQ("a", TakeQuotedField(list).Data());
    EXPECT_STREQ("b,c", list.Data());
    Estring single("whole text");
    EXPECT_STREQ("whole text", TakeQuotedField(single).Data());
    EXPECT_TRUE(single.IsEmpty());
}

}  // namespace
