#include <gtest/gtest.h>

#include "app/panels/PanelSort.h"
#include "tests/app/panels/PanelTestSupport.h"

using namespace paneltest;

namespace {

const uint16_t Dir = FILE_ATTRIBUTE_DIRECTORY;
const uint16_t Hidden = FILE_ATTRIBUTE_HIDDEN;

// Read order; sizes and times chosen so that every key orders them differently.
const std::vector<TEntrySpec> Fixture = {
    {"x10.txt", 0, 300, 100}, {"Src", Dir, 0, 5},       {"..", Dir, 0, 0},       {"a.c", 0, 200, 200},
    {".hid", Hidden, 50, 400}, {"x2.txt", 0, 100, 300}, {"readme", 0, 100, 50}, {"bin", Dir, 0, 6},
    {"_u.txt", 0, 5, 10},
};

struct TSortCase {
    int mode;
    bool natural;
    const char* order;
};

class PanelSort : public ::testing::TestWithParam<TSortCase> {
protected:
    void SetUp() override { saved = Config.NaturalSort; }
    void TearDown() override { Config.NaturalSort = saved; }
    uint8_t saved = 0;
};

TEST_P(PanelSort, OrdersByModeKeepingParentAndDirectoriesFirst)
{
    const TSortCase& c = GetParam();
    Config.NaturalSort = c.natural;
    CPanel panel;
    Fill(panel, Fixture);
    panel.sortMode = c.mode;
    SortPanel(&panel);
    EXPECT_EQ(Names(panel), c.order) << "mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PanelSort,
    ::testing::Values(
        // Plain order: '_' before everything, x10 before x2; case ignored.
        TSortCase{0, false, ".. bin Src .hid _u.txt a.c readme x10.txt x2.txt"},
        TSortCase{0, true, ".. bin Src .hid _u.txt a.c readme x2.txt x10.txt"},
        // Reversed within each class only.
        TSortCase{5, false, ".. Src bin .hid x2.txt x10.txt readme a.c _u.txt"},
        // No extension first, then by extension, whole names between equals.
        TSortCase{1, false, ".. bin Src .hid readme a.c _u.txt x10.txt x2.txt"},
        TSortCase{6, true, ".. Src bin .hid x10.txt x2.txt _u.txt a.c readme"},
        // Newest first.
        TSortCase{2, false, ".. bin Src .hid x2.txt a.c x10.txt readme _u.txt"},
        TSortCase{7, false, ".. Src bin .hid _u.txt readme x10.txt a.c x2.txt"},
        // Largest first; equal sizes by name (reversed in rsize).
        TSortCase{3, false, ".. bin Src .hid x10.txt a.c readme x2.txt _u.txt"},
        TSortCase{8, false, ".. Src bin .hid _u.txt x2.txt readme a.c x10.txt"},
        // Unsorted modes keep the read order.
        TSortCase{4, false, "x10.txt Src .. a.c .hid x2.txt readme bin _u.txt"},
        TSortCase{9, false, "x10.txt Src .. a.c .hid x2.txt readme bin _u.txt"}));

TEST(PanelSortNames, NaturalOrderComparesNumbersByValueAndIgnoresCase)
{
    Config.NaturalSort = 1;
    EXPECT_LT(CompareNamesBySetting(U"file2", U"file10"), 0);
    EXPECT_EQ(CompareNamesBySetting(U"File007", U"file7"), 0);
    Config.NaturalSort = 0;
    EXPECT_GT(CompareNamesBySetting(U"file2", U"file10"), 0);
    EXPECT_EQ(CompareNamesBySetting(U"ABC", U"abc"), 0);
}

TEST(PanelSortNames, AnOutOfRangeModeOrAShortArrayIsLeftAlone)
{
    CPanel panel;
    Fill(panel, {{"b", 0, 0, 0}, {"a", 0, 0, 0}});
    SortEntryArray(panel.entries, panel.entryCount, 12);
    SortEntryArray(panel.entries, 1, SORT_NAME);
    EXPECT_EQ(Names(panel), "b a");
    SortEntryArray(panel.entries, panel.entryCount, SORT_NAME);
    EXPECT_EQ(Names(panel), "a b");
}

}  // namespace

namespace {

TEST(PanelPositions, CopiesOfThePositionStoreAreIndependent)
{
    CPosStack first;
    first.Insert(new TPanelPosition{Westring("C:\\A"), 3, Westring("x")});
    CPosStack second(first);
    second.FreeAll();
    second.Insert(new TPanelPosition{Westring("c:\\a"), 7, Westring("y")});
    Westring key("C:\\a");
    ASSERT_NE(first.Find(&key), nullptr);
    EXPECT_EQ(first.Find(&key)->topIndex, 3u);
    EXPECT_EQ(second.Find(&key)->topIndex, 7u);
    first = second;
    EXPECT_EQ(first.Find(&key)->topIndex, 7u);
    EXPECT_EQ(first.Count(), 1);
}

}  // namespace
