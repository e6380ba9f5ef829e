// The terminal emulator on a console whose requests go into the host's screen
// model: byte streams against cells, attributes and the cursor; replies and
// keys on a pipe; the attached mode. (Named _e2e: it needs the host library,
// which is built where the scripted host runs.)
#include "base/strings/Utf8Codec.h"
#include "console/KeyCodes.h"
#include "console/TerminalEmulator.h"
#include "tests/console/ConsoleOnScreenModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qvtest::ConsoleOnScreenModel;

std::string Esc(const std::string& rest) {
    return "\x1b" + rest;
}

std::string Repeated(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) {
        s += piece;
    }
    return s;
}

// What the tests look at: every cell, and the cursor.
struct TScreenState {
    std::u32string characters;
    std::vector<uint8_t> attributes;
    int cursorX;
    int cursorY;
    bool operator==(const TScreenState& o) const {
        return characters == o.characters && attributes == o.attributes && cursorX == o.cursorX && cursorY == o.cursorY;
    }
};

TScreenState StateOf(const qvhost::ScreenModel& m) {
    TScreenState s{U"", {}, m.CursorX(), m.CursorY()};
    for (int y = 0; y < m.Rows(); ++y) {
        for (int x = 0; x < m.Columns(); ++x) {
            s.characters += m.At(x, y).ch;
            s.attributes.push_back(m.At(x, y).attr);
        }
    }
    return s;
}

// Scroll-back rows as the hook received them, read from the console then.
std::vector<std::string> g_scrollBack;
bool g_scrollBackOn = false;
CConsole* g_console = nullptr;

bool ScrollBackOn() {
    return g_scrollBackOn;
}
void AppendRow(int row) {
    CellString cells;
    g_console->CopyRect(cells, 0, row, 8, 1);
    std::string text;
    for (int i = 0; i < cells.Length(); ++i) {
        text += static_cast<char>(cells.Data()[i].character);
    }
    g_scrollBack.push_back(text);
}

class TerminalEmulatorTest : public ConsoleOnScreenModel {
protected:
    void SetUp() override {
        StartConsole(80, 25);
        g_console = console.get();
        g_scrollBack.clear();
        g_scrollBackOn = false;
        TerminalHooks = TTerminalHooks{ScrollBackOn, AppendRow, nullptr, nullptr};
    }
    void TearDown() override {
        TerminalHooks = TTerminalHooks{};
        if (replyRead > 0) {
            _close(replyRead);
            _close(replyWrite);
        }
        ConsoleOnScreenModel::TearDown();
    }

    // A blank screen in light grey, the cursor at the top left.
    void ResetScreen() {
        console->FillRect(0, 0, 80, 25, 0x07);
        console->SetCursorPos(0, 0);
        console->SetCursorShape(1);
    }

    // The screen after a fresh emulator got the chunks.
    TScreenState Run(const std::vector<std::string>& chunks) {
        ResetScreen();
        TerminalEmulator emulator(*console, 0);
        for (const std::string& chunk : chunks) {
            emulator.Write(chunk.data(), static_cast<int>(chunk.size()));
        }
        return StateOf(Screen());
    }

    void OpenReplyPipe() {
        int fds[2];
        ASSERT_EQ(_pipe(fds, 4096, _O_BINARY), 0);
        replyRead = fds[0];
        replyWrite = fds[1];
    }

    // What was written to the reply pipe since the last call: a marker of the
    // test's own closes what there is, so nothing waits on time.
    std::string TakeReplies() {
        static const std::string marker = "\xFF<end>\xFF";
        EXPECT_EQ(_write(replyWrite, marker.data(), static_cast<unsigned>(marker.size())),
                  static_cast<int>(marker.size()));
        std::string got;
        char buffer[256];
        while (got.size() < marker.size() || got.compare(got.size() - marker.size(), marker.size(), marker) != 0) {
            int n = _read(replyRead, buffer, sizeof buffer);
            if (n <= 0) {
                ADD_FAILURE() << "reply pipe ended";
                return got;
            }
            got.append(buffer, n);
        }
        return got.substr(0, got.size() - marker.size());
    }

    int replyRead = -1;
    int replyWrite = -1;
};

// A run of cells that must show the text, each in the attribute (-1: any).
struct TCellsExpect {
    int x;
    int y;
    const char* text;  // UTF-8
    int attribute;
};

struct TStreamCase {
    const char* name;
    std::string bytes;
    std::vector<TCellsExpect> cells;
    int cursorX;  // -1: not checked
    int cursorY;
};

// Ten numbered rows "r0" to "r9" from the top.
std::string NumberedRows() {
    std::string s;
    for (int i = 0; i < 10; ++i) {
        s += "r" + std::to_string(i) + (i < 9 ? "\r\n" : "");
    }
    return s;
}

// Lines "l0" to "l<n-1>" from the top, past the screen's 25 rows; the cursor
// stays after the last.
std::string Lines(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += "l" + std::to_string(i) + (i < n - 1 ? "\r\n" : "");
    }
    return s;
}

std::vector<TStreamCase> StreamCases() {
    return {
        {"colours", Esc("[32;44m") + "x", {{0, 0, "x", 0x12}}, 1, 0},
        {"reset", Esc("[31mA") + Esc("[0mB"), {{0, 0, "A", 0x04}, {1, 0, "B", 0x07}}, 2, 0},
        {"bold red", Esc("[1;31mx"), {{0, 0, "x", 0x0C}}, -1, -1},
        {"bright background", Esc("[101mx"), {{0, 0, "x", 0xC7}}, -1, -1},
        {"reverse", Esc("[7mx") + Esc("[27my"), {{0, 0, "x", 0x70}, {1, 0, "y", 0x07}}, -1, -1},
        {"underline is the bright background bit", Esc("[4mx"), {{0, 0, "x", 0x87}}, -1, -1},
        {"position", Esc("[3;5H"), {}, 4, 2},
        {"position clamped", Esc("[99;99H"), {}, 79, 24},
        {"row only", Esc("[7H"), {}, 0, 6},
        {"column and row", "ab" + Esc("[10G") + Esc("[4d"), {}, 9, 3},
        {"erase display",
         "abc\r\ndef" + Esc("[44m") + Esc("[2J"),
         {{0, 0, "   ", 0x17}, {0, 1, "   ", 0x17}, {79, 24, " ", 0x17}},
         3,
         1},
        {"erase to the end of the display",
         "abc\r\ndef\r\nghi" + Esc("[2;2H") + Esc("[J"),
         {{0, 0, "abc", 0x07}, {0, 1, "d  ", 0x07}, {0, 2, "   ", 0x07}},
         1,
         1},
        {"erase line to the cursor",
         "abcdef" + Esc("[3G") + Esc("[41m") + Esc("[1K"),
         {{0, 0, "   ", 0x47}, {3, 0, "def", 0x07}},
         2,
         0},
        {"erase line from the cursor", "abcdef" + Esc("[3G") + Esc("[K"), {{0, 0, "ab    ", 0x07}}, 2, 0},
        {"insert characters", "abcdef" + Esc("[2G") + Esc("[2@"), {{0, 0, "a  bcdef", 0x07}}, 1, 0},
        {"delete characters", "abcdef" + Esc("[2G") + Esc("[3P"), {{0, 0, "aef   ", 0x07}}, 1, 0},
        {"erase characters", "abcdef" + Esc("[2G") + Esc("[2X"), {{0, 0, "a  def", 0x07}}, 1, 0},
        {"insert lines in the region",
         NumberedRows() + Esc("[3;6r") + Esc("[4;1H") + Esc("[2L"),
         {{0, 2, "r2", -1}, {0, 3, "  ", -1}, {0, 4, "  ", -1}, {0, 5, "r3", -1}, {0, 6, "r6", -1}},
         0,
         3},
        {"delete a line in the region",
         NumberedRows() + Esc("[3;6r") + Esc("[4;1H") + Esc("[M"),
         {{0, 2, "r2", -1}, {0, 3, "r4", -1}, {0, 4, "r5", -1}, {0, 5, "  ", -1}, {0, 6, "r6", -1}},
         0,
         3},
        {"line feeds scroll the region only",
         NumberedRows() + Esc("[3;6r") + Esc("[6;1H") + "\n\nX",
         {{0, 1, "r1", -1}, {0, 2, "r4", -1}, {0, 3, "r5", -1}, {0, 5, "X ", -1}, {0, 6, "r6", -1}},
         1,
         5},
        {"bad region refused",
         NumberedRows() + Esc("[3;6r") + Esc("[5;5r") + Esc("[6;1H") + "\nX",
         {{0, 2, "r3", -1}, {0, 5, "X ", -1}, {0, 6, "r6", -1}},
         -1,
         -1},
        {"cursor up stops at row 0", Esc("[2;3H") + Esc("[3A"), {}, 2, 0},
        {"a given 0 does not move", Esc("[2;3H") + Esc("[0A") + Esc("[0C"), {}, 2, 1},
        {"cursor right stops at the last column", Esc("[200C"), {}, 79, 0},
        {"character set back to ASCII", Esc("(0") + "q" + Esc("(B") + "q", {{0, 0, "\xE2\x94\x80q", -1}}, 2, 0},
        {"line drawing", Esc("(0") + "lqqk", {{0, 0, "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x80\xE2\x94\x90", -1}}, 4, 0},
        {"unknown escape prints its byte", Esc("D"), {{0, 0, "D", 0x07}}, 1, 0},
        {"tab at column 77 wraps", Esc("[78G") + "\t", {}, 0, 1},
        {"tab stops", "a\tb", {{8, 0, "b", -1}}, 9, 0},
        {"backspace and carriage return", "abc\bX\rY", {{0, 0, "YbX", -1}}, 1, 0},
        {"wrap at the last column", Esc("[80G") + "ab", {{79, 0, "a", -1}, {0, 1, "b", -1}}, 1, 1},
        {"repeat", "x" + Esc("[3b"), {{0, 0, "xxxx ", -1}}, 4, 0},
        {"alternate screen and back",
         "keep" + Esc("[?1049h") + "other" + Esc("[?1049l"),
         {{0, 0, "keep ", 0x07}},
         4,
         0},
        {"cursor save and restore",
         Esc("[5;6H") + Esc("7") + Esc("[H") + "a" + Esc("8") + "b",
         {{0, 0, "a", -1}, {5, 4, "b", -1}},
         6,
         4},
        {"utf-8", "\xC3\xA9\xE2\x82\xAC", {{0, 0, "\xC3\xA9\xE2\x82\xAC", 0x07}}, 2, 0},
        {"operating-system command shows nothing",
         Esc("]0;title\x07") + "a" + Esc("]2;t") + Esc("\\") + "b",
         {{0, 0, "ab ", -1}},
         2,
         0},
        // Line feeds on the last row gather the rows they bring in; what
        // follows them sees the screen as if each had scrolled at once.
        {"lines past the bottom", Lines(60), {{0, 0, "l35", -1}, {0, 23, "l58", -1}, {0, 24, "l59", -1}}, 3, 24},
        {"cursor up into the rows gathered",
         Lines(27) + Esc("[2A") + "X" + Esc("[2B") + "Y",
         {{0, 0, "l2 ", -1}, {0, 22, "l24X", -1}, {0, 24, "l26 Y", -1}},
         5,
         24},
        {"erase above the cursor",
         Lines(27) + Esc("[1J"),
         {{0, 0, "   ", -1}, {0, 23, "   ", -1}, {0, 24, "    ", -1}},
         3,
         24},
        {"a region set after them", Lines(27) + Esc("[1;10r") + Esc("[1;1H") + "Z", {{0, 0, "Z2", -1}, {0, 24, "l26", -1}}, 1, 0},
        {"scroll up and down at the bottom",
         Lines(26) + Esc("[1S") + Esc("M") + Esc("M") + "v",
         {{0, 0, "  ", -1}, {0, 1, "  ", -1}, {0, 2, "l2", -1}, {0, 23, "l23", -1}, {0, 24, "l24v", -1}},
         4,
         24},
        {"blank rows brought in by a coloured line feed",
         Lines(25) + Esc("[44m") + "\n" + Esc("[0m") + "x",
         {{0, 23, "l24", 0x07}, {3, 24, "x", 0x07}, {0, 24, "   ", 0x17}, {79, 24, " ", 0x17}},
         4,
         24},
        {"empty parameter ends the sequence", Esc("[1;;31m") + "x", {{0, 0, "31mx", 0x07}}, 4, 0},
        {"missing last parameter counts as 0", Esc("[31m") + Esc("[1;m") + "x", {{0, 0, "x", 0x07}}, -1, -1},
        {"sequence with more than twelve parameters",
         Esc("[1;1;1;1;1;1;1;1;1;1;1;1;31;44m") + "x",
         {{0, 0, "x", 0x0F}},
         -1,
         -1},
    };
}

void ExpectCells(const TStreamCase& c, const qvhost::ScreenModel& m, const std::string& how) {
    for (const TCellsExpect& e : c.cells) {
        std::u32string wide = Utf8ToUtf32(e.text);
        int n = static_cast<int>(wide.size());
        EXPECT_EQ(m.RowText(e.y, e.x, n), e.text) << c.name << how << "\n" << m.Dump();
        if (e.attribute >= 0) {
            for (uint8_t a : m.RowAttributes(e.y, e.x, n)) {
                EXPECT_EQ(a, e.attribute) << c.name << how;
            }
        }
    }
    if (c.cursorX >= 0) {
        EXPECT_EQ(m.CursorX(), c.cursorX) << c.name << how;
        EXPECT_EQ(m.CursorY(), c.cursorY) << c.name << how;
    }
}

TEST_F(TerminalEmulatorTest, ByteStringsGiveCellsAttributesAndCursor) {
    for (const TStreamCase& c : StreamCases()) {
        ResetScreen();
        {
            TerminalEmulator emulator(*console, 0);
            emulator.Write(c.bytes.data(), static_cast<int>(c.bytes.size()));
        }
        ExpectCells(c, Screen(), "");
    }
}

TEST_F(TerminalEmulatorTest, EveryCutIntoTwoChunksGivesTheScreenOfTheWhole) {
    for (const TStreamCase& c : StreamCases()) {
        TScreenState whole = Run({c.bytes});
        for (size_t cut = 1; cut < c.bytes.size(); ++cut) {
            TScreenState split = Run({c.bytes.substr(0, cut), c.bytes.substr(cut)});
            EXPECT_TRUE(split == whole) << c.name << " cut at " << cut;
        }
    }
}

TEST_F(TerminalEmulatorTest, EveryByteItsOwnChunkGivesTheScreenOfTheWhole) {
    for (const TStreamCase& c : StreamCases()) {
        TScreenState whole = Run({c.bytes});
        std::vector<std::string> bytes;
        for (char b : c.bytes) {
            bytes.push_back(std::string(1, b));
        }
        EXPECT_TRUE(Run(bytes) == whole) << c.name;
    }
}

TEST_F(TerminalEmulatorTest, TextWritesOneRequestPerRowTouched) {
    ResetScreen();
    Sync();
    const int before = TotalRequests();
    TerminalEmulator emulator(*console, 0);
    std::string text = "one" + Esc("[31m") + "two" + Esc("[0m") + "three\r\nfour";
    emulator.Write(text.data(), static_cast<int>(text.size()));
    Sync();
    // Two rows put back, the cursor placed, then the sync request itself.
    EXPECT_EQ(RequestCount(19), 2);
    EXPECT_EQ(TotalRequests() - before, 4);
}

TEST_F(TerminalEmulatorTest, ALongOutputScrollsOnceForEveryScreenfulAndKeepsEveryRow) {
    ResetScreen();
    g_scrollBackOn = true;
    Sync();
    const int scrollsBefore = RequestCount(9);
    const int rectsBefore = RequestCount(19);
    {
        TerminalEmulator emulator(*console, 0);
        const std::string text = Lines(200) + "\r\n";
        emulator.Write(text.data(), static_cast<int>(text.size()));
    }
    Sync();
    // The first 24 rows one by one as the cursor leaves them; then 176 rows
    // scrolled off, 25 at a time (the region's height), each 25 put back as
    // one rectangle.
    EXPECT_LE(RequestCount(9) - scrollsBefore, 8);
    EXPECT_LE(RequestCount(19) - rectsBefore, 24 + 8);
    ASSERT_EQ(g_scrollBack.size(), 176u);
    for (int i = 0; i < 176; ++i) {
        EXPECT_EQ(g_scrollBack[i], ("l" + std::to_string(i) + "        ").substr(0, 8)) << i;
    }
    qvhost::ScreenModel m = Screen();
    EXPECT_EQ(m.RowText(0, 0, 5), "l176 ");
    EXPECT_EQ(m.RowText(23, 0, 5), "l199 ");
    EXPECT_EQ(m.RowText(24, 0, 5), "     ");
}

TEST_F(TerminalEmulatorTest, NulBytesAreIgnored) {
    ResetScreen();
    TerminalEmulator emulator(*console, 0);
    emulator.Write("a\0b", 3);
    qvhost::ScreenModel m = Screen();
    EXPECT_EQ(m.RowText(0, 0, 3), "ab ");
    EXPECT_EQ(m.CursorX(), 2);
}

TEST_F(TerminalEmulatorTest, NoTextIsLostOrGarbledWhenUtf8IsCut) {
    // Invalid bytes show as the replacement character; a cut character does not.
    ResetScreen();
    TerminalEmulator emulator(*console, 0);
    emulator.Write("\xE2\x82", 2);
    emulator.Write("\xAC", 1);
    emulator.Write(
        "\xFF"
        "x",
        2);
    EXPECT_EQ(Screen().RowText(0, 0, 3), "\xE2\x82\xAC\xEF\xBF\xBDx");
}

TEST_F(TerminalEmulatorTest, CursorReportGoesToTheDescriptorOnly) {
    OpenReplyPipe();
    std::string ask = Esc("[5;10H") + Esc("[6n");
    {
        // Descriptor 0 is the host channel: the report must not go there. The
        // pipe stands in for it while the emulator runs.
        int savedInput = _dup(0);
        ASSERT_GE(savedInput, 0);
        ASSERT_EQ(_dup2(replyWrite, 0), 0);
        TerminalEmulator none(*console, 0);
        none.Write(ask.data(), static_cast<int>(ask.size()));
        ASSERT_EQ(_dup2(savedInput, 0), 0);
        _close(savedInput);
        EXPECT_EQ(TakeReplies(), "");
    }
    TerminalEmulator emulator(*console, replyWrite);
    emulator.Write(ask.data(), static_cast<int>(ask.size()));
    EXPECT_EQ(TakeReplies(), Esc("[5;10R"));
    std::string notReport = Esc("[6;1n") + Esc("[5n");
    emulator.Write(notReport.data(), static_cast<int>(notReport.size()));
    EXPECT_EQ(TakeReplies(), "");
}

TEST_F(TerminalEmulatorTest, WritesToAGoneReaderAreIgnored) {
    int fds[2];
    ASSERT_EQ(_pipe(fds, 4096, _O_BINARY), 0);
    _close(fds[0]);
    ResetScreen();
    TerminalEmulator emulator(*console, fds[1]);
    // The pipe has no reader: the writes fail and the run goes on.
    std::string bytes = Esc("[6n") + "ok";
    emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
    emulator.EncodeKey('a');
    emulator.EncodeKey(KEY_F12);
    _close(fds[1]);
    EXPECT_EQ(Screen().RowText(0, 0, 2), "ok");
}

TEST_F(TerminalEmulatorTest, ScrollBackTakesTheRegionsOwnRows) {
    struct Case {
        const char* name;
        bool settingOn;
        std::string before;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"region", true, "", {"r2      ", "r3      "}},
        {"top back at row 0", true, Esc("[r") + Esc("[25;1H"), {"r0      ", "r1      "}},
        {"alternate screen", true, Esc("[?1049h") + NumberedRows(), {}},
        {"setting off", false, "", {}},
    };
    for (const Case& c : cases) {
        ResetScreen();
        g_scrollBack.clear();
        g_scrollBackOn = c.settingOn;
        TerminalEmulator emulator(*console, 0);
        std::string bytes = NumberedRows() + Esc("[3;5r") + Esc("[5;1H") + c.before + "\n\n";
        emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_EQ(g_scrollBack, c.expected) << c.name;
    }
}

TEST_F(TerminalEmulatorTest, ScrollCountsAreClampedToTheRegion) {
    ResetScreen();
    g_scrollBackOn = true;
    TerminalEmulator emulator(*console, 0);
    std::string bytes = NumberedRows() + Esc("[3;5r") + Esc("[9999S");
    emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(g_scrollBack, (std::vector<std::string>{"r2      ", "r3      ", "r4      "}));
    qvhost::ScreenModel m = Screen();
    EXPECT_EQ(m.RowText(1, 0, 2), "r1");
    EXPECT_EQ(m.RowText(2, 0, 2), "  ");
    EXPECT_EQ(m.RowText(5, 0, 2), "r5");
}

TEST_F(TerminalEmulatorTest, HostileStreamsStayBounded) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* row0;  // the first three cells afterwards
        uint8_t attribute;
    };
    const std::string mega(1 << 20, '7');
    const Case cases[] = {
        {"huge number", Esc("[99999999999999999999m") + "ok", "ok ", 0x07},
        {"huge repeat", "a" + Esc("[999999999b"), "aaa", 0x07},
        {"unterminated operating-system command", Esc("]") + mega + "\x07ok", "ok ", 0x07},
        {"endless control sequence", Esc("[") + mega + "mok", "ok ", 0x07},
        {"endless parameters", Esc("[") + Repeated("1;", 1 << 19) + "mok", "ok ", 0x07},
    };
    for (const Case& c : cases) {
        ResetScreen();
        TerminalEmulator emulator(*console, 0);
        for (size_t at = 0; at < c.bytes.size(); at += 1024) {
            std::string chunk = c.bytes.substr(at, 1024);
            emulator.Write(chunk.data(), static_cast<int>(chunk.size()));
            ASSERT_LE(emulator.PendingLength(), TerminalEmulator::MaxPendingBytes) << c.name << " at " << at;
        }
        qvhost::ScreenModel m = Screen();
        EXPECT_EQ(m.RowText(0, 0, 3), c.row0) << c.name;
        EXPECT_EQ(m.RowAttributes(0, 0, 1)[0], c.attribute) << c.name;
    }
    // The repeat painted one screen at most: the cursor is still on it and
    // the first row was scrolled away no more than once.
    ResetScreen();
    TerminalEmulator emulator(*console, 0);
    std::string bytes = Esc("[25;1H") + "b" + Esc("[999999999b");
    emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
    qvhost::ScreenModel m = Screen();
    EXPECT_EQ(m.RowText(0, 0, 2), "bb");
    EXPECT_EQ(m.CursorX(), 1);
    EXPECT_EQ(m.CursorY(), 24);
}

TEST_F(TerminalEmulatorTest, ScrollRegionFollowsAScreenThatShrank) {
    ResetScreen();
    TerminalEmulator emulator(*console, 0);
    std::string bytes = Esc("[20;25r");
    emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_TRUE(console->SetScreenSize(80, 15));
    console->FillRect(0, 0, 80, 15, 0x07);
    bytes = "top" + Esc("[15;1H") + "\nX";
    emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
    qvhost::ScreenModel m = Screen();
    // The old region lies below the new screen: the whole screen scrolls.
    EXPECT_EQ(m.RowText(13, 0, 1), " ");
    EXPECT_EQ(m.RowText(14, 0, 1), "X");
    EXPECT_NE(m.RowText(0, 0, 3), "top");
}

TEST_F(TerminalEmulatorTest, DestroyingPutsTheNormalScreenBack) {
    ResetScreen();
    {
        TerminalEmulator emulator(*console, 0);
        std::string bytes = "shell" + Esc("[?1049h") + Esc("[44m") + "full screen";
        emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_EQ(Screen().RowText(0, 0, 4), "full");
    }
    qvhost::ScreenModel m = Screen();
    EXPECT_EQ(m.RowText(0, 0, 6), "shell ");
    EXPECT_EQ(m.RowAttributes(0, 0, 1)[0], 0x07);
}

TEST_F(TerminalEmulatorTest, DefaultColourComesFromTheHook) {
    TerminalHooks.defaultAttribute = [] { return static_cast<uint8_t>(0x1E); };
    ResetScreen();
    TerminalEmulator emulator(*console, 0);
    std::string bytes = "a" + Esc("[31m") + "b" + Esc("[39m") + "c" + Esc("[m") + Esc("[2K");
    emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
    qvhost::ScreenModel m = Screen();
    EXPECT_EQ(m.RowAttributes(0, 0, 1)[0], 0x1E);
    bytes = "\rd" + Esc("[31m") + "e" + Esc("[39m") + "f";
    emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
    m = Screen();
    EXPECT_EQ(m.RowAttributes(0, 0, 3), (std::vector<uint8_t>{0x1E, 0x14, 0x1E}));
}

TEST_F(TerminalEmulatorTest, PrivateModesSetTheCursorAndCursorKeys) {
    OpenReplyPipe();
    ResetScreen();
    TerminalEmulator emulator(*console, replyWrite);
    std::string hide = Esc("[?25l");
    emulator.Write(hide.data(), static_cast<int>(hide.size()));
    EXPECT_EQ(Screen().CursorSize(), 0);
    std::string show = Esc("[?25h") + Esc("[?1h");
    emulator.Write(show.data(), static_cast<int>(show.size()));
    EXPECT_EQ(Screen().CursorSize(), 15);
    emulator.EncodeKey(KEY_UP);
    EXPECT_EQ(TakeReplies(), Esc("OA"));
    std::string normal = Esc("[?1l");
    emulator.Write(normal.data(), static_cast<int>(normal.size()));
    emulator.EncodeKey(KEY_UP);
    EXPECT_EQ(TakeReplies(), Esc("[A"));
}

TEST_F(TerminalEmulatorTest, KeysAreEncodedByTheTable) {
    struct Case {
        int key;
        std::string bytes;
    };
    const Case cases[] = {
        {KEY_INSERT, Esc("[2~")},
        {KEY_F12, Esc("[24~")},
        {KEY_PGUP, Esc("[5~")},
        {KEY_BACKSPACE, "\b"},
        {'a', "a"},
        {KEY_F1, Esc("OP")},
        {KEY_F5, Esc("[15~")},
        {KEY_CTRL_PGDN, Esc("[6;5~")},
        {KEY_DELETE, Esc("[3~")},
        {KEY_LEFT, Esc("[D")},
        {KEY_END, Esc("[F")},
        {0xE9, "\xC3\xA9"},  // a character key goes as UTF-8
        {0x20AC, "\xE2\x82\xAC"},
        {KEY_ALT_F1, ""},
        {KEY_SHIFT_TAB, ""},
        {KEY_MOUSE, ""},
        {KEY_CTRL_B, "\x02"},
        // A key event without a key (the host's modifiers-released report).
        {0, ""},
    };
    OpenReplyPipe();
    TerminalEmulator emulator(*console, replyWrite);
    for (const Case& c : cases) {
        emulator.EncodeKey(c.key);
        EXPECT_EQ(TakeReplies(), c.bytes) << std::hex << c.key;
    }
    SetHostClipboard(U"clip \u20AC");
    emulator.EncodeKey(KEY_SHIFT_INSERT);
    EXPECT_EQ(TakeReplies(), "clip \xE2\x82\xAC");
    SetHostClipboard(U"");
    emulator.EncodeKey(KEY_SHIFT_INSERT);
    EXPECT_EQ(TakeReplies(), "");
    // Without a descriptor nothing is written anywhere, not even asked.
    TerminalEmulator none(*console, 0);
    Sync();
    const int asked = RequestCount(21);
    none.EncodeKey(KEY_SHIFT_INSERT);
    none.EncodeKey('a');
    Sync();
    EXPECT_EQ(RequestCount(21) - asked, 1);  // only the sync itself
}

TEST_F(TerminalEmulatorTest, AttachedTerminalTakesKeysAndTeletypeText) {
    OpenReplyPipe();
    ResetScreen();
    console->AttachTerminal(replyWrite);
    ASSERT_NE(console->AttachedTerminal(), nullptr);
    Sync();
    const int ttyBefore = RequestCount(22);
    Feed(qvhost::EncodeEvent(qvhost::kEventKey, KEY_F12, 0, 0, 0, 0));
    Feed(qvhost::EncodeEvent(qvhost::kEventMousePress, 1, 0, 3, 3, 0));
    Feed(qvhost::EncodeEvent(qvhost::kEventKey, 'x', 0, 0, 0, 'x'));
    // Ctrl-B and the host's report that Ctrl was let go: only the key's byte.
    Feed(qvhost::EncodeEvent(qvhost::kEventKey, KEY_CTRL_B, qvhost::kShiftCtrl, 0, 0, KEY_CTRL_B));
    Feed(qvhost::EncodeEvent(qvhost::kEventKey, 0, 0, 0, 0, 0));
    Feed(qvhost::EncodeEvent(qvhost::kEventKey, 'b', 0, 0, 0, 'b'));
    console->WriteTty("\x1b[31mred");
    qvhost::ScreenModel m = Screen();
    EXPECT_EQ(m.RowText(0, 0, 3), "red");
    EXPECT_EQ(m.RowAttributes(0, 0, 1)[0], 0x04);
    EXPECT_EQ(RequestCount(22), ttyBefore);
    // Detaching lets the key feeder finish the queue first.
    console->DetachTerminal();
    EXPECT_EQ(console->AttachedTerminal(), nullptr);
    EXPECT_EQ(TakeReplies(), Esc("[24~") + "x\x02" "b");
    // The mouse event was dropped; events go to GetEvent again.
    CConsole::TEvent event{};
    EXPECT_FALSE(console->GetEvent(event, 0));
    Feed(qvhost::EncodeEvent(qvhost::kEventKey, 'y', 0, 0, 0, 'y'));
    ASSERT_TRUE(console->GetEvent(event, 10000));
    EXPECT_EQ(event.code, 'y');
    console->WriteTty("plain");
    m = Screen();
    EXPECT_EQ(RequestCount(22), ttyBefore + 1);
    EXPECT_EQ(m.RowText(0, 3, 5), "plain");
}

TEST_F(TerminalEmulatorTest, AttachingAgainReplacesTheEmulator) {
    OpenReplyPipe();
    console->AttachTerminal(replyWrite);
    console->AttachTerminal(replyWrite);
    EXPECT_NE(console->AttachedTerminal(), nullptr);
    Feed(qvhost::EncodeEvent(qvhost::kEventKey, 'k', 0, 0, 0, 'k'));
    Sync();  // the host's reply comes after the key: the key is queued
    console->DetachTerminal();
    // One feeder thread took the key: it arrives once.
    EXPECT_EQ(TakeReplies(), "k");
}

TEST_F(TerminalEmulatorTest, ClosedHostEndsTheKeyFeeder) {
    OpenReplyPipe();
    console->AttachTerminal(replyWrite);
    CloseHostInput();
    console->DetachTerminal();
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, 10000));
    EXPECT_EQ(event.kind, CConsole::TEvent::KindClosed);
}

}  // namespace
