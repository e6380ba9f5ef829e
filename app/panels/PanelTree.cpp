#include "app/panels/PanelTree.h"

#include <vector>

#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/TreeSet.h"
#include "app/settings/Config.h"
#include "base/os/PathNormalizer.h"
#include "platform/win32.h"

namespace {

// Lines of a sibling chain and, for expanded nodes, of their children. The
// mask carries, for each level above, whether its branch continues below.
void FlattenLevel(CPanel* panel, TREENODE* first, uint32_t parentMask) {
    for (TREENODE* node = first; node; node = node->nextSibling) {
        uint32_t mask = parentMask;
        // The drawing reads the branch of a line's own level from bit depth - 1.
        if (node->depth > 0 && node->nextSibling)
            mask |= uint32_t(1) << ((node->depth - 1) % 32);
        entry* line = entry::Allocate(node->name.Length());
        if (!line)
            return;
        Mem32Copy(line->name, node->name.Data(), node->name.Length() + 1);
        line->attributes = FILE_ATTRIBUTE_DIRECTORY;
        line->size = mask;
        line->sizeFromTree = uint8_t(node->depth > 255 ? 255 : node->depth);
        line->matchOffset = -1;
        line->treeNode = node;
        line->sortClass = SORTCLASS_DIRECTORY;
        if (!AppendEntry(panel, line))
            return;
        if (node->expanded && node->depth < CTree::MaxFileDepth && node->firstChild)
            FlattenLevel(panel, node->firstChild, mask);
    }
}

// Keeps the cursor within the lines after a refill.
void ClampCursor(CPanel* panel) {
    if (panel->entryCount == 0) {
        panel->topIndex = 0;
        panel->cursorRow = 0;
        return;
    }
    if (panel->topIndex >= panel->entryCount || panel->topIndex < 0)
        panel->topIndex = 0;
    if (panel->cursorRow < 0)
        panel->cursorRow = 0;
    if (panel->topIndex + panel->cursorRow >= panel->entryCount)
        panel->cursorRow = panel->entryCount - panel->topIndex - 1;
}

bool ShowsTreeView(const CPanel* panel) {
    return panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE;
}

// A name's place among sorted (without case) names: exact spelling first,
// then any spelling, each taken once.
int TakeName(const FnStringCollection& names, std::vector<bool>& taken, const Westring& name) {
    int low = 0, high = names.Count() - 1, hit = -1;
    while (low <= high) {
        int middle = (low + high) / 2;
        int order = Str32CompareNoCase(names.At(middle)->Data(), name.Data());
        if (order == 0) {
            hit = middle;
            break;
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    if (hit < 0)
        return -1;
    int first = hit, last = hit;
    while (first > 0 && Str32CompareNoCase(names.At(first - 1)->Data(), name.Data()) == 0)
        first--;
    while (last + 1 < names.Count() && Str32CompareNoCase(names.At(last + 1)->Data(), name.Data()) == 0)
        last++;
    for (int i = first; i <= last; i++)
        if (!taken[size_t(i)] && names.At(i)->EqualsExact(name))
            return taken[size_t(i)] = true, i;
    for (int i = first; i <= last; i++)
        if (!taken[size_t(i)])
            return taken[size_t(i)] = true, i;
    return -1;
}

Westring FullPath(const Westring& path) {
    Westring full = path;
    NormalizePath(full);
    return full;
}

// The parent part of a full path and its last component.
void SplitLast(const Westring& path, Westring& parent, Westring& name) {
    Westring trimmed = RemoveTrailingBackslash(path);
    int slash = trimmed.FindLast('\\');
    parent = slash >= 0 ? trimmed.Left(slash) : Westring();
    if (parent.Length() == 2 && parent[1] == ':')
        parent += '\\';
    name = slash >= 0 ? trimmed.Mid(slash + 1, trimmed.Length() - slash - 1) : trimmed;
}

}  // namespace

bool IsDirectoryNotReparse(const entry* item) {
    return (item->attributes & FILE_ATTRIBUTE_DIRECTORY) && !(item->attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void FlattenTree(CPanel* panel, CTree* tree) {
    panel->FreeEntries();
    if (tree && tree->root)
        FlattenLevel(panel, tree->root, 0);
}

void ShowTreeInPanel(CPanel* panel, CTree* tree, TREENODE* node, int height) {
    if (!tree)
        return;
    if (node)
        for (TREENODE* up = node->parent; up; up = up->parent)
            up->expanded = 1;
    FlattenTree(panel, tree);
    int line = -1;
    for (int i = 0; i < panel->entryCount && node; i++)
        if (panel->entries[i]->treeNode == node) {
            line = i;
            break;
        }
    if (line < 0) {
        ClampCursor(panel);
        return;
    }
    panel->entries[line]->tagged = 1;
    if (height < 1)
        height = 1;
    if (line < height / 2 || panel->entryCount <= height) {
        panel->topIndex = 0;
        panel->cursorRow = line;
        return;
    }
    int row = height / 2 - 1;
    if (row < 0)
        row = 0;
    int top = line - row;
    int empty = top + height - panel->entryCount;
    if (empty > 0) {
        top -= empty;
        row += empty;
    }
    panel->topIndex = top;
    panel->cursorRow = row;
}

Westring GetTreeLinePath(const CPanel* panel, int line) {
    if (line < 0 || line >= panel->entryCount || !panel->entries[line]->treeNode)
        return Westring();
    return CTree::NodePath(panel->entries[line]->treeNode);
}

CTree* TreeShownBy(const CPanel* panel) {
    return OtherPanel(panel)->tree;
}

CPanel* OppositeTreeView(const CPanel* panel) {
    if (!Panels || (panel != &Panels[0] && panel != &Panels[1]))
        return nullptr;
    CPanel* other = OtherPanel(panel);
    return ShowsTreeView(other) ? other : nullptr;
}

void RefillTreeViews(const CTree* tree) {
    if (!Panels)
        return;
    for (int side = 0; side < 2; side++) {
        CPanel* panel = &Panels[side];
        if (!ShowsTreeView(panel) || (tree && TreeShownBy(panel) != tree))
            continue;
        FlattenTree(panel, TreeShownBy(panel));
        ClampCursor(panel);
        if (IsPanelVisible(panel))
            RedrawPanel(panel);
    }
}

bool SyncTreeWithPanel(CPanel* panel) {
    if (panel->archive || panel->panelType == PANEL_INFO || ShowsTreeView(panel) || !panel->tree)
        return false;
    CTree* tree = panel->tree;
    TREENODE* directory = tree->FindNode(Westring(panel->path), true);
    if (!directory)
        return false;
    const FnStringCollection& names = panel->subdirectoryNames;
    std::vector<bool> taken(size_t(names.Count()), false);
    bool removed = false, added = false;
    TREENODE** link = &directory->firstChild;
    while (*link) {
        TREENODE* child = *link;
        if (TakeName(names, taken, child->name) >= 0) {
            link = &child->nextSibling;
            continue;
        }
        *link = child->nextSibling;
        delete child;
        removed = true;
    }
    for (int i = 0; i < names.Count(); i++) {
        if (taken[size_t(i)])
            continue;
        TREENODE* node = new TREENODE;
        node->name = *names.At(i);
        TREENODE::AddChild(directory, node);
        added = true;
    }
    if (removed)
        RefillTreeViews(tree);
    if (!removed && !added)
        return false;
    SavePanelTree(panel);
    return true;
}

void RenameTreeNode(const Westring& oldPath, const Westring& newPath, int panelIndex) {
    if (!Panels || panelIndex < 0 || panelIndex > 1)
        return;
    CPanel* panel = &Panels[panelIndex];
    if (ShowsTreeView(panel))
        panel = OtherPanel(panel);
    CTree* tree = panel->tree;
    if (!tree || !tree->root)
        return;
    Westring from = RemoveTrailingBackslash(FullPath(oldPath));
    Westring to = RemoveTrailingBackslash(FullPath(newPath));
    TREENODE* node = tree->FindNode(from, false);
    if (!node || !node->parent || to.EqualsExact(from))
        return;
    // A directory cannot move into itself; such a path changes nothing.
    if (to.Length() > from.Length() && to[from.Length()] == '\\' &&
        Str32CompareNoCaseN(to.Data(), from.Data(), from.Length()) == 0)
        return;
    Westring parentPath, name;
    SplitLast(to, parentPath, name);
    TREENODE* target = tree->FindNode(to, false);
    TREENODE* newParent = parentPath.IsEmpty() ? nullptr : tree->FindNode(parentPath, false);
    node->Unlink();
    if (target || !newParent || name.IsEmpty()) {
        // The tree cannot show the directory at its new place: the node goes,
        // and the next read of that place brings the directory back.
        delete node;
        RefillTreeViews(tree);
    } else {
        node->name = name;
        TREENODE::AddChild(newParent, node);
        node->RecomputeDepths();
        RefillTreeViews(tree);
    }
    tree->changed = 1;
}

TREENODE* AddPanelTreeChild(CPanel* panel, const Westring& parentPath, const Westring& name) {
    if (!panel || !panel->tree)
        return nullptr;
    TREENODE* parent = panel->tree->FindNode(parentPath, false);
    if (!parent)
        return nullptr;
    for (TREENODE* child = parent->firstChild; child; child = child->nextSibling)
        if (child->name.EqualsExact(name))
            return child;
    TREENODE* node = new TREENODE;
    node->name = name;
    TREENODE::AppendChild(parent, node);
    panel->tree->changed = 1;
    return node;
}

void ShowPanelTree(CPanel* panel) {
    CPanel* other = OtherPanel(panel);
    if (!other->tree) {
        SetPanelTree(&other->tree, TreeSet.GetPanelTree(other));
        other->tree->Rescan();
    } else if (panel->treeRescan && !other->tree->isPrivate) {
        other->tree->Rescan();
    }
    panel->treeRescan = 0;
    CTree* tree = other->tree;
    // A stopped rescan leaves no root; the view needs one.
    if (!tree->root)
        tree->Load();
    FlattenTree(panel, tree);
    ClampCursor(panel);
    if (!tree->loaded && !tree->isPrivate) {
        tree->loaded = 1;
        tree->Save();
    }
}

void ExpandTreeBranch(CPanel* panel, bool expand, bool whole) {
    entry* current = panel->CursorEntry();
    if (!current || !current->treeNode)
        return;
    TREENODE* node = current->treeNode;
    if (whole)
        SetExpandedRecursive(node, expand);
    else
        node->expanded = expand || node->depth == 0 ? 1 : 0;
    FlattenTree(panel, TreeShownBy(panel));
    ClampCursor(panel);
    if (IsPanelVisible(panel))
        RedrawPanel(panel);
}
