// The command line under the panels: its text, cursor, scroll offset and the
// position of a command-history browse, with the edits the keys make on it.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

class CPanel;

// A line always stays below this many characters.
const int CommandLineLimit = 512;

struct TCommandLine {
    Westring text;
    int cursor = 0;           // 0 to the text's length
    int scroll = 0;           // first character shown
    int historyPosition = 0;  // 0: not browsing; else how far back from the newest
    Westring savedLine;       // the line as it was when browsing began

    // Every edit keeps the line below CommandLineLimit; false when the
    // character or text did not fit and nothing changed.
    bool InsertChar(char32_t c);
    bool InsertText(const Westring& insert);
    void Clear();
    void MoveLeft();
    void MoveRight();
    void MoveHome() { cursor = 0; }
    void MoveEnd() { cursor = text.Length(); }
    // Back over non-word characters, then over word characters.
    void WordLeft();
    // To the next word-right stop.
    void WordRight();
    void DeleteBefore();     // Backspace
    void DeleteAt();         // Delete
    void DeleteWordLeft();   // to the stop WordLeft would reach
    void DeleteWordRight();  // to the stop WordRight would reach
    // Browsing the history (oldest first, newest last): the first step saves
    // the line; stepping past either end brings the saved line back.
    void HistoryPrevious(const WestringStore& history);
    void HistoryNext(const WestringStore& history);
    void ResetHistory() { historyPosition = 0; }
    // The next entry, going back from the browse position (forward with
    // `forward`), wrapping, that starts with the text left of the cursor; the
    // cursor stays. False when none does.
    bool HistorySearch(const WestringStore& history, bool forward);
    // Keeps the cursor inside the line, and the scroll so that the line is
    // not scrolled further than needed and the cursor shows on a row of
    // `columns` cells that begins with a prompt of `promptLength`.
    void ClampScroll(int promptLength, int columns);
};

// Inserts a name at the cursor, its macro characters doubled, quoted when it
// needs quotes and followed by a blank unless it ends in '\'; false when the
// line would not stay below the limit.
bool InsertNameIntoCommandLine(Westring& line, const Westring& name, int& cursor);

// The word the cursor ends: the text since the last blank, '<' or '>' outside
// double quotes, the quotes themselves dropped. True when the word is not
// empty (start < cursor).
bool CommandLineWordAtCursor(Westring& word, int& start, int& length, const Westring& line, int cursor);

// Completes the word at the cursor to a file name (a program along PATH for
// the first word); true when the line changed.
bool CompleteCommandLineWord(Westring& line, int& cursor, CPanel* panel);
