#include "viewedit/EditorClipboard.h"

#include "ui/Clipboard.h"

WestringStore EditorClipboard;

void CopyBlockToClipboard(QVEditorLineStore& lines, const TEditorBlock& region, WestringStore& store) {
    store.FreeAll();
    for (int line = region.startLine; line <= region.endLine && line < lines.Count(); line++) {
        QVEditorLine* record = lines.At(line);
        Westring text(record->Text());
        int from = line == region.startLine ? region.startIndex : 0;
        int to = line == region.endLine ? region.endIndex : text.Length();
        if (to > text.Length())
            to = text.Length();
        if (from > to)
            from = to;
        Westring piece = TextPiece(text, from, to);
        if (line < region.endLine && record->trim)
            piece = piece.TrimRight();
        store.Add(new Westring(piece));
    }
    PutClipboardLines(store);
}

void AppendBlockToClipboard(QVEditorLineStore& lines, const TEditorBlock& region, WestringStore& store) {
    store.FreeAll();
    GetClipboardLines(store);
    if (store.Count() == 0) {
        CopyBlockToClipboard(lines, region, store);
        return;
    }
    bool first = true;
    for (int line = region.startLine; line <= region.endLine && line < lines.Count(); line++) {
        QVEditorLine* record = lines.At(line);
        Westring text(record->Text());
        int from = line == region.startLine ? region.startIndex : 0;
        int to = line == region.endLine ? region.endIndex : text.Length();
        if (to > text.Length())
            to = text.Length();
        if (from > to)
            from = to;
        Westring piece = TextPiece(text, from, to);
        // Only trailing blanks go: the appended lines keep their indentation.
        if (line < region.endLine && record->trim)
            piece = piece.TrimRight();
        if (first)
            *store.At(store.Count() - 1) += piece;
        else
            store.Add(new Westring(piece));
        first = false;
    }
    PutClipboardLines(store);
}

