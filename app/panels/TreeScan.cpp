// CTree::Rescan: the tree rebuilt from the disk.
#include <cstdio>
#include <vector>

#include "app/panels/PanelTree.h"
#include "app/panels/Tree.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/io/DirScanner.h"
#include "ui/EscapePoll.h"
#include "ui/Win.h"

bool CTree::Rescan() {
    DeleteRoot();
    MakeBareRoot();
    root->size = -1;
    const uint8_t colour = ColourOf(ColourMessages);
    Win box(-1, -2, 24, 4, colour, colour, Config.Shadows ? 0 : 1);
    box.WriteCentred(0, "Scanning directories", colour);
    unsigned counter = 1;
    // Depth first, newest branch first: the nodes still to be read.
    std::vector<TREENODE*> pending;
    pending.push_back(root);
    const DWORD mask = CDirScanner::ScanDirectoriesOnly | CDirScanner::ScanEverything | CDirScanner::ScanNoVirtualRoots;
    while (!pending.empty()) {
        if (PollEscapeKey()) {
            pending.clear();
            DeleteRoot();
            RefillTreeViews(this);
            return false;
        }
        char text[16];
        snprintf(text, sizeof text, "%u", counter);
        box.GotoXY(0, 1);
        box.ClearToEolDefault();
        box.WriteCentred(1, text, colour);
        TREENODE* node = pending.back();
        pending.pop_back();
        CDirScanner scanner(AddTrailingBackslash(NodePath(node)));
        entry* item = nullptr;
        if (scanner.FindFirst(Westring("*"), mask, &item) != 0)
            continue;
        TREENODE* last = nullptr;
        do {
            if (!item || !IsDirectoryNotReparse(item) || Str32Compare(item->name, U".") == 0 ||
                Str32Compare(item->name, U"..") == 0)
                continue;
            TREENODE* child = new TREENODE;
            child->name = Westring(item->name);
            child->parent = node;
            child->depth = node->depth + 1;
            // Children keep the order of the listing.
            if (last)
                last->nextSibling = child;
            else
                node->firstChild = child;
            last = child;
            pending.push_back(child);
            counter++;
        } while (scanner.FindNext(&item) == 0);
    }
    loaded = 1;
    Save();
    RefillTreeViews(this);
    return true;
}
