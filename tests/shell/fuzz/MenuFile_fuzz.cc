// Arbitrary bytes read as a user menu file, as one found in any directory a
// panel visits would be. The file lies in a folder of its own, mapped as the
// only drive, so that its "!include " lines can reach nothing but that folder
// (never a device that reads for ever); an include that cannot be read is
// dropped instead of shown.
#include "shell/MenuFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Folder;

void Ignore(const Westring&) {}

// Every entry and submenu is visited, as the menu would draw them.
int Walk(const MenuStore& store, int depth) {
    int seen = 0;
    for (int i = 0; i < store.Count(); i++) {
        const MenuEntry* item = store.At(i);
        if (item->keyText.Length() > store.longestKey) {
            __builtin_trap();
        }
        seen += 1 + item->commands.Count();
        if (item->submenu != nullptr) {
            seen += Walk(*item->submenu, depth + 1);
        }
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Folder = "/dev/shm/qv-fuzz-menu-" + std::to_string(long(getpid()));
    mkdir(Folder.c_str(), 0700);
    setenv("QUORVANE_DRIVES", ("S=" + Folder).c_str(), 1);
    std::atexit([] {
        std::remove((Folder + "/fuzz.mnu").c_str());
        rmdir(Folder.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* out = std::fopen((Folder + "/fuzz.mnu").c_str(), "wb");
    if (out == nullptr) {
        abort();
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    TMenuReadContext context;
    context.reportInclude = Ignore;
    context.panelDirectory = Westring("S:\\");
    MenuStore store;
    if (!ReadMenuFileAt(store, Westring("S:\\fuzz.mnu"), context)) {
        abort();
    }
    Walk(store, 0);
    return 0;
}
