#include "app/panels/DriveMenu.h"

#include <gtest/gtest.h>

#include "app/settings/Colours.h"
#include "app/panels/NetworkBrowsing.h"
#include "app/panels/PanelDrive.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/app/panels/TestPanelPair.h"
#include "tests/platform/RunningUnderWine.h"

namespace {

using paneltest::TestPanelPair;
using paneltest::Utf8;

TEST(DriveListTest, TheNetworkThenEveryDriveInOrder) {
    TDriveList list;
    EXPECT_TRUE(BuildDriveList(list, 80));
    Westring expected(U"\\");
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; i++) {
        if (drives & (1u << i))
            expected.AppendChar(char32_t('A' + i));
    }
    EXPECT_TRUE(list.letters.EqualsExact(expected));
    EXPECT_FALSE(BuildDriveList(list, 80)) << "the same drives are no change";
    list.letters = Westring(U"\\Q");
    EXPECT_TRUE(BuildDriveList(list, 80));
}

TEST(DriveListTest, CellsShrinkWhenTheRowWouldNotFit) {
    TDriveList list;
    BuildDriveList(list, 80);
    const int n = list.letters.Length();
    struct Case {
        int available;
        int cellWidth;
    } cases[] = {
        {3 * n + 4, 3}, {3 * n + 3, 2}, {2 * n + 4, 2}, {2 * n + 3, 1}, {1, 1},
    };
    for (const Case& c : cases) {
        BuildDriveList(list, c.available);
        EXPECT_EQ(list.cellWidth, c.cellWidth) << c.available;
    }
}

TEST(DriveListTest, CellsShowTheLetterAndTheSelection) {
    Config.Colours[ColourMessages] = 0x30;
    Config.Colours[ColourHighlight] = 0x1F;
    struct Case {
        int cellWidth;
        const char* text;
    } cases[] = {
        {3, "\\\\  C  S "},
        {2, "\\\\C S "},
        {1, "\\CS"},
    };
    for (const Case& c : cases) {
        TDriveList list;
        list.letters = Westring(U"\\CS");
        list.cellWidth = c.cellWidth;
        const CellString cells = FormatDriveCells(list, 1);
        std::string text;
        for (int i = 0; i < cells.Length(); i++)
            text += char(cells.Data()[i].character);
        EXPECT_EQ(text, c.text);
        for (int i = 0; i < cells.Length(); i++)
            EXPECT_EQ(cells.Data()[i].attribute, i / c.cellWidth == 1 ? 0x1F : 0x30) << c.cellWidth << " at " << i;
    }
}

TEST(PanelDriveTest, ChangingToAnotherDriveStartsAtItsTopWithAFileList) {
    TestPanelPair pair;
    CopyPanelText(pair[0].path, Westring("C:\\"));
    pair[0].panelType = PANEL_INFO;
    pair[0].viewStyle = VIEW_TREE;
    pair[1].viewStyle = VIEW_BRIEF;
    pair[0].cursorRow = 4;
    pair[0].topIndex = 9;
    pair[0].taggedCount = 2;
    // Mode 2 changes the path without reading the panel.
    EXPECT_EQ(ChangePanelDrive(0, 'S' - 'A' + 1, 2), 0);
    EXPECT_EQ(Utf8(pair[0].path).substr(0, 3), "S:\\");
    EXPECT_EQ(pair[0].panelType, PANEL_FILES);
    EXPECT_EQ(pair[0].viewStyle, VIEW_BRIEF);
    EXPECT_EQ(pair[0].cursorRow, 0);
    EXPECT_EQ(pair[0].topIndex, 0);
    EXPECT_EQ(pair[0].taggedCount, 0);
    EXPECT_EQ(ChangePanelDrive(&pair[0], NetworkDrive, 2), 0);
    EXPECT_EQ(Utf8(pair[0].path), "\\\\");
}

TEST(NetworkBrowsingTest, WithoutTheNetworkLibraryNothingIsListed) {
    if (qvtest::RunningUnderWine())
        GTEST_SKIP() << "wine ships its own netapi32";
    WestringStore names;
    EXPECT_EQ(EnumNetworkServers(names), DWORD(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(EnumServerShares(names, Westring("server")), DWORD(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(names.Count(), 0);
}

}  // namespace
