// The driver of the file find benchmark: runs the find engine without a
// window over a tree, by name or by content, and prints how long it took.
//   qv_find_bench LOCAL-DIRECTORY MASKS [TEXT]
// prints "find_ms <ms> found <n>". The drive map must map C: to /. The
// content search is case-sensitive, as grep is by default.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/settings/Config.h"
#include "base/strings/LocaleCase.h"
#include "fileops/find/FileFindJob.h"
#include "fileops/find/SearchFileForText.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: qv_find_bench LOCAL-DIRECTORY MASKS [TEXT]\n");
        return 2;
    }
    std::string path = std::string("C:") + argv[1];
    for (char& c : path)
        if (c == '/')
            c = '\\';
    InitCaseTables();
    SetSearchEscapePolling(false);
    TCONFIG config;
    config.FFRootSearch = 0;
    config.FFRecurse = 1;
    config.FFCase = 1;
    config.Hidden = 1;
    FFEntryStore store;
    const auto start = std::chrono::steady_clock::now();
    DoFileFind(store, Westring(argv[2]), Westring(argc == 4 ? argv[3] : ""), Westring(path.c_str()), config);
    const auto end = std::chrono::steady_clock::now();
    std::printf("find_ms %.3f found %d\n", std::chrono::duration<double, std::milli>(end - start).count(),
                store.Count());
    return 0;
}
