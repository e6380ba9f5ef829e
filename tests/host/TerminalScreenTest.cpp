// What qvhost gives the terminal: one column per cell whatever the cell
// holds, no control character from the program's data, and the part of a
// screen larger than the terminal that fits, with a notice.
#include "host/ScreenModel.h"
#include "host/TerminalScreen.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvhost;

TEST(TerminalScreen, EveryCellTakesOneColumn) {
    struct Case {
        char32_t cell;
        char32_t shown;
    };
    const Case cases[] = {
        {U'a', U'a'},        {0xE9, 0xE9},          // é, precomposed
        {0x2500, 0x2500},    {0x2554, 0x2554},      // frame lines
        {0x65E5, kStandIn},  {0xFF21, kStandIn},    // 日 and a fullwidth A: two columns
        {0x1F600, kStandIn}, {0x1F4C1, kStandIn},   // emoji
        {0x0301, kStandIn},  {0x200B, kStandIn},    // a combining accent, a zero-width space
        {0x0378, kStandIn},  {0xE0000, kStandIn},   // unassigned
        {0xD800, kStandIn},  {0x110000, kStandIn},  // no characters at all
        {0x1B, 0x2190},      {0x07, 0x2022},        // escape and bell show as the screen's glyphs
        {0x9B, 0x2302},      {0x7F, 0x2302},        // so do the C1 controls and DEL
        {0, U' '},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<uint32_t>(TerminalGlyph(c.cell)), static_cast<uint32_t>(c.shown))
            << std::hex << static_cast<uint32_t>(c.cell);
    }
    // A row of such names is exactly as wide on the terminal as on the screen.
    const std::u32string row = U"\u65E5\u672C\u8A9E.txt e\u0301t\u00E9 \U0001F600\u200B\u2502\x1B[2J";
    int columns = 0;
    for (char32_t c : row) {
        const int width = TerminalColumns(TerminalGlyph(c));
        EXPECT_EQ(width, 1) << std::hex << static_cast<uint32_t>(c);
        columns += width;
    }
    EXPECT_EQ(columns, static_cast<int>(row.size()));
}

TEST(TerminalScreen, TitlesCarryNoControlCharacters) {
    struct Case {
        std::u32string title;
        const char* sent;
    };
    const Case cases[] = {
        {U"evil\a\x1B[2J\x1B[5;5H PWNED", "evil??[2J?[5;5H PWNED"},
        {U"C1 \x9D"
         U"0;x\x9C end",
         "C1 ?0;x? end"},  // OSC and ST as single C1 characters
        {U"tab\there\r\nnext", "tab?here??next"},
        {U"\u65E5\u672C\u8A9E \u00E9", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xC3\xA9"},
        {std::u32string(1, char32_t(0xD800)) + U"x" + std::u32string(1, char32_t(0x110000)), "?x?"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TerminalTitle(c.title), c.sent);
    }
    EXPECT_EQ(TerminalTitle(std::u32string(5000, U'x')).size(), 256u);
}

TEST(TerminalScreen, AScreenLargerThanTheTerminalShowsWhatFitsAndANotice) {
    struct Case {
        int screenColumns, screenRows, terminalColumns, terminalRows;
        int columns, rows, noticeRow;
    };
    const Case cases[] = {
        {80, 25, 70, 20, 70, 19, 19},     // smaller both ways
        {100, 25, 100, 20, 100, 19, 19},  // rows only
        {80, 40, 60, 40, 60, 39, 39},     // columns only
        {120, 40, 120, 40, 120, 40, -1},  // the same size
        {80, 25, 100, 30, 80, 25, -1},    // a larger terminal: no notice
        {80, 25, 10, 1, 10, 0, 0},        // a single row holds the notice alone
    };
    for (const Case& c : cases) {
        TerminalLayout layout = LayoutOnTerminal(c.screenColumns, c.screenRows, c.terminalColumns, c.terminalRows);
        EXPECT_EQ(layout.columns, c.columns) << c.terminalColumns << "x" << c.terminalRows;
        EXPECT_EQ(layout.rows, c.rows) << c.terminalColumns << "x" << c.terminalRows;
        EXPECT_EQ(layout.noticeRow, c.noticeRow) << c.terminalColumns << "x" << c.terminalRows;
    }
    const std::u32string notice = SizeNotice(80, 25, 70, 20);
    EXPECT_NE(notice.find(U"80x25"), std::u32string::npos);
    EXPECT_NE(notice.find(U"70x20"), std::u32string::npos);
    EXPECT_LE(notice.size(), 70u);
    EXPECT_EQ(SizeNotice(80, 25, 12, 5).size(), 12u);
}

TEST(TerminalScreen, TheTerminalHostTakesTheProgramsLeastScreenOnASmallerTerminal) {
    struct Case {
        int terminalColumns, terminalRows;
        int wantedColumns, wantedRows;
        bool accepted;
    };
    const Case cases[] = {
        {70, 20, 80, 25, true},   {70, 20, 70, 20, true},   {70, 20, 81, 25, false},   {70, 20, 80, 26, false},
        {100, 20, 100, 25, true}, {100, 20, 80, 25, false}, {120, 40, 120, 50, false}, {120, 40, 120, 40, true},
        {120, 40, 80, 25, false}, {79, 30, 80, 30, true},   {79, 30, 80, 25, false},
    };
    for (const Case& c : cases) {
        ScreenModel model(c.terminalColumns, c.terminalRows);
        model.SetSizeFixed(true);
        Request set;
        set.opcode = 7;
        set.params.resize(2);
        set.params[0].value = c.wantedColumns;
        set.params[1].value = c.wantedRows;
        std::string reply;
        ASSERT_TRUE(model.Apply(set, reply));
        EXPECT_EQ(reply, EncodeReply({c.accepted ? 1 : 0}))
            << c.wantedColumns << "x" << c.wantedRows << " on " << c.terminalColumns << "x" << c.terminalRows;
        EXPECT_EQ(model.Columns(), c.accepted ? c.wantedColumns : c.terminalColumns);
        EXPECT_EQ(model.Rows(), c.accepted ? c.wantedRows : c.terminalRows);
    }
    // The terminal grows: the screen takes its size.
    ScreenModel model(70, 20);
    model.SetSizeFixed(true);
    model.SetTerminalSize(120, 40);
    EXPECT_EQ(model.Columns(), 120);
    EXPECT_EQ(model.Rows(), 40);
}
