#include "viewedit/EditorClipboard.h"

#include "ui/Clipboard.h"

WestringStore EditorClipboard;

namespace {

// The block's part of one line, trailing blanks dropped from a line the block
// runs past when the line is marked for trimming (indentation stays).
Westring BlockPieceOfLine(QVEditorLineStore& lines, const TEditorBlock& region, int line) {
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
    return piece;
}

}  // namespace

void CopyBlockToClipboard(QVEditorLineStore& lines, const TEditorBlock& region, WestringStore& store) {
    store.FreeAll();
    for (int line = region.startLine; line <= region.endLine && line < lines.Count(); line++)
        store.Add(new Westring(BlockPieceOfLine(lines, region, line)));
    PutClipboardLines(store);
}

void AppendBlockToClipboard(QVEditorLineStore& lines, const TEditorBlock& region, WestringStore& store) {
    store.FreeAll();
    GetClipboardLines(store);
    if (store.Count() == 0) {
        CopyBlockToClipboard(lines, region, store);
        return;
    }
    // The block's first line continues the clipboard's last one.
    for (int line = region.startLine; line <= region.endLine && line < lines.Count(); line++) {
        Westring piece = BlockPieceOfLine(lines, region, line);
        if (line == region.startLine)
            *store.At(store.Count() - 1) += piece;
        else
            store.Add(new Westring(piece));
    }
    PutClipboardLines(store);
}
