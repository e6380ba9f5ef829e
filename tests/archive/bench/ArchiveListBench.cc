// The driver of the archive listing benchmark: opens an archive file with
// every reader installed and lists its root, and prints how long that took.
//   qv_archive_list_bench LOCAL-PATH
// prints "open_ms <ms> root_entries <n>". The drive map must map C: to /.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/panels/PanelArchive.h"
#include "archive/ArchiveReaders.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv_archive_list_bench LOCAL-PATH\n");
        return 2;
    }
    std::string path = std::string("C:") + argv[1];
    for (char& c : path)
        if (c == '/')
            c = '\\';
    InstallArchiveReaders();
    const auto start = std::chrono::steady_clock::now();
    CArchive* archive = new CArchive(Westring(path.c_str()), nullptr);
    int entries = 0;
    entry* item = nullptr;
    for (DWORD r = ArchiveFindFirst(archive, Westring(), &item); r == 0; r = ArchiveFindNext(archive, &item)) {
        entries++;
        entry::Free(item);
    }
    const auto end = std::chrono::steady_clock::now();
    const int status = archive->status;
    delete archive;
    if (status != 0) {
        std::fprintf(stderr, "%s did not open as an archive\n", argv[1]);
        return 1;
    }
    std::printf("open_ms %.3f root_entries %d\n", std::chrono::duration<double, std::milli>(end - start).count(),
                entries);
    return 0;
}
