// CPosStack: where the cursor stood in each directory a panel has left, so
// that coming back (to the parent, or by the directory history) puts the
// cursor where the user left it. One record per directory, keyed by the
// directory without regard to case; records are replaced, never pruned.
#pragma once

#include <cstdint>

#include "base/containers/SortedCollection.h"
#include "base/strings/Westring.h"

struct TPanelPosition {
    Westring directory;   // the key
    uint32_t topIndex;    // the panel's first visible entry when it left
    Westring cursorName;  // the entry under the cursor then
};

class CPosStack : public TSortedCollection<TPanelPosition, Westring> {
public:
    CPosStack() = default;
    // Deep copy: swapping panels exchanges their stores by value.
    CPosStack(const CPosStack& other);
    CPosStack& operator=(const CPosStack& other);

    int CompareKeys(const Westring* a, const Westring* b) override;

protected:
    const Westring* KeyOf(const TPanelPosition* item) override { return &item->directory; }
};
