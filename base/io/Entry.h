// entry: one directory entry, the file record the whole system passes around.
//
// The directory enumerator fills its head, the archive listing and the panels'
// directory reading fill it the same way, and the panels, file find and the
// tree view each use the spare fields for their own ends. The record is plain
// memory: a fixed head followed by the zero-terminated name in 32-bit units,
// allocated with malloc at exactly EntryBytes(name length) and freed with free,
// never with delete (the owning stores of entries free them that way).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/containers/ObjectStore.h"
#include "base/strings/Timestamp.h"

struct TREENODE;

struct entry {
    uint64_t size;         // bytes; 0 for a directory unless a size was taken from the tree
    uint16_t attributes;   // the low 16 bits of the Windows file attributes
    TTimestamp time;       // last write
    uint8_t tagged;        // 1 when the entry is tagged
    uint8_t processed;     // worked through by an operation that cleared its tag
    uint8_t sizeFromTree;  // a directory's size came from the tree (tree-view lines: the depth)
    char sortClass;        // '1' "..", 'A' directories, 'B' hidden files, 'C' other files
    int64_t matchOffset;   // -1 from the enumerator; file find: offset of the text found
    TREENODE* treeNode;    // tree-view lines: the node shown
    int16_t matchLength;   // file find: length of the text searched, in characters
    char32_t name[1];      // zero-terminated; the record is allocated to hold all of it

    // Bytes a record with a name of n units (terminator not counted) takes.
    static size_t EntryBytes(int nameLength) {
        return offsetof(entry, name) + sizeof(char32_t) * (size_t(nameLength) + 1);
    }
    // A zeroed record with room for a name of n units, or null when memory is short.
    static entry* Allocate(int nameLength) { return static_cast<entry*>(calloc(1, EntryBytes(nameLength))); }
    static void Free(entry* record) { free(record); }
};

// Entries are raw memory: a store of them frees each one and runs no destructor.
template <>
inline void TObjectStoreAbstract<entry>::DeleteItem(entry* item) {
    entry::Free(item);
}
