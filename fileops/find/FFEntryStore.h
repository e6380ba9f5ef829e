// FFEntryStore: the files a find found, as `entry` records whose name is the
// full path.
//
// The records live in the store's own memory pool, so that a search with many
// hits costs no allocation per hit and emptying the list is one pool reset.
// Removing a record from the list frees nothing. One global store, the found
// list, outlives the File Find window, so that the window can reopen on the
// previous results; the last masks and search text typed there stay beside it.
#pragma once

#include "base/containers/MemoryPool.h"
#include "base/containers/ObjectStore.h"
#include "base/io/Entry.h"
#include "base/strings/Westring.h"

class FFEntryStore : public TObjectStore<entry> {
public:
    FFEntryStore() = default;
    ~FFEntryStore() override;
    FFEntryStore(const FFEntryStore&) = delete;
    FFEntryStore& operator=(const FFEntryStore&) = delete;

    // A copy of the record's head with the path as its name, from the pool and
    // appended; null when memory is short (nothing is appended then).
    entry* AddFound(const entry& head, const Westring& path);
    // Forgets every record and releases their memory.
    void Empty();
    // The sum of the sizes of all records.
    uint64_t TotalSize() const;

protected:
    void DeleteItem(entry*) override {}

private:
    MemoryPool pool;
};

// The found list of the File Find window, and what was last typed in its
// masks and text fields.
extern FFEntryStore FoundList;
extern Westring LastFindMasks;
extern Westring LastFindText;
