// The delete commands of the panels: F8 on the cursor entry or the tagged
// entries, and Shift+F8 on a typed name. The removal itself is the delete
// workers' (DeleteWorkers.h).
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// Deletes inside the archive a panel shows; installed by the archive layer.
// Null: such a panel says deleting there is not available.
extern void (*DeleteFromArchiveHook)(CPanel* panel);

// Takes a removed directory's node out of the panels' directory trees (an
// exact match of the name: a sibling differing in case is another
// directory). What the program installs as DirectoryRemovedHook.
void ForgetDirectoryInPanelTrees(const Westring& path);

// Deletes the tagged entries, or the cursor entry when none is tagged,
// without asking first.
void DeletePanelEntries(CPanel* panel);

// The line the delete question shows for a number of tagged entries.
Westring TaggedDeleteLine(int count);
