#include <gtest/gtest.h>

#include "base/strings/CaseTable.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

TEST(CCaseTable, MapsSimpleCasePairsOfBothPlanes) {
    const struct {
        char32_t c;
        char32_t upper;
        char32_t lower;
    } cases[] = {
        {'a', 'A', 'a'},
        {'Z', 'Z', 'z'},
        {'_', '_', '_'},
        {0, 0, 0},
        {0xE9, 0xC9, 0xE9},
        {0xC9, 0xC9, 0xE9},
        {0xFF, 0x178, 0xFF},
        {0x131, 0x49, 0x131},      // dotless i
        {0x130, 0x130, 0x69},      // dotted capital I
        {0x1C5, 0x1C4, 0x1C6},     // title-case letters have both mappings
        {0x3C2, 0x3A3, 0x3C2},     // final sigma
        {0x4E00, 0x4E00, 0x4E00},  // a page without mappings
        {0xFF5A, 0xFF3A, 0xFF5A},  // fullwidth z
        {0x10428, 0x10400, 0x10428},
        {0x10400, 0x10400, 0x10428},
        {0x104D8, 0x104B0, 0x104D8},  // the last page of the table
        {0x1E900, 0x1E900, 0x1E900},  // beyond the table's pages
        {0x20000, 0x20000, 0x20000},
        {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
    };
    const CCaseTable& table = CCaseTable::Instance();
    for (const auto& c : cases) {
        EXPECT_EQ((unsigned)table.ToUpper(c.c), (unsigned)c.upper) << std::hex << (unsigned)c.c;
        EXPECT_EQ((unsigned)table.ToLower(c.c), (unsigned)c.lower) << std::hex << (unsigned)c.c;
        EXPECT_EQ(ToUpperChar(c.c), c.upper);
        EXPECT_EQ(ToLowerChar(c.c), c.lower);
    }
}

TEST(CCaseTable, OneInstanceForTheProcess) {
    EXPECT_EQ(&CCaseTable::Instance(), &CCaseTable::Instance());
}

TEST(CCaseTable, LoadsAListIntoItsPlane) {
    // A table of its own with two more lists: one for the last page it has,
    // one beyond its pages, which it must leave alone.
    static const CCaseTable::TCaseTriple lastPage[] = {{0x04FE, 0x04FF, 0}, {0, 0, 0}};
    static const CCaseTable::TCaseTriple beyond[] = {{0x0001, 0x0002, 0}, {0, 0, 0}};
    CCaseTable table;
    table.LoadPlane(lastPage, 1);
    table.LoadPlane(beyond, 2);
    EXPECT_EQ((unsigned)table.ToLower(0x104FE), 0x104FFu);
    EXPECT_EQ((unsigned)table.ToUpper(0x104FE), 0x104FEu);  // upper 0 keeps the case
    EXPECT_EQ((unsigned)table.ToUpper(0x10428), 0x10400u);  // the page's other entries kept
    EXPECT_EQ((unsigned)table.ToLower(0x20001), 0x20001u);
    EXPECT_EQ((unsigned)CCaseTable::Instance().ToLower(0x104FE), 0x104FEu);
}

// ASCII is answered without the pages only while the pages map it the plain
// way: a list loaded later that changes an ASCII pair is followed.
TEST(CCaseTable, AsciiFollowsThePagesLoaded) {
    CCaseTable table;
    for (char32_t c = 0; c < 0x80; c++) {
        char32_t upper = c >= 'a' && c <= 'z' ? c - 32 : c;
        char32_t lower = c >= 'A' && c <= 'Z' ? c + 32 : c;
        EXPECT_EQ((unsigned)table.ToUpper(c), (unsigned)upper) << unsigned(c);
        EXPECT_EQ((unsigned)table.ToLower(c), (unsigned)lower) << unsigned(c);
    }
    static const CCaseTable::TCaseTriple dotless[] = {{'i', 0, 0x0130}, {'I', 0x0131, 0}, {0, 0, 0}};
    table.LoadPlane(dotless, 0);
    EXPECT_EQ((unsigned)table.ToUpper('i'), 0x0130u);
    EXPECT_EQ((unsigned)table.ToLower('I'), 0x0131u);
    EXPECT_EQ((unsigned)table.ToUpper('a'), unsigned('A'));
}

TEST(CCaseTable, MapsWholeTextsInPlace) {
    Westring text = Units({'a', 'B', 0xE9, 0x10428, '1'});
    char32_t buffer[8];
    Str32Copy(buffer, text.Data());
    Str32UpperInPlace(buffer);
    EXPECT_TRUE(SameUnits(Westring(buffer), Units({'A', 'B', 0xC9, 0x10400, '1'})));
    Str32LowerInPlace(buffer);
    EXPECT_TRUE(SameUnits(Westring(buffer), Units({'a', 'b', 0xE9, 0x10428, '1'})));
}

}  // namespace
