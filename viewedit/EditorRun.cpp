// The editor's key loop: the start, the status line and key bar, every key
// and mouse action, the block extension that follows each key, and leaving
// with the unsaved-changes question.
#include <cstdio>

#include "viewedit/Editor.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/DataFiles.h"
#include "app/settings/FieldKinds.h"
#include "base/os/FileAttributes.h"
#include "base/os/PathDisplay.h"
#include "base/os/SystemError.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/WordChars.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "ui/Clipboard.h"
#include "ui/Clock.h"
#include "ui/Dialog.h"
#include "ui/FunctionKeyBar.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "ui/MessageBox.h"
#include "ui/ModalLoop.h"
#include "ui/WordRight.h"
#include "viewedit/Viewer.h"
#include "viewedit/ViewerEditor.h"
#include "viewedit/ViewerSearchState.h"

namespace {

const int RepeatFirstWaitMs = 200;
const int CursorShapeInsert = 15;
const int CursorShapeOverStrike = 80;
const int StatusNameReserve = 52;

// Ctrl with a keypad digit, as some hosts send the navigation keys; the
// digits 1, 3, 4, 6, 7 and 9 also come with Shift.
struct TDigitKey {
    int digit;
    int key;
};
const TDigitKey DigitKeys[] = {{1, KEY_CTRL_END},   {3, KEY_CTRL_PGDN}, {4, KEY_CTRL_LEFT},
                               {6, KEY_CTRL_RIGHT}, {7, KEY_CTRL_HOME}, {9, KEY_CTRL_PGUP}};

// Navigation keys that Shift (KEY_SHIFTED) does not change: the shift state
// extends the block instead.
const int NavigationKeys[] = {KEY_HOME,      KEY_END,       KEY_UP,         KEY_DOWN,     KEY_LEFT,
                              KEY_RIGHT,     KEY_CTRL_LEFT, KEY_CTRL_RIGHT, KEY_PGUP,     KEY_PGDN,
                              KEY_CTRL_HOME, KEY_CTRL_END,  KEY_CTRL_PGUP,  KEY_CTRL_PGDN};

// After these a marked block stays, as long as the cursor is at its moving end.
const int BlockKeepingKeys[] = {KEY_CTRL_INSERT,
                                KEY_SHIFT_CTRL_INSERT,
                                KEY_SLOT_0,
                                KEY_CTRL_C,
                                KEY_CTRL_W,
                                KEY_ESC,
                                KEY_F1,
                                KEY_F7,
                                KEY_SHIFT_F7,
                                KEY_ALT_F7,
                                KEY_ALT_COMMA,
                                KEY_ALT_PERIOD,
                                KEY_ALT_LEFT,
                                KEY_ALT_RIGHT,
                                KEY_SHIFT_CTRL_L,
                                KEY_SHIFT_CTRL_U,
                                KEY_SHIFT_CTRL_MIXED_CASE,
                                KEY_IGNORED,
                                KEY_MOUSE,
                                0};

int NormaliseKey(int key) {
    for (const TDigitKey& d : DigitKeys) {
        if (key == KEY_SLOT_0 + d.digit || key == KEY_SHIFTED + KEY_SLOT_0 + d.digit)
            return d.key;
    }
    for (int nav : NavigationKeys) {
        if (key == nav + KEY_SHIFTED)
            return nav;
    }
    return key;
}

char LineEndLetter(int kind) {
    static const char letters[] = "DUMN?-?";
    return kind >= 0 && kind <= 6 ? letters[kind] : '?';
}

bool IsTypedCharacter(int key) {
    if (key & KEY_LITERAL_FLAG)
        return true;
    return key == KEY_TAB || (key >= 32 && key < 127) || (key >= 128 && key <= KEY_LAST_CHARACTER);
}

}  // namespace

void EditFile(const Westring& path, int startOffset, int highlightLength) {
    QVEditor editor;
    editor.Run(path, startOffset, highlightLength);
}

void QVEditor::DrawStatusLine() {
    if (!window)
        return;
    const int nameWidth = columns - StatusNameReserve > 0 ? columns - StatusNameReserve : 0;
    Westring name = displayName.Pad(nameWidth);
    char letter = LineEndLetter(lineEndMode);
    if (lineEndMode == CTextFile::LineEndMixed) {
        letter = LineEndLetter(int(lines.At(currentLine)->lineEnd));
        if (letter >= 'A' && letter <= 'Z')
            letter = char(letter - 'A' + 'a');
    }
    char under[32];
    if (cursorIndex < buffer.Length()) {
        uint32_t value = buffer[cursorIndex];
        if (encoding == CTextFile::EncodingCodePage) {
            Estring bytes(buffer.Mid(cursorIndex, 1), codePage > 0 ? UINT(codePage) : GetTextCodePage());
            value = bytes.Length() > 0 ? uint8_t(bytes.Data()[0]) : value;
        }
        snprintf(under, sizeof under, "%3u x%02X", value, value);
    } else {
        snprintf(under, sizeof under, "EOL");
    }
    Estring encodingName = CTextFile::EncodingName(encoding, codePage > 0 ? UINT(codePage) : GetTextCodePage());
    char tail[160];
    snprintf(tail, sizeof tail, " %c%c%c%c Line %-5d Col %-4d %-11s %s", letter, Config.AutoIndent ? 'I' : ' ',
             modified ? '*' : ' ', literalMode ? '"' : ' ', CursorLine() + 1, cursorX + scroll + 1, under,
             encodingName.Data());
    Westring text = Westring("Edit: ") + name + Westring(tail);
    window->SetOrigin(0, 0);
    const uint8_t attribute = ColourOf(ColourMenu);
    window->WriteWide(0, 0, text.Left(columns), attribute);
    window->GotoXY(text.Length() < columns ? text.Length() : columns, 0);
    if (text.Length() < columns)
        window->ClearToEol(attribute);
    window->SetOrigin(0, 1);
}

void QVEditor::Run(const Westring& filePath, int startOffset, int highlightLength) {
    path = filePath;
    syntaxPath = SyntaxDefinitionPath();
    highlighter.Load(syntaxPath, path);

    // The attribute is what makes a file read-only to its user. A system that
    // lets an administrator open such a file for writing all the same must
    // still not have it written without asking, so the attribute counts as
    // well as a refused write access (a lock, the rights of another user).
    DWORD attributes = 0;
    const bool attributeReadOnly =
        ReadFileAttributes(path, attributes) == 0 && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    uint32_t error = attributeReadOnly ? uint32_t(ERROR_ACCESS_DENIED)
                                       : textFile.Open(path, StdFile::ModeRead | StdFile::ModeWrite | StdFile::ModeKeep,
                                                       StdFile::ShareRead);
    if (error != 0) {
        const uint32_t readError = textFile.Open(path, StdFile::ModeRead, StdFile::ShareRead);
        if (readError == 0) {
            readOnly = 1;
            error = 0;
        } else if (attributeReadOnly) {
            error = readError;
        }
    }
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_OPEN_FAILED) {
        if (ShowMessageBox(Westring("File does not exist, Create?"), path, MessageBoxOkCancel) != 'y')
            return;
        newFile = 1;
        error = 0;
    } else if (error != 0) {
        ShowMessageBox(FormatSystemError(error), path, 0);
        return;
    }

    drawWindow = window.get();
    const char* labels[10] = {"1Help",  "2Save",   "3SaveAs", "4Cut", "5Copy",
                              "6Paste", "7Search", "8Rplace", "9",    "10Quit"};
    if (FunctionKeyBar)
        FunctionKeyBar->SetLabels(labels);
    displayName = path;
    ShortenPathForDisplay(displayName, columns - StatusNameReserve > 0 ? columns - StatusNameReserve : 1);
    const int32_t savedClock = Config.Clock;
    Config.Clock = 0;
    CloseClockWindow();
    for (TBookmark& mark : bookmarks)
        mark = {-1, 0};

    bool loaded = LoadFile(textFile, false, startOffset, highlightLength);
    textFile.Close();
    if (newFile) {
        modified = 1;
        encoding = CTextFile::EncodingCodePage;
        codePage = int32_t(ViewerCodePage != 0 ? ViewerCodePage : GetTextCodePage());
    }
    leaving = !loaded;
    storeOnLeave = false;
    CModalLoop loop;
    int repeatKey = 0;
    int repeatWait = 0;
    while (!leaving) {
        if (window)
            window->SetOrigin(0, 1);
        lineLength = buffer.Length();
        lineWidth = EditorDisplayWidth(buffer.Data());
        if (cursorX + scroll > lineWidth) {
            cursorIndex = lineLength;
            cursorX = lineWidth - scroll;
        }
        if (cursorX >= columns) {
            int step = 4 * ((cursorX - columns) / 4) + 4;
            scroll += step;
            cursorX -= step;
            redraw = 1;
        } else {
            while (cursorX < 0 || (scroll > 0 && lineWidth - scroll <= 7)) {
                if (scroll < 4 && cursorX >= 0)
                    break;
                cursorX += 4;
                scroll -= 4;
                redraw = 1;
            }
            if (scroll < 0) {
                cursorX += scroll;
                scroll = 0;
            }
        }
        DrawStatusLine();
        if (redraw) {
            CommitLine();
            RedrawAll();
            redraw = 0;
        } else {
            DrawFromLine(currentLine, buffer.Data());
        }

        int key = 0;
        if (repeatKey) {
            if (repeatWait > 0) {
                Sleep(DWORD(repeatWait));
                repeatWait = 0;
            } else if (Config.ScrollDelay > 0) {
                Sleep(DWORD(Config.ScrollDelay));
            }
            if (!IsInputPending())
                key = repeatKey;
            else
                repeatKey = 0;
        }
        if (key == 0) {
            if (window)
                window->GotoXY(cursorX, cursorRow);
            if (Console)
                Console->SetCursorShape(Config.OverStrike ? CursorShapeOverStrike : CursorShapeInsert);
            lastEvent = TInputEvent();
            key = loop.Read(lastEvent, -1);
            if (key == 0 || key == KEY_IGNORED || key == KEY_RESIZED)
                continue;
            if (literalMode && key < KEY_EXTENDED)
                key |= KEY_LITERAL_FLAG;
        }
        if (lastEvent.shiftState < 0)
            lastEvent.shiftState = 0;

        ResetUndoItem();
        const int anchorLine = CursorLine();
        const int anchorIndex = cursorIndex;
        if (key == KEY_MOUSE) {
            HandleMouse(key, repeatKey, repeatWait);
            if (key != KEY_MOUSE)
                ResetUndoItem();
        }
        if (key != KEY_MOUSE && key != 0)
            HandleKey(key);
        if (!block.marked) {
            block.startLine = anchorLine;
            block.startIndex = anchorIndex;
        }
        if (leaving)
            break;
        if (viewMoved || cursorX < 0 || cursorX >= columns || redraw) {
            CommitLine();
            viewMoved = 0;
        }
        ExtendBlock(key, anchorLine, anchorIndex);
    }
    if (storeOnLeave)
        StoreFileStatus(path);
    Config.Clock = savedClock;
}

void QVEditor::ExtendBlock(int key, int anchorLine, int anchorIndex) {
    const int line = CursorLine();
    if ((lastEvent.shiftState & SHIFT_SHIFT) || selectionMode) {
        if (cursorIndex > buffer.Length())
            cursorIndex = buffer.Length();
        if (!block.marked)
            block = {anchorLine, anchorIndex, anchorLine, anchorIndex, 1, 1};
        if (block.cursorAtEnd) {
            block.endLine = line;
            block.endIndex = cursorIndex;
        } else {
            block.startLine = line;
            block.startIndex = cursorIndex;
        }
        if (block.startLine > block.endLine ||
            (block.startLine == block.endLine && block.startIndex > block.endIndex)) {
            TEditorBlock swapped = block;
            block.startLine = swapped.endLine;
            block.startIndex = swapped.endIndex;
            block.endLine = swapped.startLine;
            block.endIndex = swapped.startIndex;
            block.cursorAtEnd = swapped.cursorAtEnd ? 0 : 1;
        }
        int from = block.startLine < line ? block.startLine : line;
        if (from >= topLine && from < topLine + TextRows() && !redraw)
            DrawFromLine(from);
        else
            redraw = 1;
        return;
    }
    if (!block.marked)
        return;
    bool keeps = false;
    for (int k : BlockKeepingKeys) {
        if (k == key)
            keeps = true;
    }
    const bool atMovingEnd = block.cursorAtEnd ? (line == block.endLine && cursorIndex == block.endIndex)
                                               : (line == block.startLine && cursorIndex == block.startIndex);
    if (!keeps || !atMovingEnd) {
        block.marked = 0;
        redraw = 1;
    }
}

void QVEditor::HandleMouse(int& key, int& repeatKey, int& repeatWait) {
    const TInputEvent& e = lastEvent;
    if (e.y >= rows - 1 && e.y < rows) {
        repeatKey = 0;
        int barKey = FunctionKeyFromBarSlot(e.x, columns, e.action, e.shiftState);
        if (barKey >= KEY_ALT_F1 && barKey <= KEY_ALT_F10)
            barKey += KEY_SHIFT_F1 - KEY_ALT_F1;
        if (e.action == TInputEvent::ActionPress1 || e.action == TInputEvent::ActionPress2) {
            mouseBarKey = barKey;
        } else if (e.action == TInputEvent::ActionRelease1 || e.action == TInputEvent::ActionRelease2) {
            if (barKey == mouseBarKey && barKey > 0) {
                lastEvent.shiftState = 0;
                key = barKey;
            }
            mouseBarKey = 0;
        }
        return;
    }
    if (e.action == TInputEvent::ActionWheel) {
        if (e.button < 0) {
            if (topLine + rows - 2 <= lines.Count()) {
                topLine += 3;
                if (topLine > lines.Count() - rows + 2)
                    topLine = lines.Count() - rows + 2;
            }
        } else {
            topLine -= 3;
        }
        if (topLine < 0)
            topLine = 0;
        if (CursorLine() >= lines.Count())
            cursorRow = lines.Count() - 1 - topLine;
        viewMoved = 1;
        redraw = 1;
        return;
    }
    if (e.action == TInputEvent::ActionRelease1) {
        if (block.marked && block.startLine == block.endLine && block.startIndex == block.endIndex) {
            block.marked = 0;
            redraw = 1;
        }
        return;
    }
    if (e.action == TInputEvent::ActionPress2) {
        const int third = rows / 3;
        if (e.y >= 1 && e.y < third)
            repeatKey = KEY_PGUP;
        else if (e.y > 2 * third)
            repeatKey = KEY_PGDN;
        if (repeatKey) {
            repeatWait = RepeatFirstWaitMs;
            key = repeatKey;
        }
        return;
    }
    if (e.y < 1)
        return;
    if (e.action != TInputEvent::ActionPress1 && e.action != TInputEvent::ActionMove1 &&
        e.action != TInputEvent::ActionDouble1)
        return;
    int y = e.y >= rows ? rows - 2 : e.y;
    if (y > rows - 2)
        y = rows - 2;
    cursorRow = y - 1;
    int x = e.x;
    if (CursorLine() >= lines.Count()) {
        cursorRow = lines.Count() - 1 - topLine;
        x = 65535;
    }
    StoreBuffer();
    currentLine = -1;
    Refetch();
    int width = EditorDisplayWidth(buffer.Data());
    if (x + scroll > width)
        x = width - scroll;
    if (x < 0)
        x = 0;
    cursorX = x;
    cursorIndex = ColumnToIndex(buffer.Data(), cursorX, scroll);
    wantedColumn = -1;
    lastEvent.shiftState |= SHIFT_SHIFT;
    if (e.action == TInputEvent::ActionPress1) {
        if (block.marked)
            redraw = 1;
        block = {CursorLine(), cursorIndex, CursorLine(), cursorIndex, 1, 1};
    } else if (e.action == TInputEvent::ActionDouble1) {
        SelectWord();
        redraw = 1;
    }
}

void QVEditor::HomeKey() {
    cursorIndex = 0;
    cursorX = -scroll;
    wantedColumn = -1;
}

void QVEditor::EndKey() {
    cursorIndex = buffer.Length();
    cursorX = EditorDisplayWidth(buffer.Data()) - scroll;
    wantedColumn = -1;
}

void QVEditor::PageUp() {
    if (topLine == 0) {
        cursorRow = 0;
        HomeKey();
        viewMoved = 1;
        return;
    }
    topLine = topLine - rows + 4 > 0 ? topLine - rows + 4 : 0;
    viewMoved = 1;
    redraw = 1;
}

void QVEditor::PageDown() {
    if (topLine + rows - 3 > lines.Count()) {
        CtrlEnd();
        return;
    }
    topLine += rows - 4;
    if (CursorLine() >= lines.Count())
        cursorRow = lines.Count() - 1 - topLine;
    viewMoved = 1;
    redraw = 1;
}

void QVEditor::CtrlEnd() {
    int row = rows - 3;
    if (topLine + row > lines.Count() - 1)
        row = lines.Count() - 1 - topLine;
    cursorRow = row < 0 ? 0 : row;
    CommitLine();
    EndKey();
}

void QVEditor::CtrlPgDn() {
    const int last = lines.Count() - 1;
    if (last >= topLine + TextRows()) {
        topLine = lines.Count() - rows + 2;
        if (topLine < 0)
            topLine = 0;
        redraw = 1;
    }
    cursorRow = last - topLine;
    cursorX = 0x10000 - scroll;
    viewMoved = 1;
}

void QVEditor::TypeChar(char32_t c) {
    if (block.marked)
        DeleteMarkedBlock();
    selectionMode = 0;
    ResetUndoItem();
    if (buffer.Length() > MaxLineUnits - 1)
        return;
    if (cursorIndex > buffer.Length())
        buffer = buffer.Pad(cursorIndex);
    if (Config.OverStrike && cursorIndex < buffer.Length()) {
        Westring replaced = buffer.Mid(cursorIndex, 1);
        replaced.ToUtf8(undoItem.text);
        buffer.SetAt(cursorIndex, c);
    } else {
        Westring one;
        one.AppendChar(c);
        buffer = buffer.Left(cursorIndex) + one + buffer.Mid(cursorIndex, buffer.Length() - cursorIndex);
    }
    int column = EditorDisplayWidth(buffer.Data(), cursorIndex + 1);
    cursorIndex++;
    cursorX = column - scroll;
    modified = 1;
    lastEvent.shiftState = 0;
    undoItem.regionEndIndex = undoItem.positionIndex = cursorIndex;
    undoItem.regionEndLine = undoItem.positionLine = CursorLine();
    PushUndo();
    wantedColumn = -1;
    literalMode = 0;
}

void QVEditor::WordLeft() {
    if (cursorIndex == 0) {
        CursorLeft();
        return;
    }
    int i = cursorIndex > buffer.Length() ? buffer.Length() : cursorIndex;
    while (i > 0 && !IsWordCharWide(buffer[i - 1]))
        i--;
    if (i == 0) {
        cursorIndex = 0;
        cursorX = -scroll;
        CursorLeft();
        return;
    }
    while (i > 0 && IsWordCharWide(buffer[i - 1]))
        i--;
    cursorIndex = i;
    cursorX = EditorDisplayWidth(buffer.Data(), i) - scroll;
    wantedColumn = -1;
}

void QVEditor::WordRight() {
    if (cursorIndex < buffer.Length()) {
        cursorIndex += WordRightOffset(buffer.Data() + cursorIndex);
        if (cursorIndex > buffer.Length())
            cursorIndex = buffer.Length();
        cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scroll;
        wantedColumn = -1;
        if (!Config.BriefWordRight && cursorIndex >= buffer.Length())
            CursorRight();
        return;
    }
    CursorRight();
}

void QVEditor::DeleteWordLeft() {
    if (cursorIndex == 0) {
        if (block.marked)
            DeleteMarkedBlock();
        else
            DeleteChar(true);
        return;
    }
    int end = cursorIndex > buffer.Length() ? buffer.Length() : cursorIndex;
    int i = end;
    while (i > 0 && !IsWordCharWide(buffer[i - 1]))
        i--;
    while (i > 0 && IsWordCharWide(buffer[i - 1]))
        i--;
    Westring removed = buffer.Mid(i, end - i);
    removed.ToUtf8(undoItem.text);
    buffer = buffer.Left(i) + buffer.Mid(end, buffer.Length() - end);
    cursorIndex = i;
    cursorX = EditorDisplayWidth(buffer.Data(), i) - scroll;
    undoItem.positionIndex = undoItem.regionStartIndex = undoItem.regionEndIndex = i;
    PushUndo();
    modified = 1;
    wantedColumn = -1;
}

void QVEditor::DeleteWordRight() {
    if (cursorIndex >= buffer.Length()) {
        DeleteChar(false);
        return;
    }
    int n = WordRightOffset(buffer.Data() + cursorIndex);
    if (n <= 0)
        n = 1;
    if (cursorIndex + n > buffer.Length())
        n = buffer.Length() - cursorIndex;
    Westring removed = buffer.Mid(cursorIndex, n);
    removed.ToUtf8(undoItem.text);
    PushUndo();
    buffer = buffer.Left(cursorIndex) + buffer.Mid(cursorIndex + n, buffer.Length() - cursorIndex - n);
    modified = 1;
}

void QVEditor::OpenLineAbove() {
    CommitLine();
    const int line = CursorLine();
    cursorIndex = 0;
    cursorX = -scroll;
    Westring text;
    if (Config.AutoIndent && line > 0) {
        int units = 0, width = 0;
        Westring from;
        // The indentation of the nearest indented line above this one.
        cursorRow--;
        int saved = currentLine;
        currentLine = -1;
        cursorX = 0x10000;
        if (FindIndent(units, width, from))
            text = from.Left(units);
        currentLine = saved;
        cursorRow++;
        cursorX = -scroll;
    }
    WestringStore inserted;
    SplitTextIntoLines(text + Westring(U"\n"), inserted);
    int insertLine = line;
    int index = 0;
    StoreBuffer();
    InsertLines(insertLine, index, inserted);
    Refetch();
    const int indent = text.Length();
    if (indent > 0)
        lines.At(line)->trim = 1;
    cursorIndex = indent;
    cursorX = EditorDisplayWidth(buffer.Data(), indent) - scroll;
    undoItem.regionStartLine = line;
    undoItem.regionStartIndex = 0;
    undoItem.regionEndLine = line + 1;
    undoItem.regionEndIndex = 0;
    undoItem.positionLine = line;
    undoItem.positionIndex = indent;
    PushUndo();
    modified = 1;
    redraw = 1;
    wantedColumn = -1;
}

void QVEditor::DuplicateLine() {
    CommitLine();
    const int line = CursorLine();
    QVEditorLine* current = lines.At(line);
    if (!lines.InsertLine(line, current->Text().Data(), current))
        return;
    undoItem.regionStartLine = line;
    undoItem.regionStartIndex = 0;
    undoItem.regionEndLine = line + 1;
    undoItem.regionEndIndex = 0;
    undoItem.positionLine = line;
    undoItem.positionIndex = cursorIndex;
    if (lines.At(line)->lineEnd == CTextFile::LineEndNone)
        lines.At(line)->lineEnd = line > 0 && lines.At(line - 1)->lineEnd != CTextFile::LineEndNone
                                      ? lines.At(line - 1)->lineEnd
                                      : uint32_t(CTextFile::LineEndCrLf);
    Refetch();
    PushUndo();
    modified = 1;
    redraw = 1;
}

void QVEditor::DeleteLine() {
    block.marked = 0;
    const int line = CursorLine();
    buffer.ToUtf8(undoItem.text);
    buffer.Clear();
    cursorIndex = 0;
    cursorX = -scroll;
    undoItem.regionStartLine = undoItem.regionEndLine = undoItem.positionLine = line;
    undoItem.regionStartIndex = undoItem.regionEndIndex = undoItem.positionIndex = 0;
    modified = 1;
    redraw = 1;
    if (line >= lines.Count() - 1) {
        PushUndo();
        return;
    }
    DeleteChar(false);
}

void QVEditor::CopyFromLineAbove(bool rest) {
    const int line = CursorLine();
    if (line == 0)
        return;
    const Westring aboveText = LineText(line - 1);
    int x = cursorX;
    int index = ColumnToIndex(aboveText.Data(), x, scroll);
    if (index >= aboveText.Length())
        return;
    if (!rest) {
        TypeChar(aboveText[index]);
        return;
    }
    Westring piece = aboveText.Mid(index, aboveText.Length() - index);
    if (buffer.Length() + piece.Length() > MaxLineUnits)
        return;
    if (cursorIndex > buffer.Length())
        buffer = buffer.Pad(cursorIndex);
    buffer = buffer.Left(cursorIndex) + piece + buffer.Mid(cursorIndex, buffer.Length() - cursorIndex);
    cursorIndex += piece.Length();
    cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scroll;
    undoItem.regionEndIndex = undoItem.positionIndex = cursorIndex;
    PushUndo();
    modified = 1;
    lastEvent.shiftState = 0;
}

void QVEditor::GotoLineDialog() {
    const uint8_t attribute = ColourOf(ColourMessages);
    for (;;) {
        int32_t n = 0;
        {
            Dialog dialog(-1, -4, 29, 5, attribute);
            dialog.WriteCentred(-1, " Goto Line ", attribute);
            dialog.AddStaticText(1, 0, "Line to go to:", attribute);
            dialog.AddIntegerField(16, 0, 1, &n, 8, 1, FieldKindNoHistory);
            char range[32];
            snprintf(range, sizeof range, "1-%d", lines.Count());
            dialog.AddStaticText(16, 1, range, attribute);
            if (dialog.Run() == 27)
                return;
        }
        if (n >= 1 && n <= lines.Count()) {
            topLine = n - 1 < 5 ? 0 : n - 6;
            cursorRow = n - 1 - topLine;
            if (cursorRow > rows - 3) {
                topLine += cursorRow - (rows - 3);
                cursorRow = rows - 3;
            }
            viewMoved = 1;
            redraw = 1;
            return;
        }
    }
}

void QVEditor::SwitchCodePage(bool chooseList) {
    if (chooseList) {
        if (EditTranslateCodePages() != 0)
            return;
        TranslateCodePagePosition = 0;
    } else if (encoding != CTextFile::EncodingCodePage) {
        return;
    }
    const uint32_t savedSelection = ViewerCodePage;
    const int32_t savedPosition = TranslateCodePagePosition;
    const int32_t oldEncoding = encoding, oldCodePage = codePage;
    uint32_t selection = ViewerCodePage;
    uint32_t current = selection ? selection : GetTextCodePage();
    if (int32_t(current) == codePage || chooseList)
        NextTranslateCodePage(selection);
    ViewerCodePage = selection;
    const int32_t newCodePage = int32_t(selection ? selection : GetTextCodePage());
    const int32_t newEncoding = CTextFile::EncodingCodePage;
    if (newCodePage == codePage && newEncoding == encoding)
        return;
    if (encoding == CTextFile::EncodingCodePage) {
        RecodeLines(codePage, newCodePage);
        redraw = 1;
        return;
    }
    encoding = newEncoding;
    codePage = newCodePage;
    if (!ReloadWithEncoding()) {
        encoding = oldEncoding;
        codePage = oldCodePage;
        ViewerCodePage = savedSelection;
        TranslateCodePagePosition = savedPosition;
    }
    redraw = 1;
}

void QVEditor::ShowHelpForFile() {
    Westring name = ExtractFileName(path);
    int dot = name.FindLast('.');
    Westring extension = dot >= 0 ? name.Mid(dot + 1, name.Length() - dot - 1) : Westring();
    int topic = HelpTopicEditor;
    if (extension.EqualsNoCase(Westring("mnu")))
        topic = HelpTopicUserMenu;
    else if ((!Config.IniFilePath.IsEmpty() && path.EqualsNoCase(Config.IniFilePath)) ||
             path.EqualsNoCase(DataFilePath(DataFileIni, DataFileUserFolder)))
        topic = HelpTopicIniFile;
    ShowHelp(topic);
    redraw = 1;
}

bool QVEditor::SaveCommand() {
    CommitLine();
    if (SaveFile(path) == 0) {
        modified = 0;
        return true;
    }
    redraw = 1;
    return false;
}

bool QVEditor::Leave(bool saveFirst) {
    CommitLine();
    if (!modified) {
        storeOnLeave = true;
        return true;
    }
    if (saveFirst && SaveCommand()) {
        storeOnLeave = true;
        return true;
    }
    for (;;) {
        int answer;
        {
            const uint8_t attribute = ColourOf(ColourErrors);
            Dialog dialog(-1, -1, 35, 9, attribute);
            dialog.WriteCentred(1, "There are unsaved changes", attribute);
            static const TButtonDef buttons[] = {{'s', "_Save"}, {'d', "_Discard"}, {'e', "_Edit"}, {0, nullptr}};
            int first = dialog.AddButtonRow(-1, -1, 1, buttons);
            if (first >= 0)
                dialog.SetDefaultButton(first);
            dialog.SetHotKeys("sde", 3);
            answer = dialog.Run();
        }
        if (answer == 's' || answer == 13) {
            if (SaveCommand()) {
                storeOnLeave = true;
                return true;
            }
            continue;
        }
        if (answer == 'd')
            return true;
        redraw = 1;
        return false;
    }
}

void QVEditor::SplitLineAndMoveDown() {
    int before = lines.Count();
    SplitLine(true);
    if (lines.Count() == before)
        return;
    CursorDown();
    undoItem.regionEndLine = undoItem.positionLine = CursorLine();
    undoItem.regionEndIndex = undoItem.positionIndex = cursorIndex;
    PushUndo();
}

bool QVEditor::HandleKey(int key) {
    const int shift = lastEvent.shiftState;
    // Terminals send Alt+Backspace as Backspace with Alt held.
    if (key == KEY_BACKSPACE && (shift & SHIFT_ALT))
        key = (shift & SHIFT_SHIFT) ? KEY_SHIFT_ALT_BACKSPACE : KEY_ALT_BACKSPACE;
    if ((shift & SHIFT_NUMLOCK) && (key & KEY_SLOT_FLAG) && key < KEY_EXTENDED * 8) {
        TBookmark& mark = bookmarks[key & 0xF];
        if (key & KEY_SHIFTED) {
            mark = {cursorIndex, CursorLine()};
        } else if (mark.index >= 0) {
            CommitLine();
            GotoPosition(mark.index, mark.line);
        }
        lastEvent.shiftState = 0;
        return true;
    }
    // The bookmark keys share their codes with Ctrl and a keypad digit.
    key = NormaliseKey(key);
    if (key >= KEY_ALT_1 && key <= KEY_ALT_8) {
        Config.TabWidth = key - KEY_ALT_1 + 1;
        cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scroll;
        redraw = 1;
        return true;
    }
    if (key & KEY_LITERAL_FLAG) {
        TypeChar(char32_t(key & 0xFFFF));
        return true;
    }
    switch (key) {
    case KEY_ESC:
    case KEY_F10: leaving = Leave(false); return true;
    case KEY_SHIFT_F10: leaving = Leave(true); return true;
    case KEY_CLOSED:
        modified = 0;
        leaving = true;
        return true;
    case KEY_F2: SaveCommand(); return true;
    case KEY_F3: {
        CommitLine();
        Westring name = path;
        SaveAs(name);
        displayName = path;
        ShortenPathForDisplay(displayName, columns - StatusNameReserve > 0 ? columns - StatusNameReserve : 1);
        redraw = 1;
        return true;
    }
    case KEY_F1: ShowHelpForFile(); return true;
    case KEY_CTRL_Q: literalMode = 1; return true;
    case KEY_CTRL_A:
        block = {0, 0, 0, 0, 1, 1};
        lastEvent.shiftState |= SHIFT_SHIFT;
        CtrlPgDn();
        return true;
    case KEY_CTRL_D: DuplicateLine(); return true;
    case KEY_ENTER:
    case KEY_SHIFT_ENTER:
        if (shift & SHIFT_SHIFT) {
            lastEvent.shiftState = 0;
            OpenLineAbove();
            return true;
        }
        SplitLineAndMoveDown();
        return true;
    case KEY_ALT_ENTER:
        EndKey();
        undoItem.regionStartIndex = undoItem.cursorAfterIndex = cursorIndex;
        SplitLineAndMoveDown();
        return true;
    case KEY_CTRL_W:
        SelectWord();
        if (block.marked)
            CopyCommand(false, false);
        redraw = 1;
        return true;
    case KEY_CTRL_Y: DeleteLine(); return true;
    case KEY_CTRL_U:
        if (lineEndMode == CTextFile::LineEndMixed) {
            QVEditorLine* line = lines.At(currentLine);
            line->lineEnd =
                line->lineEnd >= CTextFile::LineEndNul ? uint32_t(CTextFile::LineEndCrLf) : line->lineEnd + 1;
        }
        modified = 1;
        return true;
    case KEY_CTRL_V:
    case KEY_F6:
    case KEY_SHIFT_INSERT: Paste(); return true;
    case KEY_CTRL_C:
    case KEY_F5:
    case KEY_CTRL_INSERT:
    case KEY_SLOT_0: CopyCommand(false, false); return true;
    case KEY_CTRL_X:
    case KEY_F4:
    case KEY_SHIFT_DELETE: CopyCommand(true, false); return true;
    case KEY_SHIFT_CTRL_INSERT: CopyCommand(false, true); return true;
    case KEY_CTRL_BACKSPACE: DeleteWordLeft(); return true;
    case KEY_ALT_BACKSPACE: Undo(); return true;
    case KEY_SHIFT_ALT_BACKSPACE: Redo(); return true;
    case KEY_ALT_COMMA:
    case KEY_ALT_PERIOD: SearchWordCommand(key == KEY_ALT_COMMA); return true;
    case KEY_F7: SearchCommand(true, false); return true;
    case KEY_SHIFT_F7: SearchCommand(false, false); return true;
    case KEY_ALT_F7: SearchCommand(false, true); return true;
    case KEY_F8: ReplaceCommand(); return true;
    case KEY_HOME: HomeKey(); return true;
    case KEY_END: EndKey(); return true;
    case KEY_UP: CursorUp(); return true;
    case KEY_DOWN: CursorDown(); return true;
    case KEY_LEFT: CursorLeft(); return true;
    case KEY_RIGHT: CursorRight(); return true;
    case KEY_CTRL_LEFT: WordLeft(); return true;
    case KEY_CTRL_RIGHT: WordRight(); return true;
    case KEY_PGUP: PageUp(); return true;
    case KEY_PGDN: PageDown(); return true;
    case KEY_CTRL_HOME:
        cursorRow = 0;
        HomeKey();
        viewMoved = 1;
        return true;
    case KEY_CTRL_END: CtrlEnd(); return true;
    case KEY_CTRL_PGUP:
        cursorIndex = 0;
        cursorX = -scroll;
        if (CursorLine() != 0) {
            topLine = 0;
            cursorRow = 0;
            viewMoved = 1;
            redraw = 1;
        }
        return true;
    case KEY_CTRL_PGDN: CtrlPgDn(); return true;
    case KEY_INSERT: Config.OverStrike = Config.OverStrike ? 0 : 1; return true;
    case KEY_DELETE:
        if (block.marked)
            DeleteMarkedBlock();
        else
            DeleteChar(false);
        return true;
    case KEY_BACKSPACE:
        if (block.marked)
            DeleteMarkedBlock();
        else
            DeleteChar(true);
        return true;
    case KEY_CTRL_DELETE:
        if (block.marked)
            DeleteMarkedBlock();
        else
            DeleteWordRight();
        return true;
    case KEY_ALT_LEFT: IndentBlock(-Config.IndentWidth); return true;
    case KEY_ALT_RIGHT: IndentBlock(Config.IndentWidth); return true;
    case KEY_SHIFT_CTRL_L: ChangeCase(0); return true;
    case KEY_SHIFT_CTRL_U: ChangeCase(1); return true;
    case KEY_SHIFT_CTRL_MIXED_CASE: ChangeCase(2); return true;
    case KEY_GREY_PLUS:
    case KEY_GREY_MINUS:
    case KEY_GREY_STAR: TypeChar(char32_t(key - KEY_GREY_FLAG)); return true;
    default: break;
    }
    if ((key == KEY_SPACE || key == KEY_CTRL_SCAN_SPACE) && (shift & (SHIFT_CTRL | SHIFT_ALT))) {
        CopyFromLineAbove((shift & SHIFT_ALT) != 0);
        return true;
    }
    if (key >= KEY_EXTENDED && key < KEY_EXTENDED + 0x100) {
        switch (TranslateKeyChar(key, lastEvent)) {
        case '[':
        case 'm': MatchBracket(); return true;
        case 'c': SwitchCodePage(true); return true;
        case 'e': SelectFileEncoding(); return true;
        case 'i': Config.AutoIndent = Config.AutoIndent ? 0 : 1; return true;
        case 'l': GotoLineDialog(); return true;
        case 's': selectionMode = selectionMode ? 0 : 1; return true;
        case 't': SwitchCodePage(false); return true;
        case 'u':
            lineEndMode = lineEndMode >= CTextFile::LineEndMixed ? CTextFile::LineEndCrLf : lineEndMode + 1;
            modified = 1;
            return true;
        case 'h':
            if (highlighter.loaded)
                highlighter.loaded = false;
            else
                highlighter.Load(syntaxPath, path);
            redraw = 1;
            return true;
        default: break;
        }
    }
    if (IsTypedCharacter(key)) {
        TypeChar(char32_t(key & 0xFFFF));
        return true;
    }
    wantedColumn = -1;
    literalMode = 0;
    return false;
}
