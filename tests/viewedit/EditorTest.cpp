// The editor's text model, undo and redo, and loading and saving, on real
// files and a console whose screen nobody looks at: columns and tabs,
// re-indenting, bookmarks that move with changes, bracket matching, whole
// words, files that come back byte for byte, trimmed blanks, and the saved
// point.
#include "viewedit/Editor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/settings/Config.h"
#include "base/strings/ConsoleCodePage.h"
#include "console/KeyCodes.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiConsole.h"
#include "viewedit/FileStatusStore.h"
#include "viewedit/ViewerSearchState.h"

namespace {

using qvtest::TempDir;
using qvtest::W;

std::string Utf8(const Westring& text) {
    Estring bytes;
    text.ToUtf8(bytes);
    return std::string(bytes.Data(), bytes.Length());
}

class EditorTest : public qvtest::UiConsole {
protected:
    void SetUp() override {
        UiConsole::SetUp();
        savedCodePage = TextCodePageSetting;
        TextCodePageSetting = 1252;
        Config.TabWidth = 8;
        Config.AutoIndent = 0;
        Config.OverStrike = 0;
        Config.BriefWordRight = 1;
        Config.IndentWidth = 2;
        ViewerCodePage = 0;
        ViewerSearchOptions = {0, 0, 0};
    }
    void TearDown() override {
        editor.reset();
        TextCodePageSetting = savedCodePage;
        UiConsole::TearDown();
    }

    Westring PathOf(const std::string& name) { return Westring(dir.Join(W(name)).c_str()); }

    // A new editor on a file holding the bytes (a fresh name each time, as
    // the per-file records outlive the editor).
    void Load(const std::string& bytes, std::string name = "") {
        if (name.empty())
            name = "file" + std::to_string(++files) + ".txt";
        ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), bytes));
        Open(name);
    }
    void Open(const std::string& name) {
        editor.reset(new QVEditor);
        editor->path = PathOf(name);
        ASSERT_EQ(editor->textFile.Open(editor->path, StdFile::ModeRead, StdFile::ShareRead), 0u);
        ASSERT_TRUE(editor->LoadFile(editor->textFile, false, -1, 0));
        editor->textFile.Close();
        current = name;
    }
    // The lines joined by "|".
    std::string Text() {
        editor->StoreBuffer();
        std::string out;
        for (int i = 0; i < editor->LineCount(); i++) {
            if (i)
                out += "|";
            out += Utf8(Westring(editor->lines.At(i)->Text()));
        }
        return out;
    }
    std::string SaveAndRead() {
        EXPECT_EQ(editor->SaveFile(editor->path), 0u);
        return qvtest::ReadFileBytes(dir.Join(W(current)));
    }
    void Keys(const std::vector<int>& keys) {
        for (int key : keys) {
            editor->ResetUndoItem();
            editor->HandleKey(key);
            editor->CommitLine();
        }
    }
    void Put(int index, int line) {
        editor->GotoPosition(index, line);
        editor->CommitLine();
    }

    TempDir dir;
    std::unique_ptr<QVEditor> editor;
    std::string current;
    int files = 0;
    UINT savedCodePage = 0;
};

TEST_F(EditorTest, ColumnToIndexLandsOnUnitsAndMovesBackToATabStart) {
    Config.TabWidth = 8;
    struct Case {
        const char32_t* text;
        int x, scroll;
        int index, cursorX;
    } cases[] = {
        {U"a\tb", 5, 0, 1, 1},                                                   // inside the tab: its start
        {U"a\tb", 0, 0, 0, 0},  {U"a\tb", 1, 0, 1, 1},   {U"a\tb", 8, 0, 2, 8},  // the tab's end: after it
        {U"a\tb", 9, 0, 3, 9},  {U"a\tb", 20, 0, 3, 20},  // past the end: the length, x unchanged
        {U"a\tb", 3, 2, 1, -1},                           // the column counts the scroll
        {U"", 4, 0, 0, 4},
    };
    for (const Case& c : cases) {
        int x = c.x;
        EXPECT_EQ(ColumnToIndex(c.text, x, c.scroll), c.index) << c.x << "+" << c.scroll;
        EXPECT_EQ(x, c.cursorX) << c.x << "+" << c.scroll;
    }
    Config.TabWidth = 4;
    EXPECT_EQ(EditorDisplayWidth(U"ab\tc"), 5);
    EXPECT_EQ(EditorDisplayWidth(U"ab\tc", 2), 2);
}

TEST_F(EditorTest, IndentLineReplacesTheIndentationOrLeavesTheLineAlone) {
    Load("\tfoo\n  foo\n   \n\n foo\n\t x\n  bar\n\tbaz\n\t y");
    struct Case {
        int line, delta;
        const char* result;
    } cases[] = {
        {0, -4, "    foo"},                  // the tab becomes blanks
        {1, 2, "    foo"},  {2, -1, "   "},  // blank: alone
        {3, 4, ""},                          // empty: alone
        {4, -4, " foo"},                     // too negative: alone
        {5, -8, " x"},                       // a tab and a blank are 9 columns wide
        // Exactly to column 0: the indentation goes, the text stays.
        {6, -2, "bar"},
        {7, -8, "baz"},
        {8, -9, "y"},
    };
    for (const Case& c : cases)
        editor->IndentLine(c.line, c.delta);
    editor->Refetch();
    std::vector<std::string> got;
    for (const Case& c : cases) {
        got.push_back(Utf8(Westring(editor->LineText(c.line))));
        EXPECT_EQ(got.back(), c.result) << "line " << c.line;
    }
}

TEST_F(EditorTest, BookmarksMoveWithTheChangeThatRecordDescribes) {
    Load("x");
    struct Case {
        const char* change;
        int sL, sI, eL, eI, n;
        const char* text;
        int line, index;  // the bookmark before
        int wantLine, wantIndex;
    } cases[] = {
        // One character typed at (2, 3).
        {"typed, earlier line", 2, 3, 2, 4, 1, "", 1, 9, 1, 9},
        {"typed, before it on the line", 2, 3, 2, 4, 1, "", 2, 2, 2, 2},
        {"typed, at it", 2, 3, 2, 4, 1, "", 2, 3, 2, 3},
        {"typed, behind it", 2, 3, 2, 4, 1, "", 2, 5, 2, 6},
        {"typed, later line", 2, 3, 2, 4, 1, "", 3, 0, 3, 0},
        // A character deleted at (2, 3).
        {"deleted, behind it", 2, 3, 2, 3, 1, "q", 2, 6, 2, 5},
        // A line join at the end of line 2 removes a line.
        {"joined, later line", 2, 5, 2, 5, 2, "\n", 4, 1, 3, 1},
        // Two lines pasted at (2, 3): "X\nYY".
        {"pasted, behind it", 2, 3, 3, 2, 1, "", 2, 7, 3, 6},
        {"pasted, later line", 2, 3, 3, 2, 1, "", 5, 1, 6, 1},
    };
    for (const Case& c : cases) {
        for (TBookmark& mark : editor->bookmarks)
            mark = {-1, 0};
        editor->bookmarks[3] = {c.index, c.line};
        UndoItem record;
        record.regionStartLine = c.sL;
        record.regionStartIndex = c.sI;
        record.regionEndLine = c.eL;
        record.regionEndIndex = c.eI;
        record.lineCount = c.n;
        record.text = c.text;
        editor->ShiftBookmarks(record);
        EXPECT_EQ(editor->bookmarks[3].line, c.wantLine) << c.change;
        EXPECT_EQ(editor->bookmarks[3].index, c.wantIndex) << c.change;
        EXPECT_EQ(editor->bookmarks[0].index, -1) << c.change;  // unset ones stay unset
    }
}

TEST_F(EditorTest, MatchBracketFindsItsOwnPartnerOverNestedPairsAndLines) {
    Load("f(a(b)c) [x]\n{\n\n  (y]\n}\n(a]b)");
    struct Case {
        int line, index;
        int wantLine, wantIndex;
    } cases[] = {
        {0, 1, 0, 7},                 // past the nested pair
        {0, 7, 0, 1},                 // backwards
        {0, 9, 0, 11},                // another kind
        {1, 0, 4, 0},                 // over lines, skipping the empty one
        {4, 0, 1, 0},  {5, 0, 5, 4},  // a bracket of another kind does not count
        {0, 0, 0, 0},                 // no bracket: the cursor stays
    };
    for (const Case& c : cases) {
        Put(c.index, c.line);
        editor->MatchBracket();
        EXPECT_EQ(editor->CursorLine(), c.wantLine) << c.line << ":" << c.index;
        EXPECT_EQ(editor->cursorIndex, c.wantIndex) << c.line << ":" << c.index;
    }
    // Without a partner the cursor stays.
    Load("((a)");
    Put(0, 0);
    editor->MatchBracket();
    EXPECT_EQ(editor->cursorIndex, 0);
}

TEST_F(EditorTest, WholeWordSearchSkipsWordsThatOnlyContainThePattern) {
    Load("cat concat cat_x cat.\nCAT");
    ViewerSearchText = Westring("cat");
    ViewerSearchOptions = {0, 0, 1};
    std::vector<std::pair<int, int>> found;
    int line = 0, index = -1;
    while (editor->Search(line, index, false, false, true) == 0 && found.size() < 10)
        found.push_back({line, index});
    std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 17}, {1, 0}};
    EXPECT_EQ(found, expected);

    // Case sensitive without whole words: inside words too.
    ViewerSearchOptions = {1, 0, 0};
    found.clear();
    line = 0;
    index = -1;
    while (editor->Search(line, index, false, false, true) == 0 && found.size() < 10)
        found.push_back({line, index});
    expected = {{0, 0}, {0, 7}, {0, 11}, {0, 17}};
    EXPECT_EQ(found, expected);

    // Backwards from the first unit, and a pattern longer than every line,
    // read nothing outside the lines.
    ViewerSearchOptions = {0, 1, 0};
    line = 0;
    index = 0;
    EXPECT_EQ(editor->Search(line, index, false, false, true), 1);
    ViewerSearchText = Westring("a pattern longer than any line of this text");
    line = 1;
    index = 2;
    EXPECT_EQ(editor->Search(line, index, false, false, true), 1);
    ViewerSearchText = Westring("");
    EXPECT_EQ(editor->Search(line, index, false, false, true), ~0);
}

TEST_F(EditorTest, FilesComeBackByteForByte) {
    const std::string cases[] = {
        "",
        "a",
        "a\n",
        "a\r\nb\nc",
        "x\r\n\r\n",
        "one\rtwo\r",
        "\xEF\xBB\xBFh\xC3\xA9llo\n",               // UTF-8 with a byte-order mark
        std::string("\xFF\xFEh\0i\0\r\0\n\0", 10),  // UTF-16LE with its mark
        "caf\xE9\n",                                // code page 1252
        // Lines held one byte per character beside lines that need more.
        "caf\xC3\xA9\n\xD0\xB6\xD1\x83\xD0\xBA\n\xF0\x9F\x98\x80 x\nplain",  // UTF-8
        "\x80 \x9C\ncaf\xE9\n",  // 1252: the euro sign and oe lie above 0xFF
    };
    for (const std::string& bytes : cases) {
        Load(bytes);
        EXPECT_EQ(SaveAndRead(), bytes) << "case of " << bytes.size() << " bytes";
    }
    // A final line end shows as an empty last line.
    Load("a\nb\n");
    EXPECT_EQ(Text(), "a|b|");
    EXPECT_EQ(editor->lines.At(2)->lineEnd, uint32_t(CTextFile::LineEndNone));
}

TEST_F(EditorTest, BlanksFromPaddingAreDroppedOnSaveUnlessTextFollows) {
    Load("ab\ncd");
    Put(5, 0);
    EXPECT_EQ(Text(), "ab   |cd");
    EXPECT_EQ(SaveAndRead(), "ab\ncd");
    Keys({'x'});
    EXPECT_EQ(SaveAndRead(), "ab   x\ncd");
}

TEST_F(EditorTest, EnterOnTheLastLineGivesItTheLineEndAboveAndAutoIndentCopiesIndentation) {
    Load("a\n    b");
    Put(5, 1);
    Keys({KEY_ENTER});
    EXPECT_EQ(Text(), "a|    b|");
    EXPECT_EQ(SaveAndRead(), "a\n    b\n");

    Config.AutoIndent = 1;
    Load("  if\n      x y");
    Put(7, 1);  // between "x" and "y"
    Keys({KEY_ENTER, 'z'});
    // The indentation of the line itself (left of the cursor) is copied.
    // The blank right of the cut stays on the line, where saving drops it.
    EXPECT_EQ(Text(), "  if|      x |      zy");
    EXPECT_EQ(SaveAndRead(), "  if\n      x\n      zy");
    EXPECT_EQ(editor->CursorLine(), 2);
}

TEST_F(EditorTest, UndoAndRedoRestoreTextAndTheSavedState) {
    Load("h\xC3\xA9llo w\xC3\xB6rld");
    Put(2, 0);
    Keys({KEY_BACKSPACE});
    EXPECT_EQ(Text(), "hllo w\xC3\xB6rld");
    EXPECT_EQ(editor->modified, 1);
    editor->Undo();
    EXPECT_EQ(Text(), "h\xC3\xA9llo w\xC3\xB6rld");
    EXPECT_EQ(editor->modified, 0);
    editor->Redo();
    EXPECT_EQ(Text(), "hllo w\xC3\xB6rld");
    EXPECT_EQ(editor->modified, 1);
    editor->Undo();
    EXPECT_EQ(editor->modified, 0);

    // Undo away from the change only moves the cursor there.
    Put(0, 0);
    Keys({'X'});
    Put(8, 0);
    editor->Undo();
    EXPECT_EQ(Text(), "Xh\xC3\xA9llo w\xC3\xB6rld");
    EXPECT_EQ(editor->cursorIndex, 1);
    editor->Undo();
    EXPECT_EQ(Text(), "h\xC3\xA9llo w\xC3\xB6rld");

    // A new edit after an undo empties the redo stack.
    EXPECT_EQ(editor->redoStack.Count(), 1);
    Keys({'Y'});
    EXPECT_EQ(editor->redoStack.Count(), 0);

    // Undo after a save makes the text modified; redo back clears it.
    ASSERT_EQ(editor->SaveFile(editor->path), 0u);
    editor->modified = 0;
    editor->Undo();
    EXPECT_EQ(editor->modified, 1);
    editor->Redo();
    EXPECT_EQ(editor->modified, 0);
}

TEST_F(EditorTest, UndoOfLineJoinsSplitsAndBlocks) {
    Load("one\ntwo\nthree");
    const std::string original = "one|two|three";
    Put(3, 0);
    Keys({KEY_DELETE});
    EXPECT_EQ(Text(), "onetwo|three");
    editor->Undo();
    EXPECT_EQ(Text(), original);

    Put(1, 1);
    Keys({KEY_ENTER});
    EXPECT_EQ(Text(), "one|t|wo|three");
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(Text(), original);

    editor->block = {0, 1, 2, 2, 0, 1};
    Keys({KEY_DELETE});
    EXPECT_EQ(Text(), "oree");
    editor->Undo();
    EXPECT_EQ(Text(), original);

    // Typing over a block: one record for the deletion, one per character.
    editor->block = {1, 0, 1, 3, 0, 1};
    Put(0, 1);
    Keys({'a', 'b'});
    EXPECT_EQ(Text(), "one|ab|three");
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(Text(), "one||three");
    editor->Undo();
    EXPECT_EQ(Text(), original);

    // Ctrl-Y removes the line; undo puts it back.
    Put(0, 1);
    Keys({KEY_CTRL_Y});
    EXPECT_EQ(Text(), "one|three");
    editor->Undo();
    EXPECT_EQ(Text(), original);
}

TEST_F(EditorTest, DroppingTheOldestRecordNeverMakesChangedTextLookSaved) {
    Load("");
    std::vector<int> keys(TUndoStack::MaxRecords + 1, 'a');
    Keys(keys);
    EXPECT_EQ(editor->undoStack.Count(), TUndoStack::MaxRecords);
    for (int i = 0; i < TUndoStack::MaxRecords + 5; i++)
        editor->Undo();
    // The first character cannot be taken back any more.
    EXPECT_EQ(Text(), "a");
    EXPECT_EQ(editor->modified, 1);
}

TEST_F(EditorTest, KeptStateComesBackUnlessTheFileChanged) {
    Load("alpha\nbeta\n", "kept.txt");
    Put(2, 1);
    Keys({'Z'});
    editor->bookmarks[2] = {1, 0};
    ASSERT_EQ(editor->SaveFile(editor->path), 0u);
    editor->modified = 0;
    editor->StoreFileStatus(editor->path);

    Open("kept.txt");
    EXPECT_EQ(editor->CursorLine(), 1);
    EXPECT_EQ(editor->undoStack.Count(), 1);
    EXPECT_EQ(editor->bookmarks[2].index, 1);
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(Text(), "alpha|beta|");
    EXPECT_EQ(editor->modified, 1);

    // Another program changed the file: the history is of no use any more.
    Sleep(20);
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("kept.txt")), "new\n"));
    Open("kept.txt");
    EXPECT_EQ(editor->undoStack.Count(), 0);
    EXPECT_EQ(editor->bookmarks[2].index, -1);
    EXPECT_EQ(editor->CursorLine(), 1);  // the view is kept, clamped to the text
}

TEST_F(EditorTest, ReloadThatFailsKeepsTheTextAndItsModifiedFlag) {
    Load("text\n", "gone.txt");
    Keys({'q'});
    editor->modified = 1;
    ASSERT_TRUE(DeleteFileW(dir.Join(W("gone.txt")).c_str()));
    Key(KEY_ENTER, KEY_ENTER);  // discard changes?
    Key(KEY_ENTER, KEY_ENTER);  // the open error
    EXPECT_FALSE(editor->ReloadWithEncoding());
    EXPECT_EQ(Text(), "qtext|");
    EXPECT_EQ(editor->modified, 1);
}

TEST_F(EditorTest, CaseChangesAndWordSelection) {
    Load("hello big world");
    editor->block = {0, 6, 0, 9, 0, 1};
    editor->ChangeCase(1);
    EXPECT_EQ(Text(), "hello BIG world");
    editor->block.marked = 0;
    Put(0, 0);
    editor->ChangeCase(1);
    EXPECT_EQ(Text(), "Hello BIG world");
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(Text(), "hello big world");

    Put(13, 0);
    editor->SelectWord();
    EXPECT_TRUE(editor->block.marked);
    EXPECT_EQ(editor->block.startIndex, 10);
    EXPECT_EQ(editor->block.endIndex, 15);
    EXPECT_EQ(editor->cursorIndex, 10);
}

TEST_F(EditorTest, LineKeysAndTheirUndo) {
    const std::string original = "  alpha beta|gamma";
    struct Case {
        const char* name;
        int line, index;
        std::vector<int> keys;
        const char* result;
        int cursorLine, cursorIndex;
    } cases[] = {
        {"Ctrl-D copies the line", 0, 3, {KEY_CTRL_D}, "  alpha beta|  alpha beta|gamma", 0, 3},
        {"Ctrl-Y removes the line", 0, 3, {KEY_CTRL_Y}, "gamma", 0, 0},
        {"Ctrl-Y on the last line empties it", 1, 2, {KEY_CTRL_Y}, "  alpha beta|", 1, 0},
        {"Ctrl-Backspace takes the word left", 0, 12, {KEY_CTRL_BACKSPACE}, "  alpha |gamma", 0, 8},
        {"Ctrl-Del takes the word right", 0, 2, {KEY_CTRL_DELETE}, "   beta|gamma", 0, 2},
        {"Alt-Right indents", 0, 4, {KEY_ALT_RIGHT}, "    alpha beta|gamma", 0, 4},
        {"Alt-Left on the last line", 1, 0, {KEY_ALT_LEFT}, "  alpha beta|gamma", 1, 0},
        {"Shift-Enter opens a line above", 1, 3, {KEY_SHIFT_ENTER}, "  alpha beta||gamma", 1, 0},
        {"Alt-Space copies the rest of the line above", 1, 5, {KEY_SPACE}, "  alpha beta|gammaha beta", 1, 12},
        {"Ctrl-Space copies the character above", 1, 3, {KEY_CTRL_SCAN_SPACE}, "  alpha beta|gamlma", 1, 4},
    };
    for (const Case& c : cases) {
        Load("  alpha beta\ngamma");
        Put(c.index, c.line);
        editor->lastEvent.shiftState = c.keys[0] == KEY_SPACE             ? SHIFT_ALT
                                       : c.keys[0] == KEY_CTRL_SCAN_SPACE ? SHIFT_CTRL
                                       : c.keys[0] == KEY_SHIFT_ENTER     ? SHIFT_SHIFT
                                                                          : 0;
        editor->ResetUndoItem();
        editor->HandleKey(c.keys[0]);
        editor->CommitLine();
        EXPECT_EQ(Text(), c.result) << c.name;
        EXPECT_EQ(editor->CursorLine(), c.cursorLine) << c.name;
        EXPECT_EQ(editor->cursorIndex, c.cursorIndex) << c.name;
        for (int i = 0; i < 3 && Text() != original; i++)
            editor->Undo();
        EXPECT_EQ(Text(), original) << c.name << " undone";
    }
}

TEST_F(EditorTest, CursorKeysMoveOverWordsLinesAndPages) {
    std::string text;
    for (int i = 0; i < 60; i++)
        text += "word" + std::to_string(i) + " next\n";
    Load(text);
    Keys({KEY_CTRL_RIGHT});
    EXPECT_EQ(editor->cursorIndex, 5);
    Keys({KEY_END, KEY_RIGHT});
    EXPECT_EQ(editor->CursorLine(), 1);
    EXPECT_EQ(editor->cursorIndex, 0);
    Keys({KEY_LEFT});
    EXPECT_EQ(editor->CursorLine(), 0);
    EXPECT_EQ(editor->cursorIndex, 10);
    Keys({KEY_CTRL_LEFT});
    EXPECT_EQ(editor->cursorIndex, 6);
    Keys({KEY_PGDN});
    EXPECT_EQ(editor->topLine, editor->Rows() - 4);
    Keys({KEY_CTRL_PGDN});
    EXPECT_EQ(editor->CursorLine(), 60);
    Keys({KEY_CTRL_PGUP});
    EXPECT_EQ(editor->CursorLine(), 0);
    EXPECT_EQ(editor->topLine, 0);
    // Bookmarks: set with Shift, gone back to without.
    Put(3, 5);
    editor->lastEvent.shiftState = SHIFT_NUMLOCK;
    editor->HandleKey(KEY_SHIFTED + KEY_SLOT_0 + 4);
    Put(0, 40);
    editor->lastEvent.shiftState = SHIFT_NUMLOCK;
    editor->HandleKey(KEY_SLOT_0 + 4);
    editor->CommitLine();
    EXPECT_EQ(editor->CursorLine(), 5);
    EXPECT_EQ(editor->cursorIndex, 3);
}

}  // namespace
