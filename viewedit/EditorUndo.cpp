// Undo and redo: every editing key describes its change in one record (the
// stretch of text now present and the text it replaced); applying a record
// puts the old text back and yields the record that reverses that.
#include "viewedit/Editor.h"

void QVEditor::ResetUndoItem() {
    const int line = CursorLine();
    undoItem.text.Clear();
    undoItem.lineCount = 1;
    undoItem.cursorAfterIndex = undoItem.positionIndex = cursorIndex;
    undoItem.cursorAfterLine = undoItem.positionLine = line;
    undoItem.regionStartLine = undoItem.regionEndLine = line;
    undoItem.regionStartIndex = undoItem.regionEndIndex = cursorIndex;
    undoItem.cursorAtEnd = 0;
    undoItem.regionMarked = 1;
    undoItem.id = 0;
}

namespace {

// A full stack drops its oldest record on the next push. When the saved text
// was the state before that record (or that record itself), undo can never
// reach it again: the saved point is then lost rather than pointing at a
// state that now stands for different text.
void PushKeepingSavedPoint(TUndoStack& stack, const UndoItem& item, uint32_t& savedPoint) {
    if (stack.Count() >= TUndoStack::MaxRecords) {
        const UndoItem* oldest = stack.At(0);
        if (savedPoint == 0 || savedPoint == oldest->id)
            savedPoint = QVEditor::SavedPointLost;
    }
    stack.PushLimited(item);
}

}  // namespace

void QVEditor::PushUndo() {
    undoItem.id = NextUndoItemId();
    PushKeepingSavedPoint(undoStack, undoItem, savedPoint);
    redoStack.FreeAll();
    ShiftBookmarks(undoItem);
}

bool QVEditor::IsAtSavedPoint() const {
    const UndoItem* newest = undoStack.Newest();
    return savedPoint == (newest ? newest->id : 0);
}

void QVEditor::MarkSaved() {
    const UndoItem* newest = undoStack.Newest();
    savedPoint = newest ? newest->id : 0;
}

bool QVEditor::ApplyUndoItem(const UndoItem& record, UndoItem& opposite) {
    if (CursorLine() != record.positionLine || cursorIndex != record.positionIndex) {
        GotoPosition(record.positionIndex, record.positionLine);
        return false;
    }
    StoreBuffer();
    opposite.cursorAfterIndex = record.positionIndex;
    opposite.cursorAfterLine = record.positionLine;
    opposite.positionIndex = record.cursorAfterIndex;
    opposite.positionLine = record.cursorAfterLine;
    opposite.id = record.id;
    block.startLine = record.regionStartLine;
    block.startIndex = record.regionStartIndex;
    block.endLine = record.regionEndLine;
    block.endIndex = record.regionEndIndex;
    block.cursorAtEnd = record.cursorAtEnd;
    block.marked = record.regionMarked;
    opposite.cursorAtEnd = record.cursorAtEnd;
    opposite.text = BlockToText(block, opposite.lineCount);
    if (block.marked) {
        DeleteBlock();
    } else {
        GotoPosition(block.startIndex, block.startLine);
    }
    WestringStore inserted;
    SplitUtf8TextIntoLines(record.text.Data(), inserted);
    int line = CursorLine();
    int index = cursorIndex;
    opposite.regionStartLine = line;
    opposite.regionStartIndex = index;
    InsertLines(line, index, inserted);
    opposite.regionEndLine = line;
    opposite.regionEndIndex = index;
    opposite.regionMarked = 1;
    block.marked = 0;
    Refetch();
    CommitLine();
    GotoPosition(record.cursorAfterIndex, record.cursorAfterLine);
    ShiftBookmarks(opposite);
    redraw = 1;
    return true;
}

void QVEditor::Undo() {
    if (undoStack.Peek(undoItem) != 0)
        return;
    UndoItem opposite;
    if (ApplyUndoItem(undoItem, opposite)) {
        undoStack.Pop();
        redoStack.PushLimited(opposite);
    }
    modified = IsAtSavedPoint() ? 0 : 1;
}

void QVEditor::Redo() {
    lastEvent.shiftState = 0;
    if (redoStack.Peek(undoItem) != 0)
        return;
    UndoItem opposite;
    if (ApplyUndoItem(undoItem, opposite)) {
        redoStack.Pop();
        PushKeepingSavedPoint(undoStack, opposite, savedPoint);
    }
    modified = IsAtSavedPoint() ? 0 : 1;
}

void QVEditor::ShiftBookmarks(const UndoItem& record) {
    const int sL = record.regionStartLine, sI = record.regionStartIndex;
    const int eL = record.regionEndLine, eI = record.regionEndIndex;
    const int n = record.lineCount;
    int t = 0;
    {
        // Units of the text after its last line break.
        Westring text(record.text.Data());
        int lf = text.FindLast('\n');
        t = lf < 0 ? text.Length() : text.Length() - lf - 1;
    }
    for (TBookmark& mark : bookmarks) {
        if (mark.index < 0)
            continue;
        if (sL < mark.line) {
            mark.line += (eL - sL) - (n - 1);
        } else if (sL == mark.line && mark.index > sI) {
            mark.line = eL - (n - 1);
            mark.index += (eI - sI) - t;
        }
    }
}
