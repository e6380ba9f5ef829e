// The command-line editing commands of the dispatch.
#include "app/program/CommandHandlers.h"
#include "app/settings/Config.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/DirectorySizes.h"
#include "app/panels/PanelTree.h"
#include "app/settings/Histories.h"
#include "app/panels/Panel.h"
#include "app/panels/QuickSearch.h"
#include "base/strings/Utf16String.h"
#include "shell/CommandExecution.h"
#include "ui/ClipboardText.h"
#include "console/KeyCodes.h"

namespace {

TCommandLine& Line(TCommand& c) {
    return c.state.commandLine;
}

// The short 8.3 form of a path where the file system has one, else the path.
Westring ShortForm(const Westring& path) {
    Utf16String wide(path);
    WCHAR buffer[1024];
    DWORD n = GetShortPathNameW(wide.Data(), buffer, 1024);
    if (n == 0 || n >= 1024) {
        return path;
    }
    return Westring(buffer);
}

Westring EntryFullPath(TCommand& c, const entry* item) {
    return AddTrailingBackslash(GetPanelDirectory(c.active)) + Westring(item->name);
}

// Puts a name into the line at the cursor, or on the clipboard with Shift.
int InsertOrCopy(TCommand& c, const Westring& text) {
    if (c.Shift()) {
        PutClipboardText(text);
        return RedrawNothing;
    }
    InsertNameIntoCommandLine(Line(c).text, text, Line(c).cursor);
    return RedrawPanels;
}

bool IsLetterOrDigit(char32_t ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch > 0x7F;
}

}  // namespace

int CmdLineLeft(TCommand& c) {
    if (Line(c).text.IsEmpty()) {
        c.active->nameScrollOffset = c.active->nameScrollOffset > 0 ? c.active->nameScrollOffset - 1 : 0;
        c.state.nameScrollIndex = c.active->CursorIndex();
        c.state.cursorMoved = true;
        return RedrawNothing;
    }
    Line(c).MoveLeft();
    return RedrawPanels;
}

int CmdLineRight(TCommand& c) {
    // Alt+Right acts as Right does outside the column styles: it first
    // completes a running quick search.
    if (c.key == KEY_ALT_RIGHT && c.active->searchText[0] != 0) {
        QuickSearchComplete(c.active);
        c.state.cursorMoved = true;
        return RedrawNothing;
    }
    if (Line(c).text.IsEmpty()) {
        c.active->nameScrollOffset++;
        c.state.nameScrollIndex = c.active->CursorIndex();
        c.state.cursorMoved = true;
        return RedrawNothing;
    }
    Line(c).MoveRight();
    return RedrawPanels;
}

int CmdWordLeft(TCommand& c) {
    Line(c).WordLeft();
    return RedrawPanels;
}

int CmdWordRight(TCommand& c) {
    Line(c).WordRight();
    return RedrawPanels;
}

int CmdDeleteWordRight(TCommand& c) {
    Line(c).DeleteWordRight();
    return RedrawPanels;
}

int CmdDeleteWordLeft(TCommand& c) {
    Line(c).DeleteWordLeft();
    return RedrawPanels;
}

int CmdBackspace(TCommand& c) {
    Line(c).DeleteBefore();
    return RedrawPanels;
}

int CmdDelete(TCommand& c) {
    Line(c).DeleteAt();
    return RedrawPanels;
}

int CmdLineHome(TCommand& c) {
    Line(c).MoveHome();
    return RedrawPanels;
}

int CmdLineEnd(TCommand& c) {
    Line(c).MoveEnd();
    return RedrawPanels;
}

int CmdHistoryPrevious(TCommand& c) {
    Line(c).HistoryPrevious(CommandHistory);
    return RedrawPanels;
}

int CmdHistoryNext(TCommand& c) {
    Line(c).HistoryNext(CommandHistory);
    return RedrawPanels;
}

int CmdInsertEntryName(TCommand& c) {
    TCommandLine& line = Line(c);
    if (c.key != KEY_SHIFT_CTRL_J && line.cursor > 0 && line.cursor <= line.text.Length() &&
        IsLetterOrDigit(line.text[line.cursor - 1])) {
        line.HistorySearch(CommandHistory, !c.Shift());
        return RedrawPanels;
    }
    entry* current = c.active->CursorEntry();
    if (current == nullptr) {
        return RedrawNothing;
    }
    Westring name(current->name);
    if (c.Alt()) {
        name = ExtractFileName(ShortForm(EntryFullPath(c, current)));
    }
    Westring word;
    int start = 0;
    int length = 0;
    if (!c.Shift() && CommandLineWordAtCursor(word, start, length, line.text, line.cursor) && !word.IsEmpty() &&
        word[word.Length() - 1] == '\\') {
        // The name completes the directory being typed: the word is replaced.
        Westring rest = line.cursor < line.text.Length() ? Westring(line.text.Data() + line.cursor) : Westring();
        Westring head = line.text.Left(start);
        int cursor = start;
        Westring joined = head;
        if (InsertNameIntoCommandLine(joined, word + name, cursor) &&
            joined.Length() + rest.Length() < CommandLineLimit) {
            line.text = joined + rest;
            line.cursor = cursor;
        }
        return RedrawPanels;
    }
    return InsertOrCopy(c, name);
}

int CmdInsertEntryPath(TCommand& c) {
    Westring path;
    if (c.InTreeView()) {
        path = GetTreeLinePath(c.active, c.active->CursorIndex());
    } else {
        entry* current = c.active->CursorEntry();
        if (current == nullptr) {
            return RedrawNothing;
        }
        path = EntryFullPath(c, current);
    }
    if (c.Alt()) {
        path = ShortForm(path);
    }
    return InsertOrCopy(c, path);
}

int CmdEscape(TCommand& c) {
    if (c.Ctrl()) {
        return CmdInsertDirectory(c);
    }
    if (Line(c).text.IsEmpty() && Config.EscPanelSwitch) {
        TogglePanelsOnOff();
        return RedrawAll;
    }
    Line(c).Clear();
    Line(c).ResetHistory();
    c.active->searchText[0] = 0;
    return RedrawPanels;
}

int CmdInsertDirectory(TCommand& c) {
    if (!c.Ctrl()) {
        return RedrawNothing;
    }
    Westring directory = AddTrailingBackslash(Westring(c.active->path));
    if (c.Alt()) {
        directory = AddTrailingBackslash(ShortForm(directory));
    }
    InsertNameIntoCommandLine(Line(c).text, directory, Line(c).cursor);
    return RedrawPanels;
}

int CmdCopyLine(TCommand& c) {
    PutClipboardText(Line(c).text);
    return RedrawNothing;
}

int CmdPasteLine(TCommand& c) {
    Line(c).InsertText(GetClipboardAsLine());
    return RedrawPanels;
}

int CmdComplete(TCommand& c) {
    CompleteCommandLineWord(Line(c).text, Line(c).cursor, c.active);
    return RedrawPanels;
}

int CmdEnter(TCommand& c) {
    Westring command = Line(c).text;
    Line(c).Clear();
    Line(c).ResetHistory();
    ExecuteCommandOrEntry(Panels, c.side, command.Data(), (c.key == KEY_SHIFT_ENTER || c.Shift()) ? 1 : 0);
    return RedrawAll;
}
