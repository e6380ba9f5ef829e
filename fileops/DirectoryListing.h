// The names in one directory, read whole before a recursive operation changes
// anything in it.
#pragma once

#include <vector>

#include "base/strings/Westring.h"
#include "platform/win32.h"

struct TListedItem {
    Westring name;
    DWORD attributes;
};

// Every item but "." and "..", hidden ones too; the roots of virtual file
// systems are passed by. 0, or the error that ended the listing early (an
// empty or missing directory is not an error).
DWORD ListDirectoryItems(const Westring& directory, std::vector<TListedItem>& items);
