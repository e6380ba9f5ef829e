#include "app/program/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

#include "app/settings/Config.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring bytes;
    text.ToUtf8(bytes);
    return bytes.Data();
}

TCommandLine LineAt(const char* text, int cursor) {
    TCommandLine line;
    line.text = Westring(text);
    line.cursor = cursor;
    return line;
}

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Config.BriefWordRight = 0;
        Config.CmdChar = '!';
    }
};

TEST_F(CommandLineTest, WordMovesAndWordDeletes) {
    struct TCase {
        const char* text;
        int cursor;
        void (TCommandLine::*edit)();
        const char* after;
        int cursorAfter;
    };
    const TCase cases[] = {
        {"copy a.txt b", 12, &TCommandLine::WordLeft, "copy a.txt b", 11},
        {"copy a.txt b", 11, &TCommandLine::WordLeft, "copy a.txt b", 7},
        {"copy a.txt  ", 12, &TCommandLine::WordLeft, "copy a.txt  ", 7},
        {"copy a.txt b", 0, &TCommandLine::WordRight, "copy a.txt b", 5},
        {"copy a.txt b", 5, &TCommandLine::WordRight, "copy a.txt b", 7},
        {"copy a.txt b", 12, &TCommandLine::WordRight, "copy a.txt b", 12},
        {"copy a.txt b", 11, &TCommandLine::DeleteWordLeft, "copy a.b", 7},
        {"copy a.txt b", 0, &TCommandLine::DeleteWordRight, "a.txt b", 0},
        {"copy a.txt b", 12, &TCommandLine::DeleteWordRight, "copy a.txt b", 12},
        {"abc", 0, &TCommandLine::DeleteBefore, "abc", 0},
        {"abc", 2, &TCommandLine::DeleteBefore, "ac", 1},
        {"abc", 3, &TCommandLine::DeleteAt, "abc", 3},
        {"abc", 1, &TCommandLine::DeleteAt, "ac", 1},
    };
    for (const TCase& c : cases) {
        TCommandLine line = LineAt(c.text, c.cursor);
        (line.*c.edit)();
        EXPECT_EQ(Utf8(line.text), c.after) << c.text << " at " << c.cursor;
        EXPECT_EQ(line.cursor, c.cursorAfter) << c.text << " at " << c.cursor;
    }
}

TEST_F(CommandLineTest, LineStaysBelowTheLimit) {
    TCommandLine line = LineAt("", 0);
    for (int i = 0; i < 600; i++) {
        line.InsertChar('x');
    }
    EXPECT_EQ(line.text.Length(), CommandLineLimit - 1);
    EXPECT_EQ(line.cursor, CommandLineLimit - 1);
    EXPECT_FALSE(line.InsertText(Westring("y")));
    line.cursor = 3;
    line.DeleteAt();
    EXPECT_TRUE(line.InsertText(Westring("y")));
    EXPECT_EQ(line.text[3], U'y');
}

TEST_F(CommandLineTest, HistoryBrowsingComesBackToTheSavedLine) {
    WestringStore history;
    history.Add(new Westring("dir"));
    history.Add(new Westring("edit x"));
    TCommandLine line = LineAt("typed", 5);
    const char* const backwards[] = {"edit x", "dir", "typed", "edit x"};
    for (const char* expected : backwards) {
        line.HistoryPrevious(history);
        EXPECT_EQ(Utf8(line.text), expected);
        EXPECT_EQ(line.cursor, line.text.Length());
    }
    line.HistoryNext(history);
    EXPECT_EQ(Utf8(line.text), "typed");
    line.HistoryNext(history);
    EXPECT_EQ(Utf8(line.text), "dir");
    line.HistoryNext(history);
    EXPECT_EQ(Utf8(line.text), "edit x");
    line.HistoryNext(history);
    EXPECT_EQ(Utf8(line.text), "typed");
}

TEST_F(CommandLineTest, HistorySearchFindsTheNextEntryWithThePrefixAndWraps) {
    WestringStore history;
    history.Add(new Westring("edit one"));
    history.Add(new Westring("dir"));
    history.Add(new Westring("Edit two"));
    TCommandLine line = LineAt("ed", 2);
    ASSERT_TRUE(line.HistorySearch(history, false));
    EXPECT_EQ(Utf8(line.text), "Edit two");
    EXPECT_EQ(line.cursor, 2);
    ASSERT_TRUE(line.HistorySearch(history, false));
    EXPECT_EQ(Utf8(line.text), "edit one");
    ASSERT_TRUE(line.HistorySearch(history, false));
    EXPECT_EQ(Utf8(line.text), "Edit two");
    TCommandLine none = LineAt("zz", 2);
    EXPECT_FALSE(none.HistorySearch(history, true));
    EXPECT_EQ(Utf8(none.text), "zz");
}

TEST_F(CommandLineTest, ScrollKeepsTheCursorVisible) {
    TCommandLine line;
    for (int i = 0; i < 100; i++) {
        line.InsertChar(static_cast<char32_t>('a' + i % 26));
    }
    line.ClampScroll(10, 80);
    // 10 + 100 - scroll must stay below 80.
    EXPECT_EQ(line.scroll, 31);
    line.cursor = 0;
    line.ClampScroll(10, 80);
    EXPECT_EQ(line.scroll, 0);
    line.cursor = 500;
    line.ClampScroll(10, 80);
    EXPECT_EQ(line.cursor, 100);
}

TEST_F(CommandLineTest, InsertNameQuotesEscapesAndRespectsTheLimit) {
    struct TCase {
        const char* name;
        const char* expected;
    };
    const TCase cases[] = {
        {"plain.txt", "x plain.txt "}, {"my file", "x \"my file\" "}, {"-dash", "x \"-dash\" "},
        {"100%", "x \"100%\" "},       {"wow!", "x wow!! "},          {"C:\\dir\\", "x C:\\dir\\"},
    };
    for (const TCase& c : cases) {
        Westring line("x ");
        int cursor = 2;
        EXPECT_TRUE(InsertNameIntoCommandLine(line, Westring(c.name), cursor));
        EXPECT_EQ(Utf8(line), c.expected);
        EXPECT_EQ(cursor, line.Length());
    }
    Westring full = RepeatChar32('a', 509);
    int cursor = 509;
    EXPECT_FALSE(InsertNameIntoCommandLine(full, Westring("bc"), cursor));
    EXPECT_EQ(full.Length(), 509);
    EXPECT_EQ(cursor, 509);
    EXPECT_TRUE(InsertNameIntoCommandLine(full, Westring("b"), cursor));
    EXPECT_EQ(full.Length(), 511);
}

TEST_F(CommandLineTest, WordAtCursorFollowsQuotesAndRedirections) {
    struct TCase {
        const char* line;
        int cursor;
        bool found;
        const char* word;
        int start;
        int length;
    };
    const TCase cases[] = {
        {"copy \"my fi", 11, true, "my fi", 5, 6}, {"copy \"my fi\"", 11, true, "my fi", 5, 7},
        {"type a>out", 10, true, "out", 7, 3},     {"dir ", 4, false, "", 4, 0},
        {"prog", 4, true, "prog", 0, 4},
    };
    for (const TCase& c : cases) {
        Westring word;
        int start = -1;
        int length = -1;
        bool found = CommandLineWordAtCursor(word, start, length, Westring(c.line), c.cursor);
        EXPECT_EQ(found, c.found) << c.line;
        EXPECT_EQ(Utf8(word), c.word) << c.line;
        EXPECT_EQ(start, c.start) << c.line;
        EXPECT_EQ(length, c.length) << c.line;
    }
}

}  // namespace
