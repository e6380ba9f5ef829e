#include "app/panels/TreeSet.h"

#include "app/panels/Panel.h"

CTreeSet TreeSet;

CTreeSet::CTreeSet() {
    // A new tree never meets an equal key (GetTree looks first), but trees
    // added from outside may: each keeps its own place.
    allowDuplicates = true;
}

CTreeSet::~CTreeSet() {
    FreeAll();
}

int CTreeSet::CompareKeys(const TTreeKey* key1, const TTreeKey* key2) {
    if (key1->volumeSerial != 0 && key2->volumeSerial != 0) {
        if (key1->volumeSerial == key2->volumeSerial)
            return 0;
        return key1->volumeSerial < key2->volumeSerial ? -1 : 1;
    }
    return int(uint8_t(key1->driveLetter)) - int(uint8_t(key2->driveLetter));
}

CTree* CTreeSet::GetTree(char driveLetter, uint32_t volumeSerial) {
    TTreeKey key{driveLetter, volumeSerial};
    CTree* found = nullptr;
    for (int i = 0; i < Count() && !found; i++)
        if (CompareKeys(At(i)->Key(), &key) == 0)
            found = At(i);
    if (!found) {
        found = new CTree;
        found->SetKey(driveLetter, volumeSerial);
        Add(found);
    }
    if (!found->root)
        found->Load();
    return found;
}

CTree* CTreeSet::GetPanelTree(const CPanel* panel) {
    return GetTree(char(panel->path[0]), panel->volumeSerial);
}

void CTreeSet::Add(CTree* tree) {
    tree->isPrivate = 0;
    Insert(tree);
}

void SetPanelTree(CTree** slot, CTree* tree) {
    if (*slot && *slot != tree && (*slot)->isPrivate)
        delete *slot;
    *slot = tree;
}

void InitPanelTree(CTree** slot) {
    *slot = nullptr;
}
