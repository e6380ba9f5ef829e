// The body every archive reader's fuzz target shares: the input becomes an
// archive file, the target's readers open it, and every directory of the
// listing is walked. Included by one small file per reader family.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/panels/PanelArchive.h"

namespace {

unsigned DropMessage(const Westring&, const Westring&, uint32_t) {
    return 'y';
}

// Walks the directory and everything below it, as the panels would.
void WalkArchive(CArchive* archive, const Westring& directory, int depth) {
    std::vector<Westring> subdirectories;
    entry* item = nullptr;
    for (DWORD r = ArchiveFindFirst(archive, directory, &item); r == 0; r = ArchiveFindNext(archive, &item)) {
        if ((item->attributes & FILE_ATTRIBUTE_DIRECTORY) && !(item->name[0] == '.' && item->name[1] == '.'))
            subdirectories.push_back(Westring(item->name));
        else if (!(item->attributes & FILE_ATTRIBUTE_DIRECTORY))
            ArchiveFindEntry(archive, directory, Westring(item->name));
        entry::Free(item);
    }
    if (depth > 32)
        return;
    for (const Westring& name : subdirectories)
        WalkArchive(archive, directory.IsEmpty() ? name : directory + U"\\" + name, depth + 1);
}

int FuzzArchiveReaders(const TArchiveHandler* handlers, int count, const uint8_t* data, size_t size) {
    // The tests' S: drive is /dev/shm.
    static const std::string local = "/dev/shm/qv-fuzz-archive-" + std::to_string(long(getpid()));
    static const Westring path(("S:\\qv-fuzz-archive-" + std::to_string(long(getpid()))).c_str());
    static bool cleanup = (std::atexit([] { std::remove(local.c_str()); }), true);
    (void)cleanup;
    FILE* out = std::fopen(local.c_str(), "wb");
    if (!out)
        abort();
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    ArchiveHandlers = handlers;
    ArchiveHandlerCount = count;
    ArchiveErrorReporter = DropMessage;
    CArchive* archive = new CArchive(path, nullptr);
    if (archive->status == 0) {
        WalkArchive(archive, Westring(), 0);
        int64_t unpacked = 0;
        int64_t packed = 0;
        GetArchiveTotals(archive, unpacked, packed);
    }
    delete archive;
    return 0;
}

}  // namespace

#define QV_ARCHIVE_FUZZ_TARGET(...) \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
        static const TArchiveHandler handlers[] = {__VA_ARGS__}; \
        return FuzzArchiveReaders(handlers, int(sizeof handlers / sizeof handlers[0]), data, size); \
    }
