// The user menu file: entries with a hot key, a title and command lines,
// "{" "}" submenus, "!include " of other menu files and "//" comments.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/io/Entry.h"
#include "base/io/TextFile.h"
#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

class MenuStore;

struct MenuEntry {
    MenuEntry() = default;
    ~MenuEntry();
    MenuEntry(const MenuEntry&) = delete;
    MenuEntry& operator=(const MenuEntry&) = delete;

    int32_t hotKey = 0;  // a character, an extended function-key code, or 0
    Westring keyText;    // the key as written, upper-cased
    Westring title;
    WestringStore commands;        // in file order
    MenuStore* submenu = nullptr;  // owned
};

class MenuStore : public TObjectStore<MenuEntry> {
public:
    int32_t longestKey = 0;  // the longest key text among the entries
};

// The hot key of a menu key text: a character, F1..Fn, CFn, SFn, AFn (the
// letters upper case), another letter and F n giving n; 0 when the key
// makes no entry.
int32_t MenuHotKey(const Westring& key);

// What reading needs beyond the file: the entry under the panel's cursor and
// its directory (for "@" masks), and the files being read now, so that an
// include of one of them is refused instead of read for ever.
struct TMenuReadContext {
    const entry* cursorEntry = nullptr;
    Westring panelDirectory;
    WestringStore reading;  // full paths, the outermost first
    // An include that cannot be read: by default the message box.
    void (*reportInclude)(const Westring& path) = nullptr;
};

// Reads the lines of an open menu file (its full path in `path`) into the
// store until the end of the file or a "}" line at its own top level.
void ReadMenuFile(MenuStore& store, CTextFile& file, const Westring& path, TMenuReadContext& context);
// Opens and reads the menu file; false when it cannot be opened.
bool ReadMenuFileAt(MenuStore& store, const Westring& path, TMenuReadContext& context);
