#include "app/panels/PanelNavigation.h"

#include <gtest/gtest.h>

#include "app/settings/Config.h"
#include "app/panels/PanelSort.h"
#include "base/strings/Utf16String.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/app/panels/TestPanelPair.h"
#include "tests/support/TempDir.h"

namespace {

using paneltest::TestPanelPair;
using paneltest::Utf8;

// Fifty files in a view of ten slots.
class PanelCursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<paneltest::TEntrySpec> specs;
        names.reserve(50);  // the specs point into the names
        for (int i = 0; i < 50; i++) {
            names.push_back((i < 10 ? "f0" : "f") + std::to_string(i));
            specs.push_back({names.back().c_str(), 0, 0, 0});
        }
        paneltest::Fill(panel(), specs);
    }
    CPanel& panel() { return pair[0]; }
    std::vector<std::string> names;
    TestPanelPair pair;
};

TEST_F(PanelCursorTest, MovesClampAndScrollTheView) {
    struct Case {
        int top, row, lines;
        int wantTop, wantRow;
    } cases[] = {
        {0, 0, 5, 0, 5},      // inside the view
        {0, 9, 1, 1, 9},      // one below the last slot: scrolls one row
        {5, 0, -1, 4, 0},     // one above the first slot: scrolls back one row
        {5, 0, -3, 2, 0},     // a larger step up moves the view by it
        {0, 0, 15, 6, 9},     // a page and a half down
        {0, 0, -1, 0, 0},     // above the first entry: stays there
        {0, 3, 1000, 40, 9},  // past the last entry: onto it
        {40, 9, 1, 40, 9},    // already on the last entry
        {3, 2, -100, 0, 0},   // far above the first entry
    };
    for (const Case& c : cases) {
        panel().topIndex = c.top;
        panel().cursorRow = c.row;
        MovePanelCursor(&panel(), c.lines);
        EXPECT_EQ(panel().topIndex, c.wantTop) << c.top << "/" << c.row << " by " << c.lines;
        EXPECT_EQ(panel().cursorRow, c.wantRow) << c.top << "/" << c.row << " by " << c.lines;
    }
}

TEST_F(PanelCursorTest, OnlyAFileListThatIsOnMoves) {
    panel().panelType = PANEL_INFO;
    MovePanelCursor(&panel(), 3);
    EXPECT_EQ(panel().cursorRow, 0);
    panel().panelType = PANEL_FILES;
    panel().isOn = 0;
    MovePanelCursor(&panel(), 3);
    EXPECT_EQ(panel().cursorRow, 0);
}

TEST(PanelCursorEmptyTest, AnEmptyPanelKeepsTheCursorAtTheTop) {
    TestPanelPair pair;
    MovePanelCursor(&pair[1], 1);
    EXPECT_EQ(pair[1].cursorRow, 0);
    EXPECT_EQ(pair[1].topIndex, 0);
}

TEST_F(PanelCursorTest, SetCursorToNameFindsTheEntryAndKeepsItInView) {
    struct Case {
        int top, row;
        const char* name;
        int wantTop, wantRow;
    } cases[] = {
        {0, 0, "F07", 0, 7},      // in view, any case
        {0, 0, "f25", 16, 9},     // below the view: on the last slot
        {30, 4, "f12", 12, 0},    // above the view: on the first slot
        {20, 3, "gone", 20, 3},   // not there: the cursor keeps its row
        {20, -2, "gone", 18, 0},  // a row above the view is brought back to 0
    };
    for (const Case& c : cases) {
        panel().topIndex = c.top;
        panel().cursorRow = c.row;
        SetPanelCursorToName(&panel(), Westring(c.name));
        EXPECT_EQ(panel().topIndex, c.wantTop) << c.name;
        EXPECT_EQ(panel().cursorRow, c.wantRow) << c.name;
    }
}

TEST(PanelPositionsTest, OneRecordPerDirectoryWithoutRegardToCase) {
    CPosStack positions;
    RememberPanelPosition(positions, Westring("C:\\Work"), 12, Westring("a.txt"));
    RememberPanelPosition(positions, Westring("C:\\Other"), 3, Westring("b"));
    RememberPanelPosition(positions, Westring("c:\\WORK"), 40, Westring("z.txt"));
    ASSERT_EQ(positions.Count(), 2);
    const Westring key("C:\\work");
    const TPanelPosition* work = positions.Find(&key);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work->topIndex, 40u);
    EXPECT_EQ(Utf8(work->cursorName.Data()), "z.txt");
}

TEST(SwapPanelsTest, EachPanelKeepsItsStateOnTheOtherSide) {
    TestPanelPair pair;
    pair[0].isOn = 0;  // no windows to reopen
    pair[1].isOn = 0;
    CopyPanelText(pair[0].path, Westring("C:\\left"));
    CopyPanelText(pair[1].path, Westring("S:\\right"));
    paneltest::Fill(pair[0], {{"one.txt", 0, 10, 0}});
    pair[0].entries[0]->tagged = 1;
    pair[0].taggedCount = 1;
    pair[0].taggedBytes = 10;
    paneltest::Fill(pair[1], {{"two.txt", 0, 0, 0}, {"three.txt", 0, 0, 0}});
    pair[1].cursorRow = 1;
    pair[0].sortMode = SORT_SIZE;
    pair[1].viewStyle = VIEW_BRIEF;
    RememberPanelPosition(pair[0].positions, Westring("C:\\left\\sub"), 4, Westring("x"));
    pair[1].subdirectoryNames.InsertCopy(Westring("sub"));

    SwapPanels(&pair[0]);

    EXPECT_EQ(Utf8(pair[0].path), "S:\\right");
    EXPECT_EQ(Utf8(pair[1].path), "C:\\left");
    EXPECT_EQ(paneltest::Names(pair[0]), "two.txt three.txt");
    EXPECT_EQ(paneltest::Names(pair[1]), "one.txt");
    EXPECT_EQ(pair[0].cursorRow, 1);
    EXPECT_EQ(pair[1].taggedCount, 1);
    EXPECT_EQ(pair[1].taggedBytes, 10);
    EXPECT_EQ(pair[1].entries[0]->tagged, 1);
    EXPECT_EQ(pair[1].sortMode, SORT_SIZE);
    EXPECT_EQ(pair[0].viewStyle, VIEW_BRIEF);
    EXPECT_EQ(pair[1].positions.Count(), 1);
    EXPECT_EQ(pair[0].positions.Count(), 0);
    EXPECT_EQ(pair[0].subdirectoryNames.Count(), 1);
    EXPECT_EQ(pair[1].subdirectoryNames.Count(), 0);
}

// Typed paths resolved on a temporary folder: a, a\Sub, a\file.txt.
class ResolvePanelPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = Westring(reinterpret_cast<const WCHAR*>(temp.Path().c_str()));
        ASSERT_TRUE(CreateDirectoryW(temp.Join(W32TEXT("a")).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(temp.Join(W32TEXT("a\\Sub")).c_str(), nullptr));
        ASSERT_TRUE(qvtest::WriteFileBytes(temp.Join(W32TEXT("a\\file.txt")), "not an archive"));
        CopyPanelText(panel().path, root);
    }
    CPanel& panel() { return pair[0]; }
    std::string Path() { return Utf8(panel().path); }
    std::string Under(const char* rest) { return Utf8((root + Westring(rest)).Data()); }

    qvtest::TempDir temp;
    Westring root;
    TestPanelPair pair;
};

TEST_F(ResolvePanelPathTest, TakesTheSpellingFoundOnDisk) {
    EXPECT_EQ(ResolvePanelPath(&panel(), root + Westring("\\A\\SUB")), 1);
    EXPECT_EQ(Path(), Under("\\a\\Sub"));
    EXPECT_EQ(ResolvePanelPath(&panel(), root + Westring("\\a\\Sub\\..\\.")), 1);
    EXPECT_EQ(Path(), Under("\\a"));
}

TEST_F(ResolvePanelPathTest, AMissingDirectoryOrAFileThatIsNoArchiveLeavesThePanel) {
    for (const char* typed : {"\\a\\missing", "\\a\\file.txt", "\\a\\file.txt\\inner", "\\a\\S*"}) {
        EXPECT_EQ(ResolvePanelPath(&panel(), root + Westring(typed)), 0) << typed;
        EXPECT_EQ(Path(), Utf8(root.Data())) << typed;
    }
}

TEST_F(ResolvePanelPathTest, ARootIsTakenWhole) {
    const Westring drive = root.Left(3);
    EXPECT_EQ(ResolvePanelPath(&panel(), drive), 1);
    EXPECT_EQ(Path(), Utf8(drive.Data()));
}

TEST_F(ResolvePanelPathTest, AServerThatCannotBeReachedIsRefused) {
    EXPECT_EQ(ResolvePanelPath(&panel(), Westring("\\\\qvnosuchserver\\share\\dir")), 0);
    EXPECT_EQ(Path(), Utf8(root.Data()));
}

}  // namespace
