// Ctrl+C: names and extensions of the cursor entry or the tagged entries to
// lower, upper or mixed case, optionally down their directory trees.
#pragma once

#include "base/strings/Westring.h"

// The text in a case mode: 'l' lower, 'u' upper, 'm' mixed (word starts
// upper case), anything else unchanged.
Westring ConvertNameCase(const Westring& text, char mode);

// The name with its base (up to the last ".") in one mode and its extension
// (the dot and what follows) in the other; a name without a dot is all base.
Westring ConvertFileNameCase(const Westring& name, char nameMode, char extensionMode);

// Renames one entry of a directory to its new case when the settings
// ("CaseModDirs", "CaseModFiles") let it be changed, and with
// "CaseModRecurse" goes on through a directory's contents (a link is renamed
// itself, never entered). 0 done, 1 stopped by Esc, -1 cancelled.
int ChangeCaseOfEntry(const Westring& directory, const Westring& name, DWORD attributes, char nameMode,
                      char extensionMode);
