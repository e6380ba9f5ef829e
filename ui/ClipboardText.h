// The clipboard as one line of text, for the command line and the fields
// that take a single line.
#pragma once

#include "base/strings/Westring.h"

// Replaces the clipboard's lines by the one text.
void PutClipboardText(const Westring& text);
// The clipboard's lines from the first non-empty one to the last non-empty
// one, joined by one blank each; empty when no line holds text.
Westring GetClipboardAsLine();
