#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/panels/PanelSort.h"
#include "tests/app/panels/PanelTestSupport.h"

using namespace paneltest;

namespace {

const uint16_t Dir = FILE_ATTRIBUTE_DIRECTORY;
const uint16_t Hidden = FILE_ATTRIBUTE_HIDDEN;

// Read order; sizes and times chosen so that every key orders them differently.
const std::vector<TEntrySpec> Fixture = {
    {"x10.txt", 0, 300, 100}, {"Src", Dir, 0, 5},        {"..", Dir, 0, 0},
    {"a.c", 0, 200, 200},     {".hid", Hidden, 50, 400}, {"x2.txt", 0, 100, 300},
    {"readme", 0, 100, 50},   {"bin", Dir, 0, 6},        {"_u.txt", 0, 5, 10},
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

TEST_P(PanelSort, OrdersByModeKeepingParentAndDirectoriesFirst) {
    const TSortCase& c = GetParam();
    Config.NaturalSort = c.natural;
    CPanel panel;
    Fill(panel, Fixture);
    panel.sortMode = c.mode;
    SortPanel(&panel);
    EXPECT_EQ(Names(panel), c.order) << "mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(Modes, PanelSort,
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

TEST(PanelSortNames, NaturalOrderComparesNumbersByValueAndIgnoresCase) {
    Config.NaturalSort = 1;
    EXPECT_LT(CompareNamesBySetting(U"file2", U"file10"), 0);
    EXPECT_EQ(CompareNamesBySetting(U"File007", U"file7"), 0);
    Config.NaturalSort = 0;
    EXPECT_GT(CompareNamesBySetting(U"file2", U"file10"), 0);
    EXPECT_EQ(CompareNamesBySetting(U"ABC", U"abc"), 0);
}

// The order one comparison at a time gives, from the unfolded names: the
// class first, then the key of the mode (reversed in modes 5 to 8), then the
// name; entries equal by all of it stay in the order they were read.
int ReferenceCompare(const entry* a, const entry* b, int mode) {
    if (a->sortClass != b->sortClass)
        return a->sortClass < b->sortClass ? -1 : 1;
    auto extension = [](const char32_t* name) {
        const char32_t* dot = nullptr;
        for (const char32_t* p = name; *p; p++)
            if (*p == '.')
                dot = p;
        return dot ? dot + 1 : U"";
    };
    int key = mode % SORT_REVERSED;
    int order = 0;
    if (key == SORT_EXTENSION)
        order = CompareNamesBySetting(extension(a->name), extension(b->name));
    else if (key == SORT_TIME && a->time.seconds != b->time.seconds)
        order = a->time.seconds > b->time.seconds ? -1 : 1;
    else if (key == SORT_SIZE && a->size != b->size)
        order = a->size > b->size ? -1 : 1;
    if (order == 0)
        order = CompareNamesBySetting(a->name, b->name);
    return mode < SORT_REVERSED ? order : -order;
}

// Names that differ only in case, in accents, in digits with leading zeros;
// characters beyond 16 bits; '_' and a control character against it.
const char32_t* const MixedNames[] = {U"src",
                                      U"Src.c",
                                      U"SRC",
                                      U"\u00c4rger",
                                      U"\u00e4rger.TXT",
                                      U"zebra.txt",
                                      U"\u00e9mile",
                                      U"\u00c9MILE",
                                      U"a01.txt",
                                      U"a1.TXT",
                                      U"A1.txt",
                                      U"_x",
                                      U"\x01x",
                                      U"x_",
                                      U"x",
                                      U"\U0001D49Cb",
                                      U"\U0001D49Ca",
                                      U"\u03a3igma.\u03c3",
                                      U"\u03c3IGMA.\u03a3",
                                      U"..",
                                      U"b.tar.gz",
                                      U"B.TAR.GZ",
                                      U"no_ext",
                                      U"NO_EXT"};
const int MixedNameCount = int(sizeof MixedNames / sizeof MixedNames[0]);

// Sorts `count` entries made from the mixed names in every mode, with and
// without natural order, and compares with a stable sort by single
// comparisons. Past the first round of names each gets a number of
// `variants` kinds, so that a large array holds many equal names (ties fall
// to the read order) beside names that differ only in case.
void ExpectEveryModeAgrees(int count, int variants) {
    uint8_t saved = Config.NaturalSort;
    for (int natural = 0; natural < 2; natural++) {
        Config.NaturalSort = uint8_t(natural);
        for (int mode : {0, 1, 2, 3, 5, 6, 7, 8}) {
            std::vector<entry*> read;
            for (int i = 0; i < count; i++) {
                std::u32string name = MixedNames[i % MixedNameCount];
                bool parent = name == U"..";
                if (i >= MixedNameCount && !parent)
                    name += U'0' + char32_t(i / MixedNameCount % variants);
                else if (i >= MixedNameCount)
                    name = U"..";
                entry* item = MakeEntry(name.c_str(), i % 5 == 0 ? FILE_ATTRIBUTE_DIRECTORY : 0, uint64_t(i % 3));
                item->time = TTimestamp(uint32_t(i % 4), 0);
                item->sortClass = parent ? SORTCLASS_PARENT : i % 5 == 0 ? SORTCLASS_DIRECTORY : SORTCLASS_FILE;
                read.push_back(item);
            }
            std::vector<entry*> expected = read;
            std::stable_sort(expected.begin(), expected.end(),
                             [mode](const entry* a, const entry* b) { return ReferenceCompare(a, b, mode) < 0; });
            std::vector<entry*> sorted = read;
            SortEntryArray(sorted.data(), count, mode);
            int wrong = 0;
            for (int i = 0; i < count && wrong < 5; i++) {
                // The same record, not only the same name: ties keep the read order.
                if (sorted[size_t(i)] != expected[size_t(i)]) {
                    ADD_FAILURE() << "mode " << mode << " natural " << natural << " place " << i << ": "
                                  << Utf8(sorted[size_t(i)]->name) << " where " << Utf8(expected[size_t(i)]->name)
                                  << " belongs";
                    wrong++;
                }
            }
            for (entry* item : read)
                entry::Free(item);
        }
    }
    Config.NaturalSort = saved;
}

TEST(PanelSortNames, EveryModeAgreesWithTheOrderOfSingleComparisons) {
    ExpectEveryModeAgrees(MixedNameCount, 1);
}

// Large enough to be sorted in parts on several threads and merged: the
// result is the one of a single sort, record for record.
TEST(PanelSortNames, ALargeArraySortedInPartsGivesTheSameOrder) {
    ExpectEveryModeAgrees(40000, 7);
}

TEST(PanelSortNames, AnOutOfRangeModeOrAShortArrayIsLeftAlone) {
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

TEST(PanelPositions, CopiesOfThePositionStoreAreIndependent) {
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
