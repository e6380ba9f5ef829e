#include "ui/Win.h"

#include <gtest/gtest.h>

#include "tests/ui/UiConsole.h"

namespace {

using qvtest::UiConsole;

class WinTest : public UiConsole {};

struct TPlacementCase {
    int x, y, a, b;
    int left, top, right, bottom;
};

TEST_F(WinTest, PlacesByCoordinatesCentringAndDivision) {
    const TPlacementCase cases[] = {
        {-1, 5, 20, 9, 30, 5, 49, 9},      // centred across
        {3, -2, 12, 5, 3, 10, 12, 14},     // centred down
        {0, -1, 9, 4, 0, 21, 9, 24},       // the bottom rows
        {0, -3, 9, 7, 0, 6, 9, 12},        // a third of the free rows above
        {0, -4, 9, 7, 0, 4, 9, 10},        // a quarter
        {-1, -2, 120, 40, 0, 0, 79, 24},   // larger than the screen: cut at its edges
        {70, 20, 95, 30, 70, 20, 79, 24},  // reaching past the corner
    };
    for (const TPlacementCase& c : cases) {
        Win w(c.x, c.y, c.a, c.b, 0x17, -1, 0);
        EXPECT_EQ(w.Left(), c.left) << c.x << "," << c.y;
        EXPECT_EQ(w.Top(), c.top) << c.x << "," << c.y;
        EXPECT_EQ(w.Right(), c.right) << c.x << "," << c.y;
        EXPECT_EQ(w.Bottom(), c.bottom) << c.x << "," << c.y;
    }
}

TEST_F(WinTest, FrameLeavesTheClientAreaInsideAndTitlesGoOnTheTopLine) {
    Win w(-1, -2, 40, 5, 0x70, 0x70, 1);
    EXPECT_EQ(w.ClientWidth(), 38);
    EXPECT_EQ(w.ClientHeight(), 3);
    EXPECT_EQ(w.OriginX(), w.Left() + 1);
    EXPECT_EQ(w.OriginY(), w.Top() + 1);
    w.WriteCentred(-1, " Title ", 0x70);
    EXPECT_EQ(Row(w.Top(), w.Left(), 40), u8"╔═══════════════ Title ════════════════╗");
    EXPECT_EQ(Row(w.Top() + 1, w.Left(), 40), u8"║                                      ║");
    EXPECT_EQ(Row(w.Bottom(), w.Left(), 40), u8"╚══════════════════════════════════════╝");
    EXPECT_EQ(AttrAt(w.Left() + 5, w.Top() + 2), 0x70);
}

TEST_F(WinTest, ShadowOnlyWhereItFitsOnTheScreen) {
    Config.Shadows = 1;
    struct {
        int x, y, right, bottom;
        bool shadow;
    } cases[] = {
        {10, 5, 30, 10, true},
        {10, 5, 30, 24, false},  // reaches the last row
        {10, 5, 78, 10, false},  // reaches the second-to-last column
        {10, 5, 77, 23, true},
    };
    for (const auto& c : cases) {
        Win w(c.x, c.y, c.right, c.bottom, 0x1F, 0x1F, 0);
        EXPECT_EQ(w.HasShadow(), c.shadow) << c.right << "," << c.bottom;
    }
    Win noShadow(10, 5, 30, 10, 0x1F, 0x1F, 1);
    EXPECT_FALSE(noShadow.HasShadow());
    Win noFrame(10, 5, 30, 10, 0x1F, -1, 0);
    EXPECT_FALSE(noFrame.HasShadow());
}

TEST_F(WinTest, ShadowDimsTheCellsBesideAndBelowKeepingTheirCharacters) {
    Config.Shadows = 1;
    console->FillRect(0, 0, 80, 25, 0x1F);
    console->WriteText(0, 11, "abcdefghijklmnopqrstuvwxyz0123456789", 0x1F);
    Win w(10, 5, 30, 10, 0x70, 0x70, 0);
    // The row below, from two columns in to two past the right edge.
    EXPECT_EQ(AttrAt(11, 11), 0x1F);
    EXPECT_EQ(AttrAt(12, 11), 0x07);
    EXPECT_EQ(CharAt(12, 11), U'm');
    EXPECT_EQ(AttrAt(32, 11), 0x07);
    EXPECT_EQ(AttrAt(33, 11), 0x1F);
    // The two columns beside, from the second row down.
    EXPECT_EQ(AttrAt(31, 5), 0x1F);
    EXPECT_EQ(AttrAt(31, 6), 0x07);
    EXPECT_EQ(AttrAt(32, 10), 0x07);
}

// A window that draws where a later window lies: the later window keeps the
// new cells (darkened where its shadow falls) and puts them back when it
// goes, while the screen keeps showing it. Each writer on a row of its own.
TEST_F(WinTest, DrawingUnderALaterWindowShowsOnceThatWindowGoes) {
    Config.Shadows = 1;
    const char* const upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const char32_t* const lower = U"abcdefghijklmnopqrstuvwxyz0123456789";
    Win panel(0, 0, 79, 20, 0x1F, -1, 0);
    {
        // Rows 5 to 10; its shadow the row 11 from column 12 and the columns
        // 31 and 32 from row 6.
        Win dialog(10, 5, 30, 10, 0x70, 0x70, 0);
        panel.WriteText(0, 6, upper, 0x1E);
        panel.WriteWide(0, 7, Westring(lower), 0x1E);
        panel.WriteAttrString(0, 11, CellString(lower, 0x1E));
        panel.WriteHotKeyText(0, 8, upper, "p", 0x1E);
        panel.GotoXY(0, 9);
        panel.ClearToEol(0x1C);
        CellString rect;
        for (int i = 0; i < 40; ++i) {
            rect += TCell{U'#', 0x1A};
        }
        panel.PutCellRect(0, 10, 40, 1, rect);  // across the bottom frame line
        panel.WriteWide(8, 5, Westring(U"abcd"), 0x1B);  // the dialog's top-left corner
        for (int y : {6, 7, 8, 9}) {
            EXPECT_EQ(AttrAt(20, y), 0x70) << y;
            EXPECT_EQ(CharAt(20, y), U' ') << y;
        }
        EXPECT_EQ(CharAt(10, 5), U'\u2554');
        EXPECT_EQ(CharAt(5, 6), U'F');
        EXPECT_EQ(AttrAt(5, 6), 0x1E);
        EXPECT_EQ(CharAt(9, 5), U'b');
        // Under the shadow the new cells show darkened; the corners of the
        // saved area beside it are not darkened.
        EXPECT_EQ(CharAt(20, 11), U'u');
        EXPECT_EQ(AttrAt(20, 11), 0x06);
        EXPECT_EQ(AttrAt(11, 11), 0x1E);
        EXPECT_EQ(CharAt(31, 7), U'5');
        EXPECT_EQ(AttrAt(31, 7), 0x06);
        EXPECT_EQ(CharAt(20, 10), U'\u2550');
    }
    EXPECT_EQ(Row(6, 0, 36), upper);
    EXPECT_EQ(AttrAt(20, 6), 0x1E);
    EXPECT_EQ(Row(7, 0, 36), "abcdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_EQ(Row(11, 0, 36), "abcdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_EQ(AttrAt(20, 11), 0x1E);
    EXPECT_EQ(Row(8, 0, 36), upper);
    EXPECT_NE(AttrAt(15, 8), 0x1E) << "the hot letter P";
    EXPECT_EQ(AttrAt(16, 8), 0x1E);
    EXPECT_EQ(Row(9, 0, 40), std::string(40, ' '));
    EXPECT_EQ(AttrAt(20, 9), 0x1C);
    EXPECT_EQ(Row(5, 8, 4), "abcd");
    EXPECT_EQ(Row(10, 0, 40), std::string(40, '#'));
}

// Two windows over a row: what the lower window covers stays its own until
// it goes too; what only the upper one covers shows when the upper goes.
TEST_F(WinTest, DrawingUnderTwoLaterWindowsReachesTheLowerOne) {
    const char* const upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    Win panel(0, 0, 79, 20, 0x1F, -1, 0);
    Win lower(10, 5, 30, 10, 0x70, 0x70, 0);
    {
        Win upperWindow(20, 7, 40, 9, 0x4F, 0x4F, 0);
        panel.WriteText(0, 8, upper, 0x1E);
        EXPECT_EQ(AttrAt(25, 8), 0x4F);
        EXPECT_EQ(AttrAt(35, 8), 0x4F);
        EXPECT_EQ(CharAt(5, 8), U'F');
    }
    EXPECT_EQ(AttrAt(25, 8), 0x70) << "the lower window still lies there";
    EXPECT_EQ(CharAt(25, 8), U' ');
    EXPECT_EQ(CharAt(31, 8), U'5');
    EXPECT_EQ(AttrAt(33, 8), 0x1E);
    lower.SetHidden(true);
    EXPECT_EQ(Row(8, 0, 36), upper);
}

TEST(WinDim, DarkensTheForegroundOnBlack) {
    CellString cells;
    const uint8_t in[] = {0x1F, 0x70, 0x08, 0x4E, 0x03};
    const uint8_t out[] = {0x07, 0x08, 0x00, 0x06, 0x08};
    for (uint8_t a : in) {
        cells += TCell{U'x', a};
    }
    Win::DimCells(cells);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cells.Data()[i].attribute, out[i]) << i;
        EXPECT_EQ(cells.Data()[i].character, U'x');
    }
}

TEST_F(WinTest, HidingAndDestroyingPutTheScreenBack) {
    Config.Shadows = 1;
    for (int y = 0; y < 25; ++y) {
        console->WriteText(0, y, "0123456789012345678901234567890123456789", static_cast<uint8_t>(y));
    }
    CellString before;
    console->CopyRect(before, 0, 0, 80, 25);
    auto same = [&] {
        CellString now;
        console->CopyRect(now, 0, 0, 80, 25);
        for (int i = 0; i < now.Length(); ++i) {
            if (CellsDiffer(now.Data()[i], before.Data()[i])) {
                return false;
            }
        }
        return true;
    };
    {
        Win w(5, 3, 20, 8, 0x70, 0x70, 0);
        w.WriteTextDefault(1, 1, "inside");
        EXPECT_FALSE(same());
        w.SetHidden(true);
        EXPECT_TRUE(same());
        w.SetHidden(true);  // already hidden: nothing
        EXPECT_TRUE(same());
        w.SetHidden(false);
        EXPECT_NE(Row(5, 0, 30).find("inside"), std::string::npos);
        w.SetHidden(true);
    }
    EXPECT_TRUE(same());
    { Win visible(5, 3, 20, 8, 0x70, 0x70, 0); }
    EXPECT_TRUE(same());
}

TEST_F(WinTest, WrapsAtBlanksAndNeverFillsTheLastColumn) {
    Win w(0, 0, 7, 5, 0x07, -1, 1);
    w.WriteWrapped(0, 0, Westring("aaa bbb ccc"));
    EXPECT_EQ(Row(0, 0, 8), "aaa bbb ");
    EXPECT_EQ(Row(1, 0, 8), "ccc     ");
    Win narrow(10, 0, 15, 5, 0x07, -1, 1);
    narrow.WriteWrapped(0, 0, Westring("abcdefghijkl"));
    EXPECT_EQ(Row(0, 10, 6), "abcde ");
    EXPECT_EQ(Row(1, 10, 6), "fghij ");
    EXPECT_EQ(Row(2, 10, 6), "kl    ");
}

TEST_F(WinTest, WritersClipAtTheScreenEdges) {
    Win w(0, 0, 79, 24, 0x07, -1, 1);
    w.WriteTextDefault(-3, 2, "abcdef");
    EXPECT_EQ(Row(2, 0, 4), "def ");
    w.WriteWideDefault(77, 3, Westring("xyz!"));
    EXPECT_EQ(Row(3, 76, 4), " xyz");
    w.WriteTextDefault(0, 25, "below the screen");
    w.WriteTextDefault(0, -1, "above the screen");
    w.ClearRows(-5, -5);
    EXPECT_EQ(w.CursorX(), 16);
}

TEST_F(WinTest, HotLettersTakeTheHotKeyColour) {
    struct {
        uint8_t text;
        uint8_t hot;
    } cases[] = {
        {0x70, 0x79},  // light background: blue
        {0x79, 0x7F},  // blue text there: white
        {0xF9, 0xF0},  // ... or black on a bright background
        {0x1F, 0x1E},  // yellow
        {0x1E, 0x1F},  // yellow text: white
        {0x30, 0x3E},
    };
    Win w(0, 0, 79, 24, 0x07, -1, 1);
    for (const auto& c : cases) {
        w.WriteHotKeyText(0, 0, "[ Yes ]", "y[]", c.text);
        EXPECT_EQ(AttrAt(2, 0), c.hot) << std::hex << int(c.text);
        EXPECT_EQ(AttrAt(0, 0), c.hot);
        EXPECT_EQ(AttrAt(6, 0), c.hot);
        EXPECT_EQ(AttrAt(3, 0), c.text);
    }
    w.WriteHotKeyText(0, 1, "Cancel", "q", 0x70);  // a letter not in the text
    EXPECT_EQ(AttrAt(0, 1), 0x70);
}

TEST_F(WinTest, ClearToEolStopsAtTheClientEdge) {
    Win w(10, 2, 29, 6, 0x70, 0x70, 1);
    w.WriteTextDefault(0, 0, "xxxxxxxxxxxxxxxxxx");
    w.GotoXY(5, 0);
    w.ClearToEol(0x70);
    EXPECT_EQ(Row(3, 10, 20), u8"║xxxxx             ║");
    w.GotoXY(40, 0);
    w.ClearToEol(0x70);  // past the edge: nothing
    EXPECT_EQ(Row(3, 10, 20), u8"║xxxxx             ║");
}

}  // namespace
