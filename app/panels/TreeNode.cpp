#include "app/panels/TreeNode.h"

#include "app/settings/Config.h"

TREENODE::TREENODE()
    : nextSibling(nullptr), firstChild(nullptr), parent(nullptr), depth(0), size(-1),
      expanded(Config.ExpandedTrees ? 1 : 0) {}

TREENODE::~TREENODE() {
    TREENODE* child = firstChild;
    while (child) {
        TREENODE* next = child->nextSibling;
        delete child;
        child = next;
    }
}

void TREENODE::AddChild(TREENODE* parent, TREENODE* node) {
    node->parent = parent;
    node->depth = parent->depth + 1;
    node->nextSibling = parent->firstChild;
    parent->firstChild = node;
}

void TREENODE::AppendChild(TREENODE* parent, TREENODE* node) {
    node->parent = parent;
    node->depth = parent->depth + 1;
    node->nextSibling = nullptr;
    TREENODE** link = &parent->firstChild;
    while (*link)
        link = &(*link)->nextSibling;
    *link = node;
}

void TREENODE::Unlink() {
    if (!parent)
        return;
    TREENODE** link = &parent->firstChild;
    while (*link && *link != this)
        link = &(*link)->nextSibling;
    if (*link)
        *link = nextSibling;
    nextSibling = nullptr;
    parent = nullptr;
}

void TREENODE::RecomputeDepths() {
    for (TREENODE* child = firstChild; child; child = child->nextSibling) {
        child->depth = depth + 1;
        child->RecomputeDepths();
    }
}

bool TREENODE::IsWithin(const TREENODE* other) const {
    for (const TREENODE* node = this; node; node = node->parent)
        if (node == other)
            return true;
    return false;
}

TREENODE* TREENODE::NextInPreOrder(const TREENODE* root) const {
    if (firstChild)
        return firstChild;
    for (const TREENODE* node = this; node && node != root; node = node->parent)
        if (node->nextSibling)
            return node->nextSibling;
    return nullptr;
}

void SetExpandedRecursive(TREENODE* node, bool expanded) {
    if (!node)
        return;
    node->expanded = expanded || node->depth == 0 ? 1 : 0;
    for (TREENODE* child = node->firstChild; child; child = child->nextSibling)
        SetExpandedRecursive(child, expanded);
}

namespace {

bool BeginsWith(const TREENODE* node, const Westring& text) {
    return node->name.Length() >= text.Length() &&
           Str32CompareNoCaseN(node->name.Data(), text.Data(), text.Length()) == 0;
}

}  // namespace

TREENODE* FindNextNodeByPrefix(TREENODE* root, TREENODE* current, const Westring& text) {
    if (!root)
        return nullptr;
    for (TREENODE* node = current; node; node = node->NextInPreOrder(nullptr))
        if (BeginsWith(node, text))
            return node;
    for (TREENODE* node = root; node && node != current; node = node->NextInPreOrder(nullptr))
        if (BeginsWith(node, text))
            return node;
    return nullptr;
}
