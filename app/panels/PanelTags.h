// Tagging single panel entries, as the keys, the mouse and the file
// operations do it, with the panel's tagged count and bytes kept in step.
#pragma once

#include "base/io/Entry.h"

class CPanel;

// mode 1 tags, -1 untags, 0 toggles one entry; nothing for a panel that does
// not show files, a tree view, or "..". Returns the signed change of the
// tagged count.
int PanelSetEntryTag(CPanel* panel, entry* item, int mode);
// The same by index, redrawing the entry's line when it is in view.
void PanelTagEntry(CPanel* panel, int index, int mode);
// Tags again every entry an operation processed (the previous selection),
// then redraws the panel.
void PanelApplyTagChanges(CPanel* panel);
