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
