// The host's clipboard as a list of lines: the editor, the viewer, the input
// fields and the file operations put lines on it and take lines from it, while
// the host keeps one text of 32-bit characters.
#pragma once

#include "base/strings/StringStore.h"

// Joins the lines with CR LF between them (none after the last) and puts the
// text on the clipboard; an empty list puts an empty text.
void PutClipboardLines(const WestringStore& lines);
// When the host has text, replaces the lines with it split at each LF (a CR
// before the LF dropped, empty lines kept, the text after the last LF as the
// last line); otherwise leaves them as they were. Returns 0.
int GetClipboardLines(WestringStore& lines);
// The one line splitter of the system (clipboard, editor undo records): the
// lines (emptied first) of a text, cut at every LF, a CR right before it
// dropped, n line feeds giving n + 1 lines.
void SplitTextIntoLines(const Westring& text, WestringStore& lines);
