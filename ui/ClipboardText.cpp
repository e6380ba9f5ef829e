#include "ui/ClipboardText.h"

#include "base/strings/StringStore.h"
#include "ui/Clipboard.h"

void PutClipboardText(const Westring& text) {
    WestringStore lines;
    lines.Add(new Westring(text));
    PutClipboardLines(lines);
}

Westring GetClipboardAsLine() {
    WestringStore lines;
    GetClipboardLines(lines);
    int first = 0;
    int last = lines.Count() - 1;
    while (first <= last && lines.At(first)->IsEmpty()) {
        first++;
    }
    while (last >= first && lines.At(last)->IsEmpty()) {
        last--;
    }
    Westring joined;
    for (int i = first; i <= last; i++) {
        if (i > first) {
            joined += ' ';
        }
        joined += *lines.At(i);
    }
    return joined;
}
