#include "app/panels/LinkTargetCache.h"

#include "app/panels/DeepCopy.h"
#include "base/os/Links.h"
#include "base/strings/Str32.h"

CLinkTargetCache::CLinkTargetCache(const CLinkTargetCache& other)
    : TSortedCollection<TLinkTargetCacheEntry, Westring>() {
    *this = other;
}

CLinkTargetCache& CLinkTargetCache::operator=(const CLinkTargetCache& other) {
    return AssignDeepCopy<TLinkTargetCacheEntry>(*this, other);
}

int CLinkTargetCache::CompareKeys(const Westring* a, const Westring* b) {
    return Str32Compare(a->Data(), b->Data());
}

Westring LookupLinkTarget(CLinkTargetCache& cache, const Westring& fullPath) {
    if (TLinkTargetCacheEntry* found = cache.Find(&fullPath))
        return found->target;
    TLinkTargetCacheEntry* record = new TLinkTargetCacheEntry{fullPath, GetLinkTarget(fullPath)};
    Westring target = record->target;
    if (!cache.Insert(record))
        delete record;
    return target;
}
