// The editor's commands over stretches of text: search and replace, the
// marked block (copy, append, cut, paste, delete, indent, case), and bracket
// matching.
#include "viewedit/Editor.h"

#include <memory>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "base/strings/CaseTable.h"
#include "base/strings/WordChars.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "ui/Clipboard.h"
#include "ui/Dialog.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"
#include "viewedit/EditorClipboard.h"
#include "viewedit/ViewerSearchState.h"

namespace {

// What F8 replaces with; kept for the whole run of the program.
Westring ReplacementText;

const int ReplacePauseMs = 200;

// Asks for the search text (and the replacement) and the options; false on Esc.
bool RunEditorSearchDialog(bool replace) {
    const uint8_t attribute = ColourOf(ColourMessages);
    Westring text = ViewerSearchText;
    Westring replacement = ReplacementText;
    Dialog dialog(-1, -3, 65, replace ? 9 : 7, attribute);
    dialog.WriteHotKeyText(1, 0, "Search for:", "s", attribute);
    dialog.AddStringField(1, 1, 1, text, 40, -1, FieldKindSearchText);
    const int row = replace ? 6 : 4;
    if (replace) {
        dialog.WriteHotKeyText(1, 3, "Replace with:", "p", attribute);
        dialog.AddStringField(1, 4, 1, replacement, 40, -1, FieldKindReplaceText);
    }
    dialog.AddPushButton(10, row, 1, 13, "_OK");
    dialog.AddPushButton(18, row, 0, 27, "Cancel");
    dialog.AddCheckBox(43, 1, 1, &ViewerSearchOptions.caseSensitive, "Case Sensitive", 1);
    dialog.AddCheckBox(43, 2, 0, &ViewerSearchOptions.reverse, "Reverse", 1);
    dialog.AddCheckBox(43, 3, 0, &ViewerSearchOptions.wholeWord, "Whole Word", 1);
    // No hot letter for Cancel: "c" is the case check box.
    if (replace)
        dialog.SetHotKeys("sponcrw", 7);
    else
        dialog.SetHotKeys("so\0crw", 6);
    if (dialog.Run() == 27)
        return false;
    ViewerSearchText = text;
    if (replace)
        ReplacementText = replacement;
    return true;
}

// The " String Found " question: 'r', 's', 'a' or 27.
int AskReplace() {
    const uint8_t attribute = ColourOf(ColourMessages);
    Dialog dialog(-1, -3, 48, 5, attribute);
    dialog.WriteCentred(-1, " String Found ", attribute);
    static const TButtonDef buttons[] = {
        {'r', "_Replace"}, {'s', "_Skip"}, {27, "Cancel"}, {'a', "_All"}, {0, nullptr}};
    int first = dialog.AddButtonRow(-1, 1, 1, buttons);
    if (first >= 0)
        dialog.SetDefaultButton(first);
    int answer = dialog.Run();
    return answer == 13 ? 'r' : answer;
}

bool MatchesAt(const QVEditorLine& line, int at, const Westring& pattern, bool caseSensitive, bool wholeWord) {
    const int n = pattern.Length();
    const int length = line.Length();
    if (at < 0 || at + n > length)
        return false;
    for (int k = 0; k < n; k++) {
        char32_t c = line.At(at + k);
        if (!caseSensitive)
            c = ToUpperChar(c);
        if (c != pattern[k])
            return false;
    }
    if (wholeWord) {
        if (at > 0 && IsWordCharWide(line.At(at - 1)))
            return false;
        if (at + n < length && IsWordCharWide(line.At(at + n)))
            return false;
    }
    return true;
}

}  // namespace

int QVEditor::Search(int& line, int& index, bool ask, bool replace, bool quiet) {
    if (ask && !RunEditorSearchDialog(replace))
        return ~0;
    redraw = 1;
    const int step = ViewerSearchOptions.reverse ? -1 : 1;
    if (!replace)
        index += step;
    if (ViewerSearchText.IsEmpty())
        return ~0;
    const bool caseSensitive = ViewerSearchOptions.caseSensitive != 0;
    const bool wholeWord = ViewerSearchOptions.wholeWord != 0;
    const Westring pattern = caseSensitive ? ViewerSearchText : ViewerSearchText.ToUpper();
    const int n = pattern.Length();
    StoreBuffer();

    std::unique_ptr<Win> searching;
    auto showSearching = [&]() {
        if (Console && !searching) {
            const uint8_t attribute = ColourOf(ColourMessages);
            searching.reset(new Win(-1, -4, 16, 3, attribute, attribute, 0));
            searching->WriteText(1, 0, "Searching...", attribute);
        }
    };
    showSearching();
    int replacements = 0;
    bool offered = false;
    bool all = false;
    bool stopped = false;
    for (int l = line; l >= 0 && l < lines.Count(); l += step) {
        if (l != line && PollEscapeKey()) {
            stopped = true;
            break;
        }
        int length = lines.At(l)->Length();
        // The start always lies inside the line, whatever index the caller
        // gave: a backward search from index 0 or a pattern longer than the
        // line reads nothing outside it.
        int i = l == line ? index : step > 0 ? 0 : length - n;
        if (step > 0 && i < 0)
            i = 0;
        if (step < 0 && i > length - n)
            i = length - n;
        while (i >= 0 && i + n <= length) {
            if (!MatchesAt(*lines.At(l), i, pattern, caseSensitive, wholeWord)) {
                i += step;
                continue;
            }
            if (!replace) {
                line = l;
                index = i;
                return 0;
            }
            offered = true;
            if (!all) {
                searching.reset();
                block = {l, i, l, i + n, 0, 1};
                scroll = 0;
                topLine = l;
                cursorRow = 0;
                currentLine = -1;
                Refetch();
                cursorIndex = i;
                MakeColumnVisible(scroll, block);
                RedrawAll();
                int answer = AskReplace();
                if (answer == 27 || answer == KEY_CLOSED) {
                    block.marked = 0;
                    line = l;
                    index = i;
                    return 0;
                }
                if (answer == 's') {
                    i += step;
                    continue;
                }
                if (answer == 'a')
                    all = true;
                if (all)
                    showSearching();
            }
            Westring whole = lines.At(l)->Text();
            Westring matched = whole.Mid(i, n);
            Westring result = whole.Left(i) + ReplacementText + whole.Mid(i + n, length - i - n);
            if (result.Length() > MaxLineUnits) {
                i += step;
                continue;
            }
            ResetUndoItem();
            matched.ToUtf8(undoItem.text);
            undoItem.lineCount = 1;
            undoItem.cursorAfterLine = undoItem.positionLine = l;
            undoItem.cursorAfterIndex = undoItem.positionIndex = i;
            undoItem.regionStartLine = undoItem.regionEndLine = l;
            undoItem.regionStartIndex = i;
            undoItem.regionEndIndex = i + ReplacementText.Length();
            undoItem.regionMarked = 1;
            undoItem.cursorAtEnd = 0;
            PushUndo();
            lines.ReplaceText(l, result.Data(), result.Length());
            if (l == currentLine)
                buffer = result;
            length = result.Length();
            replacements++;
            if (!all) {
                block.marked = 0;
                RedrawAll();
                Sleep(ReplacePauseMs);
            }
            i += step > 0 ? ReplacementText.Length() : -1;
            line = l;
            index = i < 0 ? 0 : i;
        }
    }
    searching.reset();
    block.marked = replace ? 0 : block.marked;
    if (all) {
        char text[64];
        snprintf(text, sizeof text, "%d replacements", replacements);
        ShowMessageBox(Westring(text), Westring(), MessageBoxNormal);
        return 0;
    }
    if (offered)
        return 0;
    if (!quiet && !stopped && replacements == 0)
        ShowMessageBox(Westring("String not found"), Westring(), 0);
    return 1;
}

void QVEditor::SearchCommand(bool ask, bool flipReverse) {
    CommitLine();
    int line = CursorLine();
    int index = cursorIndex;
    if (flipReverse)
        ViewerSearchOptions.reverse ^= 1;
    int result = Search(line, index, ask, false, false);
    if (flipReverse)
        ViewerSearchOptions.reverse ^= 1;
    if (result != 0)
        return;
    if (!selectionMode)
        block = {line, index, line, index + ViewerSearchText.Length(), 0, 1};
    GotoPosition(index, line);
    MakeColumnVisible(scroll, block);
    redraw = 1;
}

void QVEditor::ReplaceCommand() {
    CommitLine();
    int line = CursorLine();
    int index = cursorIndex;
    int result = Search(line, index, true, true, false);
    currentLine = -1;
    Refetch();
    if (cursorIndex > buffer.Length())
        cursorIndex = buffer.Length();
    cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scroll;
    if (result == 0 && !IsAtSavedPoint())
        modified = 1;
    redraw = 1;
}

void QVEditor::SearchWordCommand(bool backwards) {
    SelectWord();
    if (!block.marked)
        return;
    ViewerSearchText = buffer.Mid(block.startIndex, block.endIndex - block.startIndex);
    const TViewerSearchOptions saved = ViewerSearchOptions;
    ViewerSearchOptions.reverse = backwards ? 1 : 0;
    ViewerSearchOptions.wholeWord = 1;
    CommitLine();
    int line = CursorLine();
    int index = cursorIndex;
    int result = Search(line, index, false, false, true);
    ViewerSearchOptions.reverse = saved.reverse;
    ViewerSearchOptions.wholeWord = saved.wholeWord;
    if (result == 0) {
        if (!selectionMode)
            block = {line, index, line, index + ViewerSearchText.Length(), 0, 1};
        GotoPosition(index, line);
        MakeColumnVisible(scroll, block);
    }
    redraw = 1;
}

void QVEditor::CopyCommand(bool cut, bool append) {
    if (!block.marked)
        return;
    CommitLine();
    selectionMode = 0;
    if (append)
        AppendBlockToClipboard(lines, block, EditorClipboard);
    else
        CopyBlockToClipboard(lines, block, EditorClipboard);
    if (cut)
        DeleteMarkedBlock();
}

void QVEditor::DeleteMarkedBlock() {
    if (!block.marked)
        return;
    StoreBuffer();
    undoItem.text = BlockToText(block, undoItem.lineCount);
    const TEditorBlock region = block;
    DeleteBlock();
    undoItem.positionLine = undoItem.regionStartLine = undoItem.regionEndLine = region.startLine;
    undoItem.positionIndex = undoItem.regionStartIndex = undoItem.regionEndIndex = region.startIndex;
    undoItem.regionMarked = 1;
    PushUndo();
    modified = 1;
}

void QVEditor::Paste() {
    CommitLine();
    if (block.marked) {
        undoItem.text = BlockToText(block, undoItem.lineCount);
        DeleteBlock();
    }
    int line = CursorLine();
    int index = cursorIndex;
    undoItem.regionStartLine = line;
    undoItem.regionStartIndex = index;
    EditorClipboard.FreeAll();
    GetClipboardLines(EditorClipboard);
    StoreBuffer();
    InsertLines(line, index, EditorClipboard);
    undoItem.regionEndLine = undoItem.positionLine = line;
    undoItem.regionEndIndex = undoItem.positionIndex = index;
    undoItem.regionMarked = 1;
    PushUndo();
    if (line < topLine)
        topLine = line;
    if (line - topLine > rows - 3)
        topLine = line - (rows - 3);
    cursorRow = line - topLine;
    currentLine = -1;
    Refetch();
    cursorIndex = index;
    cursorX = EditorDisplayWidth(buffer.Data(), index) - scroll;
    modified = 1;
    redraw = 1;
}

void QVEditor::IndentBlock(int delta) {
    CommitLine();
    const int line = CursorLine();
    TEditorBlock region = block.marked ? TEditorBlock{block.startLine, 0, block.endLine, 0, 0, 1}
                                       : TEditorBlock{line, 0, line + 1, 0, 0, 1};
    const int first = region.startLine;
    const int last = block.marked ? (block.endLine > block.startLine ? block.endLine - 1 : block.startLine) : line;
    if (region.endLine >= lines.Count()) {
        region.endLine = lines.Count() - 1;
        region.endIndex = lines.At(region.endLine)->Length();
    }
    undoItem.text = BlockToText(region, undoItem.lineCount);
    for (int l = first; l <= last && l < lines.Count(); l++)
        IndentLine(l, delta);
    Refetch();
    if (cursorIndex > buffer.Length())
        cursorIndex = buffer.Length();
    cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scroll;
    if (region.endLine == lines.Count() - 1 && region.endIndex > 0)
        region.endIndex = lines.At(region.endLine)->Length();
    undoItem.regionStartLine = region.startLine;
    undoItem.regionStartIndex = 0;
    undoItem.regionEndLine = region.endLine;
    undoItem.regionEndIndex = region.endIndex;
    undoItem.positionLine = line;
    undoItem.positionIndex = cursorIndex;
    undoItem.regionMarked = 1;
    PushUndo();
    modified = 1;
    redraw = 1;
}

void QVEditor::ChangeCase(int mode) {
    CommitLine();
    const int line = CursorLine();
    TEditorBlock region = block.marked ? block : TEditorBlock{line, cursorIndex, line, cursorIndex + 1, 0, 1};
    if (!block.marked && region.endIndex > buffer.Length())
        region.endIndex = buffer.Length();
    undoItem.text = BlockToText(region, undoItem.lineCount);
    undoItem.regionStartLine = region.startLine;
    undoItem.regionStartIndex = region.startIndex;
    undoItem.regionEndLine = region.endLine;
    undoItem.regionEndIndex = region.endIndex;
    undoItem.regionMarked = 1;
    ConvertCase(region, mode);
    Refetch();
    PushUndo();
    modified = 1;
    redraw = 1;
    lastEvent.shiftState = 0;
}

void QVEditor::MatchBracket() {
    static const char32_t opening[] = U"([{<";
    static const char32_t closing[] = U")]}>";
    if (cursorIndex >= buffer.Length())
        return;
    const char32_t here = buffer[cursorIndex];
    char32_t partner = 0;
    int step = 0;
    for (int k = 0; k < 4; k++) {
        if (opening[k] == here) {
            partner = closing[k];
            step = 1;
        } else if (closing[k] == here) {
            partner = opening[k];
            step = -1;
        }
    }
    if (step == 0)
        return;
    CommitLine();
    int line = CursorLine();
    int index = cursorIndex;
    int depth = 0;
    for (;;) {
        const QVEditorLine* text = lines.At(line);
        char32_t c = index < text->Length() ? text->At(index) : 0;
        if (c == here)
            depth++;
        else if (c == partner)
            depth--;
        if (depth == 0) {
            GotoPosition(index, line);
            return;
        }
        if (step > 0) {
            index++;
            if (index >= text->Length()) {
                do {
                    line++;
                } while (line < lines.Count() && lines.At(line)->IsEmpty());
                if (line >= lines.Count())
                    return;
                index = 0;
            }
        } else {
            index--;
            if (index < 0) {
                do {
                    line--;
                } while (line >= 0 && lines.At(line)->IsEmpty());
                if (line < 0)
                    return;
                index = lines.At(line)->Length() - 1;
            }
        }
    }
}
