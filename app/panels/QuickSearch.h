// The panel quick search: typed letters move the cursor to the first entry
// whose name begins with them, without regard to case.
//
// The text lives in the panel's searchText. Without "StickyAlt" each call
// handles one letter and the main loop calls again for the next; with it the
// search keeps reading keys (Alt+Down and Alt+Up step through the matches,
// Backspace takes a letter back, Shift+Tab completes the common beginning)
// until another key ends it, which is handed back to the caller.
#pragma once

#include "base/strings/Westring.h"
#include "console/InputEvent.h"

class CPanel;

// Starts or continues the search with the character c (0 for none: step to
// the next (+1) or previous (-1) match; step 0 counts as +1). True when the
// caller is to act on the key handed back in `key` (and `inputEvent`, when
// given); false when there is nothing for it to do.
bool QuickSearch(int c, CPanel* panel, int& key, TInputEvent* inputEvent, int step);
// Extends searchText to the longest beginning that the cursor entry shares
// with every entry that begins with the text (spelled as in the cursor entry).
void QuickSearchComplete(CPanel* panel);
// One search over the entries, as QuickSearch makes it for each key: drops a
// text the cursor entry no longer begins with, appends c when it is above 0,
// and moves the cursor to the match; a character that leads nowhere is taken
// back. A character (or SearchAgain) searches from the cursor entry on and
// round once; c 0 steps from the entry after (+1) or before (-1) the cursor
// to the end of the list. True when a match was found.
const int SearchAgain = -1;
bool QuickSearchFind(CPanel* panel, int c, int step);
