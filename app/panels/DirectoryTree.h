// The tree chooser: the full-screen " Directory Tree " in which the user
// walks a drive's tree, searches it by typing and picks a directory.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// The chooser's modes: the change-directory command (Alt+F10) and the
// target pickers of the copy and move dialogs (F10).
enum { TreeChooserGoTo = 0, TreeChooserPicker = 'F' };

// Runs the chooser over the tree of the panel's drive. 0, with the chosen
// directory's full path in `path`, or -1 when left with Esc or when the tree
// cannot be made. In picker mode the lines are the wider chooser lines and
// the hint "Ctrl-Enter for next match" is shown.
int DirectoryTreeDialog(CPanel* panel, Westring& path, int mode);
