#include "app/program/CommandLine.h"

#include "ui/WordRight.h"
#include "base/strings/QuoteFileName.h"
#include "fileops/MacroChar.h"
#include "shell/FileNameCompletion.h"
#include "base/strings/WordChars.h"

namespace {

// The index WordLeft stops at from `from`.
int WordLeftStop(const Westring& text, int from) {
    int i = from;
    while (i > 0 && !IsWordCharWide(text[i - 1])) {
        i--;
    }
    while (i > 0 && IsWordCharWide(text[i - 1])) {
        i--;
    }
    return i;
}

int WordRightStop(const Westring& text, int from) {
    if (from >= text.Length()) {
        return text.Length();
    }
    return from + WordRightOffset(text.Data() + from);
}

// The text from index `from` on (empty past its end).
Westring Tail(const Westring& text, int from) {
    return from >= text.Length() ? Westring() : Westring(text.Data() + from);
}

// The line without the characters from `start` up to `end`.
Westring Without(const Westring& text, int start, int end) {
    return text.Left(start) + Tail(text, end);
}

// Inserts the text at the cursor and moves the cursor past it, unless the line
// would reach the limit.
bool InsertAtCursor(Westring& line, int& cursor, const Westring& insert) {
    if (line.Length() + insert.Length() >= CommandLineLimit) {
        return false;
    }
    if (cursor > line.Length()) {
        cursor = line.Length();
    }
    line = line.Left(cursor) + insert + Tail(line, cursor);
    cursor += insert.Length();
    return true;
}

// The entry that is `position` steps back from the newest.
const Westring& HistoryEntry(const WestringStore& history, int position) {
    return *history.At(history.Count() - position);
}

bool StartsWithNoCase(const Westring& text, const Westring& prefix) {
    return text.Length() >= prefix.Length() && text.Left(prefix.Length()).EqualsNoCase(prefix);
}

}  // namespace

bool TCommandLine::InsertChar(char32_t c) {
    if (text.Length() + 1 >= CommandLineLimit) {
        return false;
    }
    Westring one;
    one.AppendChar(c);
    return InsertText(one);
}

bool TCommandLine::InsertText(const Westring& insert) {
    return InsertAtCursor(text, cursor, insert);
}

void TCommandLine::Clear() {
    text.Clear();
    cursor = 0;
    scroll = 0;
}

void TCommandLine::MoveLeft() {
    if (cursor > 0) {
        cursor--;
    }
}

void TCommandLine::MoveRight() {
    if (cursor < text.Length()) {
        cursor++;
    }
}

void TCommandLine::WordLeft() {
    cursor = WordLeftStop(text, cursor);
}

void TCommandLine::WordRight() {
    cursor = WordRightStop(text, cursor);
}

void TCommandLine::DeleteBefore() {
    if (cursor > 0 && cursor <= text.Length()) {
        text = Without(text, cursor - 1, cursor);
        cursor--;
    }
}

void TCommandLine::DeleteAt() {
    if (cursor < text.Length()) {
        text = Without(text, cursor, cursor + 1);
    }
}

void TCommandLine::DeleteWordLeft() {
    int stop = WordLeftStop(text, cursor);
    text = Without(text, stop, cursor);
    cursor = stop;
}

void TCommandLine::DeleteWordRight() {
    text = Without(text, cursor, WordRightStop(text, cursor));
}

void TCommandLine::HistoryPrevious(const WestringStore& history) {
    if (historyPosition == 0) {
        savedLine = text;
    }
    historyPosition++;
    if (historyPosition > history.Count()) {
        historyPosition = 0;
        text = savedLine;
    } else {
        text = HistoryEntry(history, historyPosition);
    }
    cursor = text.Length();
}

void TCommandLine::HistoryNext(const WestringStore& history) {
    if (historyPosition == 0) {
        savedLine = text;
        historyPosition = history.Count() + 1;
    }
    historyPosition--;
    if (historyPosition <= 0) {
        historyPosition = 0;
        text = savedLine;
    } else {
        text = HistoryEntry(history, historyPosition);
    }
    cursor = text.Length();
}

bool TCommandLine::HistorySearch(const WestringStore& history, bool forward) {
    int count = history.Count();
    Westring prefix = text.Left(cursor);
    // Positions 1..count; stepping forward goes towards the newest (smaller
    // positions) and wraps to the oldest.
    int position = historyPosition;
    for (int step = 0; step < count; step++) {
        if (forward) {
            position = position <= 1 ? count : position - 1;
        } else {
            position = position >= count ? 1 : position + 1;
        }
        const Westring& candidate = HistoryEntry(history, position);
        if (StartsWithNoCase(candidate, prefix) && candidate.Length() < CommandLineLimit) {
            historyPosition = position;
            text = candidate;
            return true;
        }
    }
    return false;
}

void TCommandLine::ClampScroll(int promptLength, int columns) {
    if (cursor > text.Length()) {
        cursor = text.Length();
    }
    if (cursor < 0) {
        cursor = 0;
    }
    int most = text.Length() - 40;
    if (scroll > most) {
        scroll = most;
    }
    if (scroll > cursor) {
        scroll = cursor;
    }
    if (scroll < 0) {
        scroll = 0;
    }
    if (cursor - scroll + promptLength >= columns) {
        scroll = promptLength + cursor - columns + 1;
    }
}

bool InsertNameIntoCommandLine(Westring& line, const Westring& name, int& cursor) {
    Westring insert = QuoteFileName(EscapeMacroChar(name));
    if (insert.IsEmpty() || insert[insert.Length() - 1] != '\\') {
        insert += ' ';
    }
    return InsertAtCursor(line, cursor, insert);
}

bool CommandLineWordAtCursor(Westring& word, int& start, int& length, const Westring& line, int cursor) {
    word.Clear();
    start = 0;
    bool quoted = false;
    int end = cursor < line.Length() ? cursor : line.Length();
    for (int i = 0; i < end; i++) {
        char32_t c = line[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == ' ' || c == '<' || c == '>')) {
            word.Clear();
            start = i + 1;
            continue;
        }
        word.AppendChar(c);
    }
    length = cursor - start;
    if (quoted && cursor < line.Length() && line[cursor] == '"') {
        length++;
    }
    return start < cursor;
}

bool CompleteCommandLineWord(Westring& line, int& cursor, CPanel* /*panel*/) {
    Westring word;
    int start = 0;
    int length = 0;
    if (!CommandLineWordAtCursor(word, start, length, line, cursor)) {
        return false;
    }
    CFileNameCompletion completion;
    Westring completed;
    bool found = start == 0 ? completion.Complete(word, completed) : completion.CompleteFromDirectory(word, completed);
    if (!found) {
        return false;
    }
    completed = QuoteFileName(completed);
    if (completion.SingleMatch() && (completed.IsEmpty() || completed[completed.Length() - 1] != '\\')) {
        completed += ' ';
    }
    Westring changed = line.Left(start) + completed + Tail(line, start + length);
    if (changed.Length() >= CommandLineLimit) {
        return false;
    }
    bool differs = !changed.EqualsExact(line);
    line = changed;
    cursor = start + completed.Length();
    return differs;
}
