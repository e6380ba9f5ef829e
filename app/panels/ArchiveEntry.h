// TArchiveEntry: one member of an open archive, and ArchiveEntryStore, the
// table of them. Entries and their strings live in the archive's MemoryPool
// and die with it, so the store never frees an item of its own.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/strings/Timestamp.h"

struct TArchiveEntry {
    // The member's directory inside the archive, components separated by
    // backslashes, without a leading or trailing one; empty at the root.
    const char32_t* directory;
    // The file name; empty when the member stands for its directory itself.
    const char32_t* name;
    // A symbolic link's target, else null.
    const char32_t* linkTarget;
    uint64_t unpackedSize;
    uint64_t packedSize;
    uint16_t attributes;  // 0x10 directory, 0x400 symbolic link
    TTimestamp time;      // last write
    // 1 when the stored directory path was "." or began with ".\" (removed).
    uint8_t dotted;
};

class ArchiveEntryStore : public TTypedList<TArchiveEntry, ObjectStore> {
public:
    ArchiveEntryStore() = default;
    ~ArchiveEntryStore() override { RemoveAll(); }

    // The item array itself, for sorting it in place.
    TArchiveEntry** Items() { return reinterpret_cast<TArchiveEntry**>(m_items); }

protected:
    // The entries belong to the archive's pool.
    void FreeItem(void*) override {}
};
