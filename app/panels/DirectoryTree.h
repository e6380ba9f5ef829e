// The directory trees: the tree chooser, the tree view of a panel, expanding
// and collapsing its branches, and the directory-size command.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// The tree chooser for a panel; 0 and the chosen directory when one was
// chosen.
int DirectoryTreeDialog(CPanel* panel, Westring& chosen);
// Sizes of the tagged directories, or of the cursor directory.
void ComputeDirectorySizes(CPanel* panel);
// Fills a panel in tree style with the tree of the other panel's drive.
void ShowPanelTree(CPanel* panel);
// Tree view: expands (or collapses) the directory under the cursor, or with
// `whole` its whole subtree.
void ExpandTreeBranch(CPanel* panel, bool expand, bool whole);
// Tree view: the directory of the line under the cursor.
Westring TreeCursorDirectory(CPanel* panel);
