// Arbitrary bytes read as a tree data file. The tree's serial is taken from
// the bytes themselves so that most inputs get past the header. Afterwards the
// tree must have a root, every link must lead back to it without a loop, and
// sorting, a look-up and the tree view's lines must work on what was read.
#include "app/panels/Panel.h"
#include "app/panels/PanelTree.h"
#include "app/panels/Tree.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTree tree;
    uint32_t serial = 0;
    for (size_t i = 0; i < 4 && i < size; i++) {
        serial |= uint32_t(data[i]) << (8 * i);
    }
    tree.SetKey('C', serial);
    tree.LoadBytes(data, size);
    if (!tree.root || tree.root->parent || tree.root->depth != 0) {
        __builtin_trap();
    }
    size_t nodes = 0;
    for (TREENODE* node = tree.root; node; node = node->NextInPreOrder(nullptr)) {
        // Each record makes at most one node: more nodes than bytes is a loop.
        if (++nodes > size + 1) {
            __builtin_trap();
        }
        for (TREENODE* child = node->firstChild; child; child = child->nextSibling) {
            if (child->parent != node || child->depth <= node->depth) {
                __builtin_trap();
            }
        }
    }
    tree.SortAll();
    Westring path;
    tree.FindDirectoryByName(Westring("a"), path, true);
    tree.FindNode(Westring("C:\\a\\b"), true);
    static CPanel* panel = new CPanel;
    FlattenTree(panel, &tree);
    for (int i = 0; i < panel->entryCount; i++) {
        GetTreeLinePath(panel, i);
    }
    panel->FreeEntries();
    return 0;
}
