#include "viewedit/FileStatusStore.h"

#include "base/strings/Str32.h"

CFileStatusStore FileStatusStore;

HISTREC::HISTREC(const Westring& path)
    : name(path), topLine(0), cursorRow(0), cursorX(0), horizontalScroll(0), viewerPosition(-1), encoding(6),
      codePage(0), fileSize(-1), fileTime() {
    for (TBookmark& mark : bookmarks)
        mark = {-1, 0};
}

HISTREC* CFileStatusStore::FindRecord(const Westring& path) {
    if (HISTREC* exact = Find(&path))
        return exact;
    for (int i = 0; i < Count(); i++) {
        if (At(i)->name.EqualsNoCase(path))
            return At(i);
    }
    return nullptr;
}

HISTREC* CFileStatusStore::FindOrAdd(const Westring& path) {
    HISTREC* record = Find(&path);
    if (record)
        return record;
    record = new HISTREC(path);
    Insert(record);
    return record;
}

int CFileStatusStore::CompareKeys(const Westring* a, const Westring* b) {
    int order = Str32CompareNoCase(a->Data(), b->Data());
    return order != 0 ? order : Str32Compare(a->Data(), b->Data());
}
