// CLinkTargetCache: the targets of the links a panel has shown, by full path,
// so that redrawing a directory full of links reads each link once. Emptied at
// every directory read; keys compare with case, unit by unit.
#pragma once

#include "base/containers/SortedCollection.h"
#include "base/strings/Westring.h"

struct TLinkTargetCacheEntry {
    Westring path;    // the key: the link's full path
    Westring target;  // what the link points at, as the file system gives it
};

class CLinkTargetCache : public TSortedCollection<TLinkTargetCacheEntry, Westring> {
public:
    CLinkTargetCache() = default;
    CLinkTargetCache(const CLinkTargetCache& other);
    CLinkTargetCache& operator=(const CLinkTargetCache& other);

protected:
    const Westring* KeyOf(const TLinkTargetCacheEntry* item) override { return &item->path; }
    int CompareKeys(const Westring* a, const Westring* b) override;
};

// The cached target of the link at `fullPath`; on a miss it is read from the
// file system and remembered (also when it is empty).
Westring LookupLinkTarget(CLinkTargetCache& cache, const Westring& fullPath);
