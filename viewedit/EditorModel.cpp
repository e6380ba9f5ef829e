// The editor's text model: the lines and the line buffer, drawing with syntax
// colours and the block highlight, cursor movement and the edits that change
// the line list.
#include <cwctype>

#include "viewedit/Editor.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/strings/CaseTable.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/MixedCase.h"
#include "base/strings/WordChars.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "ui/Clipboard.h"

namespace {

int TabWidth() {
    return Config.TabWidth >= 1 && Config.TabWidth <= 8 ? Config.TabWidth : 8;
}

int NextColumn(int column, char32_t c) {
    if (c == '\t') {
        int tab = TabWidth();
        return column + tab - column % tab;
    }
    return column + 1;
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t';
}
bool IsCSpace(char32_t c) {
    return c == ' ' || (c >= 9 && c <= 13);
}

// Where block highlights stop on a line that goes on past the screen.
const int HighlightToEnd = 100000;

}  // namespace

int EditorDisplayWidth(const char32_t* text, int n) {
    int column = 0;
    for (int i = 0; (n < 0 || i < n) && text[i]; i++)
        column = NextColumn(column, text[i]);
    return column;
}

int ColumnToIndex(const char32_t* text, int& cursorX, int scroll) {
    const int wanted = cursorX + scroll;
    if (wanted <= 0)
        return 0;
    int column = 0;
    int i = 0;
    for (; text[i]; i++) {
        int start = column;
        column = NextColumn(column, text[i]);
        if (column == wanted)
            return i + 1;
        if (column > wanted) {
            cursorX = start - scroll;
            return i;
        }
    }
    return i;
}

void SplitUtf8TextIntoLines(const char* text, WestringStore& store) {
    SplitTextIntoLines(Westring(text), store);
}

QVEditor::QVEditor()
    : lines(&pool), buffer(MaxLineUnits + 1), drawWindow(nullptr), currentLine(0), scroll(0), cursorIndex(0),
      topLine(0), cursorRow(0), cursorX(0), wantedColumn(-1), lineWidth(0), lineLength(0), viewMoved(0), modified(0),
      redraw(1), lastEvent(), block(), selectionMode(0), newFile(0), readOnly(0), savedPoint(0), byteOrderMark(0),
      encoding(CTextFile::EncodingUtf8), lineEndMode(0), codePage(int32_t(GetTextCodePage())), loadTime(), loadSize(-1),
      literalMode(0), rows(ScreenRows), columns(ScreenColumns), mouseBarKey(0), leaving(false), storeOnLeave(false) {
    if (rows < 4)
        rows = 4;
    if (columns < 1)
        columns = 80;
    if (Console) {
        window.reset(new Win(0, 0, columns - 1, rows - 1, ColourOf(ColourFileViewer), -1, 1));
        window->SetOrigin(0, 1);
    }
    drawWindow = window.get();
    for (TBookmark& mark : bookmarks)
        mark = {-1, 0};
    ResetUndoItem();
}

QVEditor::~QVEditor() {
    window.reset();
    textFile.Close();
}

void QVEditor::ResetDocument() {
    lines.RemoveAll();
    pool.Reset();
    lines.AddLine(U"", CTextFile::LineEndNone);
    currentLine = 0;
    buffer.Clear();
}

Westring QVEditor::LineText(int line) const {
    if (line == currentLine)
        return buffer;
    QVEditorLine* record = lines.At(line);
    return record ? record->Text() : Westring();
}

int QVEditor::LineLength(int line) const {
    if (line == currentLine)
        return buffer.Length();
    QVEditorLine* record = lines.At(line);
    return record ? record->Length() : 0;
}

void QVEditor::StoreBuffer() {
    if (currentLine >= 0 && currentLine < lines.Count())
        lines.ReplaceText(currentLine, buffer.Data(), buffer.Length());
}

void QVEditor::Refetch() {
    int line = CursorLine();
    if (line >= lines.Count())
        line = lines.Count() - 1;
    if (line < 0)
        line = 0;
    currentLine = line;
    QVEditorLine* record = lines.At(line);
    buffer = record ? record->Text() : Westring();
    lineLength = buffer.Length();
    lineWidth = EditorDisplayWidth(buffer.Data());
}

void QVEditor::CommitLine() {
    StoreBuffer();
    if (CursorLine() != currentLine)
        Refetch();
    cursorIndex = ColumnToIndex(buffer.Data(), cursorX, scroll);
}

int QVEditor::DrawLine(int row, int line, const char32_t* text) {
    Westring own;
    if (!text) {
        own = LineText(line);
        text = own.Data();
    }
    const uint8_t plain = ColourOf(ColourFileViewer);
    highlighter.ColourLine(text, cells);
    const int width = cells.Length();
    while (cells.Length() < scroll + columns)
        cells += TCell{' ', plain};
    if (block.marked && line >= block.startLine && line <= block.endLine) {
        int from = 0;
        int to = HighlightToEnd;
        if (line == block.startLine)
            from = EditorDisplayWidth(text, block.startIndex);
        if (line == block.endLine)
            to = EditorDisplayWidth(text, block.endIndex);
        const uint8_t highlight = ColourOf(ColourHighlight);
        TCell* cell = cells.Data();
        for (int c = from > scroll ? from : scroll; c < to && c < scroll + columns; c++)
            cell[c].attribute = highlight;
    }
    if (drawWindow)
        drawWindow->WriteAttrString(0, row, cells.Mid(scroll, columns));
    return width;
}

void QVEditor::DrawFromLine(int line, const char32_t* text) {
    highlighter.stack.Copy(topState);
    if (highlighter.loaded) {
        CellString scratch;
        for (int i = topLine; i < line; i++)
            highlighter.ColourLine(LineText(i).Data(), scratch);
    }
    for (int i = line; i < lines.Count() && i - topLine < TextRows(); i++) {
        if (i < topLine)
            continue;
        int width = DrawLine(i - topLine, i, i == line ? text : nullptr);
        if (i == currentLine)
            lineWidth = width;
    }
}

void QVEditor::ComputeTopState() {
    highlighter.stack.Clear();
    if (highlighter.loaded) {
        CellString scratch;
        int from = topLine - TopStateLines;
        for (int i = from < 0 ? 0 : from; i < topLine; i++)
            highlighter.ColourLine(LineText(i).Data(), scratch);
    }
    topState.Copy(highlighter.stack);
}

void QVEditor::RedrawAll() {
    ComputeTopState();
    for (int r = 0; r < TextRows(); r++) {
        int line = topLine + r;
        if (line < lines.Count()) {
            int width = DrawLine(r, line);
            if (line == currentLine)
                lineWidth = width;
        } else if (drawWindow) {
            drawWindow->GotoXY(0, r);
            drawWindow->ClearToEol(ColourOf(ColourFileViewer));
        }
    }
}

void QVEditor::GotoPosition(int index, int line) {
    if (line >= lines.Count())
        line = lines.Count() - 1;
    if (line < 0)
        line = 0;
    if (line < topLine) {
        topLine = line;
        redraw = 1;
    } else if (line >= topLine + TextRows()) {
        topLine = line - rows + 3;
        redraw = 1;
    }
    cursorRow = line - topLine;
    if (line != currentLine) {
        if (wantedColumn == -1)
            wantedColumn = cursorX + scroll;
        CommitLine();
    }
    if (index < 0)
        index = 0;
    if (index > MaxLineUnits)
        index = MaxLineUnits;
    if (buffer.Length() < index) {
        buffer = buffer.Pad(index);
        lines.At(currentLine)->trim = 1;
    }
    cursorIndex = index;
    cursorX = EditorDisplayWidth(buffer.Data(), index) - scroll;
    wantedColumn = -1;
    lineLength = buffer.Length();
}

void QVEditor::CursorDown() {
    if (CursorLine() >= lines.Count() - 1)
        return;
    if (wantedColumn == -1)
        wantedColumn = cursorX + scroll;
    else
        cursorX = wantedColumn - scroll;
    if (cursorRow < rows - 3) {
        cursorRow++;
    } else {
        if (drawWindow && !redraw)
            drawWindow->Scroll(0, 0, columns, TextRows(), 1);
        // The old top line leaves the window: its colours carry into the new one.
        highlighter.stack.Copy(topState);
        if (highlighter.loaded) {
            CellString scratch;
            highlighter.ColourLine(LineText(topLine).Data(), scratch);
        }
        topState.Copy(highlighter.stack);
        topLine++;
        if (!redraw)
            DrawFromLine(topLine + rows - 3);
    }
    CommitLine();
}

void QVEditor::CursorUp() {
    if (cursorRow > 0) {
        cursorRow--;
    } else if (topLine > 0) {
        if (drawWindow && !redraw)
            drawWindow->Scroll(0, 0, columns, TextRows(), -1);
        topLine--;
        ComputeTopState();
        if (!redraw)
            DrawFromLine(topLine);
    } else {
        return;
    }
    if (wantedColumn == -1)
        wantedColumn = cursorX + scroll;
    else
        cursorX = wantedColumn - scroll;
    CommitLine();
}

void QVEditor::CursorLeft() {
    wantedColumn = -1;
    if (cursorX + scroll <= 0) {
        if (CursorLine() > 0) {
            int line = CursorLine() - 1;
            GotoPosition(LineLength(line), line);
        }
        return;
    }
    cursorX--;
    if (cursorIndex > 0)
        cursorIndex--;
    if (cursorIndex < buffer.Length() && buffer[cursorIndex] == '\t')
        cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scroll;
}

void QVEditor::CursorRight() {
    wantedColumn = -1;
    int width = EditorDisplayWidth(buffer.Data());
    if (cursorX + scroll < width) {
        int column = EditorDisplayWidth(buffer.Data(), cursorIndex);
        if (cursorIndex < buffer.Length())
            column = NextColumn(column, buffer[cursorIndex]);
        cursorIndex++;
        cursorX = column - scroll;
    } else if (CursorLine() < lines.Count() - 1) {
        cursorX = -scroll;
        CursorDown();
    }
}

void QVEditor::MakeColumnVisible(int& scrollColumn, const TEditorBlock& visible) {
    const int before = scrollColumn;
    int a = EditorDisplayWidth(LineText(visible.startLine).Data(), visible.startIndex);
    int b = EditorDisplayWidth(LineText(visible.endLine).Data(), visible.endIndex);
    while (b - scrollColumn >= columns)
        scrollColumn += 4;
    while (a - scrollColumn < 0)
        scrollColumn -= 4;
    if (scrollColumn < 0)
        scrollColumn = 0;
    cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scrollColumn;
    if (scrollColumn != before)
        redraw = 1;
}

bool QVEditor::FindIndent(int& units, int& width, Westring& text) {
    const int cursorColumn = cursorX + scroll;
    for (int line = CursorLine(); line >= 0; line--) {
        const Westring lineText = LineText(line);
        const char32_t* t = lineText.Data();
        int n = 0;
        while (t[n] && IsCSpace(t[n]))
            n++;
        int w = EditorDisplayWidth(t, n);
        bool qualifies = t[n] != 0;
        if (qualifies && line == currentLine)
            qualifies = w == 0 ? cursorColumn != 0 : cursorColumn > w;
        if (qualifies) {
            units = n;
            width = w;
            text = t;
            return true;
        }
    }
    units = 0;
    width = 0;
    return false;
}

void QVEditor::SplitLine(bool autoIndent) {
    int units = 0, width = 0;
    Westring indentFrom;
    bool indent = Config.AutoIndent && autoIndent && FindIndent(units, width, indentFrom);
    int cut = cursorIndex > buffer.Length() ? buffer.Length() : cursorIndex;
    int rightStart = cut;
    if (indent) {
        while (rightStart < buffer.Length() && IsBlank(buffer[rightStart]))
            rightStart++;
        if (rightStart > cut) {
            Westring skipped = buffer.Mid(cut, rightStart - cut);
            skipped.ToUtf8(undoItem.text);
            undoItem.lineCount = 1;
        }
    }
    Westring newText = indent ? indentFrom.Left(units) : Westring();
    newText += buffer.Mid(rightStart, buffer.Length() - rightStart);
    QVEditorLine* current = lines.At(currentLine);
    if (newText.Length() > MaxLineUnits)
        return;
    if (!lines.InsertLine(currentLine + 1, newText.Data(), current))
        return;
    current = lines.At(currentLine);
    if (indent && units > 0)
        lines.At(currentLine + 1)->trim = 1;
    if (current->lineEnd == CTextFile::LineEndNone) {
        current->lineEnd = currentLine > 0 ? lines.At(currentLine - 1)->lineEnd : uint32_t(CTextFile::LineEndCrLf);
        if (current->lineEnd == CTextFile::LineEndNone)
            current->lineEnd = CTextFile::LineEndCrLf;
        lines.At(currentLine + 1)->lineEnd = CTextFile::LineEndNone;
    }
    buffer = buffer.Left(rightStart == cut ? cut : rightStart);
    // The skipped white space stays on the line, where the trim flag drops it.
    if (buffer.Length() > 0 && IsBlank(buffer[buffer.Length() - 1]))
        current->trim = 1;
    StoreBuffer();
    if (!redraw) {
        if (cursorRow < rows - 3 && drawWindow)
            drawWindow->Scroll(0, cursorRow + 1, columns, TextRows() - cursorRow - 1, -1);
        DrawFromLine(currentLine, buffer.Data());
    }
    modified = 1;
    lastEvent.shiftState = 0;
    wantedColumn = width;
}

void QVEditor::DeleteChar(bool backward) {
    if (backward) {
        if (cursorX + scroll <= 0 && CursorLine() == 0)
            return;
        CursorLeft();
        if (CursorLine() != currentLine)
            CommitLine();
        undoItem.positionIndex = undoItem.regionStartIndex = undoItem.regionEndIndex = cursorIndex;
        undoItem.positionLine = undoItem.regionStartLine = undoItem.regionEndLine = CursorLine();
    }
    const int width = EditorDisplayWidth(buffer.Data());
    if (cursorX + scroll < width && cursorIndex < buffer.Length()) {
        Westring removed = buffer.Mid(cursorIndex, 1);
        Estring bytes;
        removed.ToUtf8(bytes);
        undoItem.text += bytes;
        buffer = buffer.Left(cursorIndex) + buffer.Mid(cursorIndex + 1, buffer.Length() - cursorIndex - 1);
    } else if (currentLine < lines.Count() - 1) {
        QVEditorLine* next = lines.At(currentLine + 1);
        if (buffer.Length() + next->Length() > MaxLineUnits)
            return;
        if (cursorIndex > buffer.Length())
            buffer = buffer.Pad(cursorIndex);
        Westring joined = buffer + Westring(next->Text());
        uint32_t kind = next->lineEnd;
        lines.RemoveAt(currentLine + 1);
        lines.At(currentLine)->lineEnd = kind;
        buffer = joined;
        if (drawWindow && !redraw && cursorRow < rows - 3)
            drawWindow->Scroll(0, cursorRow + 1, columns, TextRows() - cursorRow - 1, 1);
        if (!redraw) {
            int bottom = topLine + rows - 3;
            if (bottom < lines.Count())
                DrawFromLine(bottom);
            else if (drawWindow) {
                drawWindow->GotoXY(0, rows - 3);
                drawWindow->ClearToEol(ColourOf(ColourFileViewer));
            }
        }
        undoItem.text += "\n";
        undoItem.lineCount++;
        int newWidth = EditorDisplayWidth(buffer.Data());
        if (cursorX + scroll > newWidth) {
            cursorIndex = buffer.Length();
            cursorX = newWidth - scroll;
        }
    } else {
        return;
    }
    PushUndo();
    modified = 1;
}

bool QVEditor::InsertLines(int& line, int& index, const WestringStore& insert) {
    const int n = insert.Count();
    if (n == 0 || line < 0 || line >= lines.Count())
        return false;
    StoreBuffer();
    QVEditorLine* record = lines.At(line);
    Westring old(record->Text());
    if (old.Length() + insert.At(0)->Length() > MaxLineUnits)
        return false;
    if (index > old.Length())
        old = old.Pad(index);
    Westring left = old.Left(index);
    Westring right = old.Mid(index, old.Length() - index);
    if (n == 1) {
        Westring text = left + *insert.At(0) + right;
        if (!lines.ReplaceText(line, text.Data(), text.Length()))
            return false;
        index += insert.At(0)->Length();
    } else {
        Westring first = left + *insert.At(0);
        Westring last = *insert.At(n - 1) + right;
        if (!lines.ReplaceText(line, last.Data(), last.Length()))
            return false;
        const QVEditorLine* kind = lines.At(line);
        if (!lines.InsertLine(line, first.Data(), kind))
            return false;
        for (int i = 1; i < n - 1; i++) {
            if (!lines.InsertLine(line + i, insert.At(i)->Data(), kind))
                return false;
        }
        // Lines inserted above the last one carry a line end of their own,
        // even when the insertion happened on the final, unterminated line.
        for (int i = 0; i < n - 1; i++) {
            if (lines.At(line + i)->lineEnd == CTextFile::LineEndNone) {
                uint32_t above = line > 0 ? lines.At(line - 1)->lineEnd : uint32_t(CTextFile::LineEndCrLf);
                lines.At(line + i)->lineEnd =
                    above == CTextFile::LineEndNone ? uint32_t(CTextFile::LineEndCrLf) : above;
            }
        }
        line += n - 1;
        index = insert.At(n - 1)->Length();
    }
    if (currentLine >= 0 && currentLine < lines.Count())
        buffer = lines.At(currentLine)->Text();
    return true;
}

void QVEditor::DeleteBlockText(TEditorBlock& region) {
    if (!region.marked)
        return;
    StoreBuffer();
    if (region.startLine < 0 || region.endLine >= lines.Count() || region.startLine > region.endLine) {
        region.marked = 0;
        return;
    }
    Westring start(lines.At(region.startLine)->Text());
    if (region.startLine == region.endLine) {
        int s = region.startIndex < start.Length() ? region.startIndex : start.Length();
        int e = region.endIndex < start.Length() ? region.endIndex : start.Length();
        if (e > s) {
            Westring text = start.Left(s) + start.Mid(e, start.Length() - e);
            lines.ReplaceText(region.startLine, text.Data(), text.Length());
        }
    } else {
        if (start.Length() < region.startIndex)
            start = start.Pad(region.startIndex);
        Westring end(lines.At(region.endLine)->Text());
        int e = region.endIndex < end.Length() ? region.endIndex : end.Length();
        Westring text = start.Left(region.startIndex) + end.Mid(e, end.Length() - e);
        uint32_t kind = lines.At(region.endLine)->lineEnd;
        lines.ReplaceText(region.startLine, text.Data(), text.Length());
        lines.At(region.startLine)->lineEnd = kind;
        lines.RemoveRange(region.startLine + 1, region.endLine - region.startLine);
    }
    region.marked = 0;
    if (currentLine >= lines.Count())
        currentLine = lines.Count() - 1;
    buffer = lines.At(currentLine)->Text();
}

void QVEditor::DeleteBlock() {
    StoreBuffer();
    TEditorBlock region = block;
    DeleteBlockText(region);
    block.marked = 0;
    if (region.startLine < topLine)
        topLine = region.startLine;
    cursorRow = region.startLine - topLine;
    if (cursorRow > rows - 3) {
        topLine = region.startLine - (rows - 3);
        cursorRow = rows - 3;
    }
    Refetch();
    if (region.startIndex > buffer.Length())
        buffer = buffer.Pad(region.startIndex);
    cursorIndex = region.startIndex;
    cursorX = EditorDisplayWidth(buffer.Data(), cursorIndex) - scroll;
    redraw = 1;
}

void QVEditor::IndentLine(int line, int delta) {
    if (line < 0 || line >= lines.Count())
        return;
    StoreBuffer();
    Westring text(lines.At(line)->Text());
    int n = 0;
    while (n < text.Length() && std::iswspace(wint_t(text[n])))
        n++;
    if (n == text.Length())
        return;
    int width = EditorDisplayWidth(text.Data(), n);
    if (width + delta < 0)
        return;
    Westring indented = RepeatChar32(' ', width + delta) + text.Mid(n, text.Length() - n);
    if (indented.Length() > MaxLineUnits)
        return;
    lines.ReplaceText(line, indented.Data(), indented.Length());
    if (line == currentLine)
        buffer = indented;
}

void QVEditor::ConvertCase(const TEditorBlock& region, int mode) {
    StoreBuffer();
    for (int line = region.startLine; line <= region.endLine && line < lines.Count(); line++) {
        Westring text(lines.At(line)->Text());
        int from = line == region.startLine ? region.startIndex : 0;
        int to = line == region.endLine ? region.endIndex : text.Length();
        if (to > text.Length())
            to = text.Length();
        if (from < 0)
            from = 0;
        if (from >= to)
            continue;
        Westring part = text.Mid(from, to - from);
        if (mode == 2) {
            ToMixedCase(part);
        } else {
            for (int i = 0; i < part.Length(); i++)
                part.SetAt(i, mode == 0 ? ToLowerChar(part[i]) : ToUpperChar(part[i]));
        }
        Westring result = text.Left(from) + part + text.Mid(to, text.Length() - to);
        lines.ReplaceText(line, result.Data(), result.Length());
    }
    buffer = lines.At(currentLine)->Text();
}

void QVEditor::RecodeLines(int oldCodePage, int newCodePage) {
    UINT from = oldCodePage ? UINT(oldCodePage) : GetTextCodePage();
    UINT to = newCodePage ? UINT(newCodePage) : GetTextCodePage();
    if (from == to)
        return;
    StoreBuffer();
    for (int i = 0; i < lines.Count(); i++) {
        Westring text(lines.At(i)->Text());
        Estring bytes(text, from);
        Westring recoded(bytes.Data(), to);
        lines.ReplaceText(i, recoded.Data(), recoded.Length());
    }
    Refetch();
    codePage = int32_t(to);
}

void QVEditor::SelectWord() {
    block.marked = 0;
    if (cursorIndex > buffer.Length())
        return;
    if ((cursorIndex >= buffer.Length() || !IsWordCharWide(buffer[cursorIndex])) && cursorIndex > 0 &&
        IsWordCharWide(buffer[cursorIndex - 1]))
        cursorIndex--;
    if (cursorIndex >= buffer.Length() || !IsWordCharWide(buffer[cursorIndex]))
        return;
    int start = cursorIndex;
    while (start > 0 && IsWordCharWide(buffer[start - 1]))
        start--;
    int end = cursorIndex;
    while (end < buffer.Length() && IsWordCharWide(buffer[end]))
        end++;
    block = {CursorLine(), start, CursorLine(), end, 0, 1};
    cursorIndex = start;
    cursorX = EditorDisplayWidth(buffer.Data(), start) - scroll;
    lastEvent.shiftState = 0;
}

Estring QVEditor::BlockToText(const TEditorBlock& region, int32_t& lineCount) {
    StoreBuffer();
    Westring text;
    lineCount = 0;
    for (int line = region.startLine; line <= region.endLine && line < lines.Count(); line++) {
        const Westring whole = lines.At(line)->Text();
        int from = line == region.startLine ? region.startIndex : 0;
        int to = line == region.endLine ? region.endIndex : whole.Length();
        if (to > whole.Length())
            to = whole.Length();
        if (from > to)
            from = to;
        if (line > region.startLine)
            text += Westring(U"\r\n");
        text += TextPiece(whole, from, to);
        lineCount++;
    }
    if (lineCount == 0)
        lineCount = 1;
    Estring bytes;
    text.ToUtf8(bytes);
    return bytes;
}
