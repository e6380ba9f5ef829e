// CTreeSet: the directory trees met during a run, one per disk, and the
// panels' hold on them.
//
// A panel asks for the tree of its drive letter and volume serial number and
// gets the one the set holds, or a new one loaded from its tree data file.
// Two keys whose serials are both known match by serial alone (the same disk
// under another letter keeps its tree); otherwise they match by letter. That
// order is not transitive, so the set is searched item by item, never by
// bisection. Trees of the set live for the whole run; a private tree (an
// archive's folder tree) belongs to the one panel that holds it.
#pragma once

#include <cstdint>

#include "app/panels/Tree.h"
#include "base/containers/SortedCollection.h"

class CPanel;

class CTreeSet : public TSortedCollection<CTree, TTreeKey> {
public:
    CTreeSet();
    ~CTreeSet() override;

    // By serial when both are non-zero (unsigned), else by drive letter.
    int CompareKeys(const TTreeKey* key1, const TTreeKey* key2) override;
    // The tree of that key; a new one (shared, loaded from its file) when the
    // set has none. The result always has a root.
    CTree* GetTree(char driveLetter, uint32_t volumeSerial);
    // The tree of the panel's drive letter and volume serial number.
    CTree* GetPanelTree(const CPanel* panel);
    // Makes the tree shared and puts it into the set.
    void Add(CTree* tree);

protected:
    const TTreeKey* KeyOf(const CTree* tree) override { return tree->Key(); }
};

// The one tree set of the program.
extern CTreeSet TreeSet;

// Points a panel's tree pointer at a tree; a private tree it held before is
// deleted, a shared one stays in the set.
void SetPanelTree(CTree** slot, CTree* tree);
// A panel's tree pointer at construction: none.
void InitPanelTree(CTree** slot);
