// The panels' directory trees: the tree view's lines, the tree brought in
// line with what a panel read, and the changes the file operations make.
//
// A tree-view panel shows the tree of the OTHER panel's drive. Its lines are
// entries that point at the tree's nodes, so whenever nodes go away the view
// is refilled before it is drawn again (RefillTreeViews).
#pragma once

#include "app/panels/Tree.h"
#include "base/io/Entry.h"
#include "base/strings/Westring.h"

class CPanel;

// A directory that is not a reparse point (links are never descended).
bool IsDirectoryNotReparse(const entry* item);

// Frees the panel's entries and makes one line for every shown node, from
// the root down.
void FlattenTree(CPanel* panel, CTree* tree);
// Shows the tree in the panel with the node's line marked and under the
// cursor (its ancestors are expanded), for a list of `height` rows.
void ShowTreeInPanel(CPanel* panel, CTree* tree, TREENODE* node, int height);
// The full path of the node of a tree-view line; empty for no such line.
Westring GetTreeLinePath(const CPanel* panel, int line);
// Brings the tree's children of the panel's directory in line with the
// subdirectories it has just read; true (the tree saved) when that changed
// anything.
bool SyncTreeWithPanel(CPanel* panel);
// After a directory was moved from oldPath to newPath: its node follows it in
// the tree of the panel of that side (of the other side when that one shows
// the tree view).
void RenameTreeNode(const Westring& oldPath, const Westring& newPath, int panelIndex);
// A node for a directory made below parentPath, appended as the last child
// of the parent's node (the tree is marked changed); null when the panel has
// no tree or the parent no node. A child of that exact name already there is
// returned as it is.
TREENODE* AddPanelTreeChild(CPanel* panel, const Westring& parentPath, const Westring& name);

// Fills a tree-view panel with the tree of the other panel's drive (getting
// and scanning that tree when the other panel has none, rescanning it when
// the panel's rescan flag asks for it).
void ShowPanelTree(CPanel* panel);
// Tree view: expands (or collapses) the node under the cursor, or with
// `whole` its whole subtree, and rebuilds and redraws the lines.
void ExpandTreeBranch(CPanel* panel, bool expand, bool whole);
// Refills every tree-view panel that shows this tree (after nodes went
// away), and redraws it when it is visible.
void RefillTreeViews(const CTree* tree);
// The tree a tree-view panel shows: the other panel's.
CTree* TreeShownBy(const CPanel* panel);
// The panel of the pair opposite this one when it shows the tree view; null
// otherwise (also for a panel outside the pair, such as the chooser's).
CPanel* OppositeTreeView(const CPanel* panel);
