// Changing a panel's directory: into a subdirectory, up to the parent, or a
// re-read in place, with the directory history, the previous directory and
// the process's current directory kept in step.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// Changes the directory of panels[side]. `target` is a name relative to the
// panel's directory, ".." for the parent, or empty to re-read in place. Tags
// go unless keepTags is set. A non-negative topIndex puts the view (and the
// cursor row) there afterwards.
void ChangePanelDirectory(CPanel* panels, int side, const Westring& target, bool keepTags, int topIndex, int cursorRow);

// Goes to the parent directory (nothing at a root) with the cursor on the
// directory just left, or where it stood when the panel last left the parent.
void PanelGoToParent(CPanel* panel);
