// The copy and move commands (F5, F6, Shift-F5, Shift-F6): the tagged entries
// of the active panel, or the entry under the cursor, go to a destination the
// user confirms in the copy dialog (by default the other panel's directory).
// The same command renames: a destination in the source's own directory moves
// the entry to a new name.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// Command flags.
enum {
    CopyCommandMove = 1,           // move instead of copy
    CopyCommandSameDirectory = 2,  // propose the entry's own name (rename, copy to a new name)
    CopyCommandDereference = 4
};

// Copies or moves from `source` to `destination` panel. A null target shows
// the dialog; a given one skips it (and the automatic skip). True when every
// item succeeded.
bool CopyMoveFiles(CPanel* source, CPanel* destinationPanel, int flags, const Westring* target);

// The destination path of one item: the source's name (or the part after its
// last backslash) under a destination directory, a new name, or the name a
// wildcard mask makes of it.
void BuildDestinationName(const Westring& sourceName, const Westring& destination, Westring& out);
