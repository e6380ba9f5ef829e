#include <gtest/gtest.h>

#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Utf16String.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

// Sets the console output code page for one test and puts the old one back.
class ConsoleCodePageTest : public ::testing::Test {
protected:
    void SetUp() override { saved = ConsoleOutputCodePage; }
    void TearDown() override { ConsoleOutputCodePage = saved; }
    UINT saved = 0;
};

TEST(WestringCodePage, ConvertsFromCodePages) {
    const struct {
        const char* bytes;
        UINT codePage;
        std::initializer_list<char32_t> units;
    } cases[] = {
        {"\x80 caf\xE9", 1252, {0x20AC, ' ', 'c', 'a', 'f', 0xE9}},
        {"\x82", 850, {0xE9}},
        {"caf\xC3\xA9 \xF0\x9F\x98\x80", CP_UTF8, {'c', 'a', 'f', 0xE9, ' ', 0x1F600}},
        {"", 1252, {}},
    };
    for (const auto& c : cases) {
        Westring s("old text");
        EXPECT_EQ(s.AssignCodePage(c.bytes, c.codePage), 1);
        EXPECT_TRUE(SameUnits(s, Units(c.units))) << c.codePage;
        EXPECT_TRUE(SameUnits(Westring(c.bytes, c.codePage), Units(c.units))) << c.codePage;
    }
}

TEST(WestringCodePage, AnUnknownCodePageGivesAnEmptyString) {
    Westring s("old text");
    EXPECT_EQ(s.AssignCodePage("abc", 59999), 1);
    EXPECT_EQ(s.Length(), 0);
}

TEST(EstringCodePage, ConvertsToCodePagesWithRoomForEveryByte) {
    const struct {
        std::initializer_list<char32_t> units;
        UINT codePage;
        const char* bytes;
    } cases[] = {
        {{0x20AC, 'x', 0xE9}, 1252, "\x80x\xE9"},
        {{0xE9}, 850, "\x82"},
        // Three bytes for every character: more than the text has characters.
        {{0x20AC, 0x20AC, 0x20AC}, CP_UTF8, "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
        {{0x1F600}, CP_UTF8, "\xF0\x9F\x98\x80"},
        {{}, 1252, ""},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SameBytes(Estring(Units(c.units), c.codePage), c.bytes)) << c.codePage;
    EXPECT_TRUE(SameBytes(Estring(Westring("abc"), 59999), ""));
}

TEST_F(ConsoleCodePageTest, ConvertsThroughTheConsoleOutputCodePage) {
    Westring cafe = Units({'c', 'a', 'f', 0xE9});
    ConsoleOutputCodePage = CP_UTF8;
    EXPECT_TRUE(SameBytes(ToEstring(cafe), "caf\xC3\xA9"));
    EXPECT_TRUE(SameUnits(ToWestring(Estring("caf\xC3\xA9")), cafe));

    ConsoleOutputCodePage = 1252;
    EXPECT_TRUE(SameBytes(ToEstring(cafe), "caf\xE9"));
    EXPECT_TRUE(SameUnits(ToWestring(Estring("caf\xE9")), cafe));

    // The copying forms leave the text alone.
    EXPECT_TRUE(SameBytes(ToEstring(Estring("caf\xE9")), "caf\xE9"));
    EXPECT_TRUE(SameUnits(ToWestring(cafe), cafe));
    EXPECT_TRUE(SameUnits(ToWestring(cafe.Data()), cafe));
}

TEST(GetTextCodePage, TheSettingOrTheSystemAnsiCodePage) {
    int saved = TextCodePageSetting;
    TextCodePageSetting = 0;
    EXPECT_EQ(GetTextCodePage(), GetACP());
    TextCodePageSetting = 850;
    EXPECT_EQ(GetTextCodePage(), 850u);
    TextCodePageSetting = saved;
}

}  // namespace
