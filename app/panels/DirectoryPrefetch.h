// CPrefetchedListing: a drive directory read ahead on a thread of its own.
//
// At start-up the two panels usually show two different directories. The
// second one is read by this while the first is read, sorted and drawn, and
// the second panel then takes the entries as a directory source: in the order
// the system delivered them, with the same records a read of its own gives.
#pragma once

#include <atomic>
#include <vector>

#include "app/panels/DirectorySource.h"
#include "base/os/CEvent.h"
#include "base/os/CMutex.h"
#include "base/os/CWinHandle.h"
#include "base/strings/Westring.h"

class CPrefetchedListing : public IDirectorySource {
public:
    // Starts reading `path` (every entry, hidden ones included) at once.
    explicit CPrefetchedListing(const Westring& path);
    // Stops the reading thread and frees every entry nobody took.
    ~CPrefetchedListing() override;
    CPrefetchedListing(const CPrefetchedListing&) = delete;
    CPrefetchedListing& operator=(const CPrefetchedListing&) = delete;

    const Westring& Path() const { return path; }
    // The search's error (with no entry) when it failed before delivering
    // anything, as the disk's own First would give it.
    DWORD First(entry** item) override;
    DWORD Next(entry** item) override;

private:
    // Entries go across in batches, so the lock is taken once per batch and
    // the taker is not woken for every entry.
    static constexpr size_t BatchSize = 512;

    static unsigned __stdcall ReadRoutine(void* self);
    void Read();
    // Moves the next batch into `taking`, waiting for the reader; false at
    // the end of the listing.
    bool TakeBatch();

    Westring path;
    CMutex lock;
    CEvent delivered;            // a batch, or the end, has arrived
    std::vector<entry*> ready;   // delivered, not yet taken (under the lock)
    bool finished = false;       // the reader has delivered its last batch (under the lock)
    DWORD searchError = 0;       // the search's first answer (under the lock)
    std::vector<entry*> taking;  // the taker's current batch
    size_t nextTaken = 0;
    std::atomic<bool> stop{false};
    CWinHandle thread;
};
