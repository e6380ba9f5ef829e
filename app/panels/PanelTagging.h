// Tagging panel entries in bulk: all at once, or those that match a file-mask
// expression typed in the select and unselect dialog.
//
// The files a directory keeps for the system ("descript.ion" and the like) are
// passed over when tags are set in bulk, so that an operation on everything
// tagged leaves them alone; untagging reaches them. ".." is never tagged.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// "descript.ion", "EA DATA. SF" or "WP ROOT. SF", without regard to case.
bool IsSystemMetadataFile(const Westring& name);
bool IsSystemMetadataFile(const char32_t* name);

// Whether bulk tagging takes directories: always when untagging (mode -1),
// else when the "TagDirs" setting differs from the Shift bit of the key.
bool BulkTagIncludesDirectories(int mode, int shiftState);

// Tags (1), untags (-1) or toggles (0) every eligible entry of a panel that is
// on and has entries.
void TagAllEntries(CPanel* panel, int mode, int shiftState);
// Tags or untags the entries that match the mask (evaluated against each
// entry in the panel's directory); directories only when includeDirectories
// is set. A mask with an error matches nothing.
void TagEntriesByMask(const Westring& mask, CPanel* panel, int mode, bool includeDirectories);
// The "Select" (mode 1) or "Unselect" (mode -1) dialog, then TagEntriesByMask
// with the accepted mask.
void SelectByMaskDialog(CPanel* panel, int mode, int shiftState);

// The mask the dialog offers: the last one accepted during the run, "*" at
// first.
extern Westring LastSelectMask;
