#include "fileops/find/FFEntryStore.h"

#include <cstddef>
#include <cstring>

FFEntryStore FoundList;
Westring LastFindMasks;
Westring LastFindText;

FFEntryStore::~FFEntryStore() {
    Empty();
}

entry* FFEntryStore::AddFound(const entry& head, const Westring& path) {
    const int length = path.Length();
    auto* found = static_cast<entry*>(pool.Allocate(static_cast<int>(entry::EntryBytes(length))));
    if (found == nullptr)
        return nullptr;
    memcpy(static_cast<void*>(found), &head, offsetof(entry, name));
    memcpy(found->name, path.Data(), sizeof(char32_t) * size_t(length));
    found->name[length] = 0;
    Add(found);
    return found;
}

void FFEntryStore::Empty() {
    RemoveAll();
    pool.Reset();
}

uint64_t FFEntryStore::TotalSize() const {
    uint64_t total = 0;
    for (int i = 0; i < Count(); i++)
        total += At(i)->size;
    return total;
}
