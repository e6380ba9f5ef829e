#include "console/ShadowScreen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The characters of a row, as UTF-32.
std::u32string RowText(const ShadowScreen& s, int y, int x = 0, int n = -1) {
    std::u32string text;
    int end = n < 0 ? s.Width() : x + n;
    for (int col = x; col < end; ++col) {
        text += s.At(col, y).character;
    }
    return text;
}

// Marks every row with its number so that moves can be followed.
void NumberRows(ShadowScreen& s) {
    for (int y = 0; y < s.Height(); ++y) {
        char32_t digit[2] = {static_cast<char32_t>(U'0' + y), 0};
        s.WriteWideText(0, y, digit, 0x07);
    }
}

TEST(ShadowScreen, FreshShadowHoldsBlanksInAttributeSeven) {
    ShadowScreen s(80, 25);
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 80; ++x) {
            ASSERT_EQ(s.At(x, y).character, U' ');
            ASSERT_EQ(s.At(x, y).attribute, 0x07);
        }
    }
}

TEST(ShadowScreen, WritesStopAtTheRightEdgeAndReportChanges) {
    ShadowScreen s(80, 25);
    EXPECT_TRUE(s.WriteText(78, 0, "abc", 0x1F));
    EXPECT_EQ(RowText(s, 0, 76), U"  ab");
    EXPECT_EQ(RowText(s, 1, 0, 1), U" ");  // nothing wrapped
    EXPECT_FALSE(s.WriteText(78, 0, "abc", 0x1F));
    EXPECT_TRUE(s.WriteText(78, 0, "ab", 0x1E));
    EXPECT_FALSE(s.WriteText(80, 0, "x", 0x07));
    EXPECT_FALSE(s.WriteText(0, 0, "", 0x07));
    // Outside the screen nothing is touched (and nothing breaks).
    EXPECT_FALSE(s.WriteText(0, 25, "x", 0x07));
    EXPECT_FALSE(s.WriteText(0, -1, "x", 0x07));
    EXPECT_TRUE(s.WriteText(-2, 1, "xyz", 0x07));
    EXPECT_EQ(RowText(s, 1, 0, 2), U"z ");
}

TEST(ShadowScreen, ControlCharactersAreStoredAsTheirGlyphs) {
    struct Case {
        char32_t written;
        char32_t stored;
        char32_t storedByRepeat;
    };
    const Case cases[] = {
        {1, 0x263A, 0x263A},  {7, 0x2022, 0x2022}, {31, 0x25BC, 0x25BC}, {127, 0x2302, 127},
        {0x9F, 0x2302, 0x9F}, {0xA0, 0xA0, 0xA0},  {U'A', U'A', U'A'},
    };
    for (const Case& c : cases) {
        ShadowScreen s(10, 1);
        char32_t text[2] = {c.written, 0};
        EXPECT_TRUE(s.WriteWideText(0, 0, text, 0x07));
        TCell cells[2] = {{c.written, 0x07}, {0, 0}};
        s.WriteCells(1, 0, cells);
        s.RepeatCell(2, 0, 1, cells[0]);
        EXPECT_EQ(s.At(0, 0).character, c.stored) << std::hex << c.written;
        EXPECT_EQ(s.At(1, 0).character, c.stored) << std::hex << c.written;
        EXPECT_EQ(s.At(2, 0).character, c.storedByRepeat) << std::hex << c.written;
    }
}

TEST(ShadowScreen, CellRunsEndAtCharacterZero) {
    ShadowScreen s(10, 1);
    TCell cells[] = {{U'a', 0x1F}, {U'b', 0x2F}, {0, 0x07}, {U'c', 0x07}};
    EXPECT_TRUE(s.WriteCells(0, 0, cells));
    EXPECT_EQ(RowText(s, 0, 0, 3), U"ab ");
    EXPECT_EQ(s.At(1, 0).attribute, 0x2F);
    EXPECT_FALSE(s.WriteCells(0, 0, cells, 2));
}

TEST(ShadowScreen, RepeatAndAttributesClipAtTheEdge) {
    ShadowScreen s(10, 2);
    EXPECT_TRUE(s.RepeatCell(7, 0, 10, TCell{U'=', 0x1F}));
    EXPECT_EQ(RowText(s, 0), U"       ===");
    EXPECT_FALSE(s.RepeatCell(0, 0, 0, TCell{U'=', 0x1F}));
    EXPECT_FALSE(s.RepeatCell(10, 0, 3, TCell{U'=', 0x1F}));
    EXPECT_TRUE(s.SetAttributes(8, 0, 5, 0x70));
    EXPECT_EQ(s.At(7, 0).attribute, 0x1F);
    EXPECT_EQ(s.At(9, 0).attribute, 0x70);
    EXPECT_FALSE(s.SetAttributes(8, 0, 2, 0x70));
}

TEST(ShadowScreen, ScrollingMovesRowsAndBlanksTheRest) {
    ShadowScreen s(4, 10);
    NumberRows(s);
    s.ScrollUp(0, 0, 4, 10, 3, 0x30);
    for (int y = 0; y < 7; ++y) {
        EXPECT_EQ(s.At(0, y).character, static_cast<char32_t>(U'0' + y + 3));
    }
    for (int y = 7; y < 10; ++y) {
        EXPECT_EQ(s.At(0, y).character, U' ');
        EXPECT_EQ(s.At(0, y).attribute, 0x30);
    }
    NumberRows(s);
    s.ScrollDown(0, 2, 4, 5, 2, 0x40);  // rows 2..6
    EXPECT_EQ(RowText(s, 2, 0, 1), U" ");
    EXPECT_EQ(RowText(s, 3, 0, 1), U" ");
    EXPECT_EQ(RowText(s, 4, 0, 1), U"2");
    EXPECT_EQ(RowText(s, 6, 0, 1), U"4");
    EXPECT_EQ(RowText(s, 7, 0, 1), U"7");  // outside the region
    // A region reaching past the screen scrolls the part on it.
    NumberRows(s);
    s.ScrollUp(0, 8, 4, 10, 1, 0x07);
    EXPECT_EQ(RowText(s, 8, 0, 1), U"9");
    EXPECT_EQ(RowText(s, 9, 0, 1), U" ");
}

TEST(ShadowScreen, RectanglesAreSavedAndPutBack) {
    ShadowScreen s(10, 5);
    s.WriteText(2, 1, "abcd", 0x1F);
    s.WriteText(2, 2, "efgh", 0x2F);
    TCell* saved = s.SaveRect(2, 1, 4, 2);
    CellString copy;
    s.CopyRect(copy, 2, 1, 4, 2);
    ASSERT_EQ(copy.Length(), 8);
    EXPECT_EQ(copy.Data()[4].character, U'e');
    EXPECT_EQ(copy.Data()[4].attribute, 0x2F);
    s.FillRect(0, 0, 10, 5, 0x07);
    s.PutRect(2, 1, 4, 2, saved);
    EXPECT_EQ(RowText(s, 1, 2, 4), U"abcd");
    EXPECT_EQ(RowText(s, 2, 2, 4), U"efgh");
    EXPECT_EQ(s.At(3, 2).attribute, 0x2F);
    delete[] saved;
    // Parts outside the screen are blanks when saved and dropped when put.
    TCell* edge = s.SaveRect(8, 4, 3, 2);
    EXPECT_EQ(edge[2].character, U' ');
    EXPECT_EQ(edge[2].attribute, 0x07);
    s.PutRect(8, 4, 3, 2, edge);
    delete[] edge;
}

TEST(ShadowScreen, TeletypeOutput) {
    ShadowScreen s(20, 3);
    s.attribute = 0x1E;
    s.WriteTty("ab\tc");
    EXPECT_EQ(RowText(s, 0, 0, 9), U"ab      c");
    EXPECT_EQ(s.At(8, 0).attribute, 0x1E);
    EXPECT_EQ(s.At(2, 0).attribute, 0x07);  // the tab skips, it does not paint
    EXPECT_EQ(s.cursorX, 9);
    s.WriteTty("\rX\bY\n");
    EXPECT_EQ(RowText(s, 0, 0, 2), U"Yb");
    EXPECT_EQ(s.cursorX, 0);
    EXPECT_EQ(s.cursorY, 1);
    // A full row wraps before the next character.
    s.WriteTty("01234567890123456789Z");
    EXPECT_EQ(s.At(0, 2).character, U'Z');
    // A line feed on the last row scrolls the whole screen.
    s.WriteTty("\n");
    EXPECT_EQ(s.cursorY, 2);
    EXPECT_EQ(RowText(s, 0, 0, 2), U"01");
    EXPECT_EQ(RowText(s, 1, 0, 1), U"Z");
    EXPECT_EQ(s.At(0, 2).attribute, 0x1E);
    // UTF-8 text, and control characters that are not handled are ignored.
    s.WriteTty("\xE2\x82\xAC\x01!");
    EXPECT_EQ(RowText(s, 2, 0, 2), U"\u20AC!");
}

TEST(ShadowScreen, ResizeBlanksAndKeepsTheCursor) {
    ShadowScreen s(10, 5);
    s.WriteText(0, 0, "x", 0x1F);
    s.cursorX = 7;
    s.cursorY = 4;
    s.Resize(120, 40);
    EXPECT_EQ(s.Width(), 120);
    EXPECT_EQ(s.Height(), 40);
    EXPECT_EQ(s.At(0, 0).character, U' ');
    EXPECT_EQ(s.At(119, 39).attribute, 0x07);
    EXPECT_EQ(s.cursorX, 7);
    // A cursor left outside a smaller screen does not break teletype output.
    s.Resize(5, 2);
    s.WriteTty("ok");
    EXPECT_EQ(RowText(s, 1, 0, 2), U"ok");
}

}  // namespace
