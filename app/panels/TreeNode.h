// TREENODE: one directory in a drive's directory tree, and the walks over
// nodes that need no tree around them.
//
// Nodes form a first-child / next-sibling tree. A node owns its children and
// the sibling chains below it. Sibling chains can be very long (a directory
// with 100,000 subdirectories), so every walk along one is a loop; only the
// descent into children recurses, and depth is bounded by the paths a system
// can hold.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

struct TREENODE {
    Westring name;          // the directory's own name; a root is "X:" or "\\"
    TREENODE* nextSibling;  // null when last
    TREENODE* firstChild;   // null when none
    TREENODE* parent;       // null for a root
    uint32_t depth;         // 0 for a root, the parent's + 1 otherwise
    int64_t size;           // bytes of the files below it, -1 while unknown
    uint8_t expanded;       // shown with its children in a tree view

    // An empty name, no links, depth 0, size -1, expanded as "ExpandedTrees" says.
    TREENODE();
    // Deletes the children and their subtrees.
    ~TREENODE();
    TREENODE(const TREENODE&) = delete;
    TREENODE& operator=(const TREENODE&) = delete;

    // Links node in as parent's first child (the old first child follows it),
    // at the parent's depth + 1.
    static void AddChild(TREENODE* parent, TREENODE* node);
    // Links node in as parent's last child, at the parent's depth + 1.
    static void AppendChild(TREENODE* parent, TREENODE* node);
    // Takes the node out of its parent's child list (nothing for a root);
    // its own subtree stays with it.
    void Unlink();
    // Sets the depth of every node below this one from this node's depth.
    void RecomputeDepths();
    // True when this node is `other` or lies below it.
    bool IsWithin(const TREENODE* other) const;
    // The next node in depth-first pre-order below `root` (null at the end).
    TREENODE* NextInPreOrder(const TREENODE* root) const;
};

// Sets the expanded flag of the node and of every node below it; roots stay
// expanded.
void SetExpandedRecursive(TREENODE* node, bool expanded);

// The first node at or after `current` in depth-first order whose name begins
// with text (without regard to case), else the first such node from the root
// on, else null.
TREENODE* FindNextNodeByPrefix(TREENODE* root, TREENODE* current, const Westring& text);
