// The help viewer: F1 anywhere shows a section of the help text in a large
// framed window that scrolls with the keys and the mouse, searches with F7
// (Shift+F7 again), opens the index with F1 and closes with Esc.
#pragma once

#include "base/strings/StringStore.h"

// Shows the section (the end section when there is none); returns when the
// user leaves. Without a loaded help text it says "Help not loaded".
void ShowHelp(int id);

// Asks for the text (unless repeating a search that has one) and moves the
// top line to the first line from the top line (the one after it when
// repeating) that holds it, ignoring case. True when the top line moved or
// may have; false when the user cancelled or nothing was found ("String not
// found" shown).
bool SearchHelpText(const WestringStore& lines, int& topLine, bool again);
