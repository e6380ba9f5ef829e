#include "fileops/DirectoryListing.h"

#include "base/io/DirScanner.h"

DWORD ListDirectoryItems(const Westring& directory, std::vector<TListedItem>& items) {
    CDirScanner scanner(directory);
    entry* item = nullptr;
    DWORD error =
        scanner.FindFirst(Westring("*"), CDirScanner::ScanEverything | CDirScanner::ScanNoVirtualRoots, &item);
    while (error == 0) {
        Westring name(item->name);
        if (!name.EqualsExact(Westring(".")) && !name.EqualsExact(Westring(".."))) {
            items.push_back({name, item->attributes});
        }
        error = scanner.FindNext(&item);
    }
    scanner.Close();
    return error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND ? 0 : error;
}
