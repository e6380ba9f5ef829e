#include "app/panels/DirectoryPrefetch.h"

#include "base/io/DirScanner.h"
#include "base/os/Threads.h"

CPrefetchedListing::CPrefetchedListing(const Westring& path) : path(path) {
    thread.Reset(StartThread(&CPrefetchedListing::ReadRoutine, this));
    if (!thread.IsValid()) {
        // No thread: the taker gets an empty listing with the reason, and the
        // panel shows the error as it would for a failed search.
        searchError = ERROR_NOT_ENOUGH_MEMORY;
        finished = true;
    }
}

CPrefetchedListing::~CPrefetchedListing() {
    stop = true;
    thread.WaitAndClose();
    for (size_t i = nextTaken; i < taking.size(); i++)
        entry::Free(taking[i]);
    for (entry* item : ready)
        entry::Free(item);
}

unsigned __stdcall CPrefetchedListing::ReadRoutine(void* self) {
    static_cast<CPrefetchedListing*>(self)->Read();
    return 0;
}

void CPrefetchedListing::Read() {
    CDirScanner scanner(path);
    std::vector<entry*> batch;
    batch.reserve(BatchSize);
    entry* item = nullptr;
    DWORD error =
        scanner.FindFirst(Westring(U"*"), CDirScanner::ScanEverything | CDirScanner::ScanSeparateRecords, &item);
    DWORD first = error;
    while (!error && !stop) {
        batch.push_back(item);
        item = nullptr;
        if (batch.size() == BatchSize) {
            lock.Lock();
            ready.insert(ready.end(), batch.begin(), batch.end());
            delivered.Set();
            lock.Unlock();
            batch.clear();
        }
        error = scanner.FindNext(&item);
    }
    if (!error)
        entry::Free(item);  // found after the taker gave up
    lock.Lock();
    ready.insert(ready.end(), batch.begin(), batch.end());
    searchError = first;
    finished = true;
    delivered.Set();
    lock.Unlock();
}

bool CPrefetchedListing::TakeBatch() {
    taking.clear();
    nextTaken = 0;
    for (;;) {
        lock.Lock();
        if (!ready.empty()) {
            taking.swap(ready);
            lock.Unlock();
            return true;
        }
        if (finished) {
            lock.Unlock();
            return false;
        }
        // Reset under the lock: the reader sets the event under it too, so a
        // batch cannot arrive between this test and the wait unseen.
        delivered.Reset();
        lock.Unlock();
        delivered.Wait(INFINITE);
    }
}

DWORD CPrefetchedListing::First(entry** item) {
    if (!TakeBatch()) {
        lock.Lock();
        DWORD error = searchError ? searchError : ERROR_NO_MORE_FILES;
        lock.Unlock();
        return error;
    }
    return Next(item);
}

DWORD CPrefetchedListing::Next(entry** item) {
    if (nextTaken == taking.size() && !TakeBatch())
        return ERROR_NO_MORE_FILES;
    *item = taking[nextTaken++];
    return 0;
}
