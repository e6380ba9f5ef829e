#include "ui/Clipboard.h"

#include "console/Console.h"

void PutClipboardLines(const WestringStore& lines) {
    Westring text;
    for (int i = 0; i < lines.Count(); i++) {
        if (i > 0) {
            text += Westring(U"\r\n");
        }
        text += *lines.At(i);
    }
    Console->SetClipboardText(text);
}

namespace {

Westring Piece(const Westring& text, int from, int to) {
    Westring piece;
    piece.Assign(text.Data() + from, to - from);
    return piece;
}

}  // namespace

void SplitTextIntoLines(const Westring& text, WestringStore& lines) {
    lines.FreeAll();
    int start = 0;
    for (;;) {
        int end = text.FindFrom(Westring(U"\n"), start);
        if (end < 0) {
            lines.Add(new Westring(Piece(text, start, text.Length())));
            return;
        }
        int cut = end > start && text[end - 1] == '\r' ? end - 1 : end;
        lines.Add(new Westring(Piece(text, start, cut)));
        start = end + 1;
    }
}

int GetClipboardLines(WestringStore& lines) {
    Westring text;
    if (Console->GetClipboardText(text)) {
        SplitTextIntoLines(text, lines);
    }
    return 0;
}
