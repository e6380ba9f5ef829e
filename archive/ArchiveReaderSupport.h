// What the archive readers share: little-endian fields, reads at an offset,
// the search for an archive behind a self-extracting program, and the one
// way a member's path becomes a directory path and a name in the table.
#pragma once

#include <cstdint>
#include <vector>

#include "app/panels/PanelArchive.h"

inline uint16_t Le16(const unsigned char* p) {
    return uint16_t(p[0] | p[1] << 8);
}
inline uint32_t Le32(const unsigned char* p) {
    return uint32_t(Le16(p)) | uint32_t(Le16(p + 2)) << 16;
}
inline uint64_t Le64(const unsigned char* p) {
    return uint64_t(Le32(p)) | uint64_t(Le32(p + 4)) << 32;
}

// Exactly n bytes at the offset into the buffer; the file's sequential
// position ends after them.
bool ReadArchiveBytes(CArchive& archive, int64_t offset, void* buffer, uint32_t n);
// Exactly n bytes at the sequential position, which advances.
bool ReadArchiveBytes(CArchive& archive, void* buffer, uint32_t n);

// Reads a stretch of the archive in large pieces and hands out pointers into
// them, so that a reader walking many small headers in file order makes one
// read of the file per piece instead of one or two per header.
class CArchiveReadWindow {
public:
    explicit CArchiveReadWindow(CArchive& archive, uint32_t piece = 1u << 20);
    // The n bytes at the offset, valid until the next call; null when the
    // file holds fewer.
    const unsigned char* At(int64_t offset, uint32_t n);

private:
    CArchive& archive;
    std::vector<unsigned char> bytes;
    int64_t start;
    uint32_t filled;
    uint32_t piece;
};

// The first offset from `from` up to `last` (the mark's first byte) where the
// mark stands in the file; -1 when it is not there.
int64_t FindArchiveMark(CArchive& archive, int64_t from, int64_t last, const unsigned char* mark, int n);

// How the bytes of a stored name are text.
enum TArchiveNameCoding { ArchiveNameCodePage, ArchiveNameUtf8 };

// The wide form of stored name bytes.
Westring DecodeArchiveName(const char* bytes, TArchiveNameCoding coding);

// Splits a path with backslashes at its last one into the entry's directory
// path and name (the whole is the name without one). With `asDirectory` the
// whole path (without a trailing backslash) is the directory path and the
// name is empty.
void SetArchiveEntryPath(CArchive& archive, TArchiveEntry* item, const Westring& path, bool asDirectory);

// Normalises the entry's path, makes it safe to join to a folder, and adds it
// to the table with the progress counter; a member whose path climbs out
// with ".." is left out. False when it was left out.
bool AddArchiveEntry(CArchive& archive, TArchiveEntry* item);
