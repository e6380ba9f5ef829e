// One tree of a synchroniser run: every file and directory below the root
// that passed the filters, keyed by its path relative to the root.
#pragma once

#include <cstdint>

#include "base/containers/SortedCollection.h"
#include "base/strings/Estring.h"
#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"
#include "fileops/sync/Synchronizer.h"
#include "ui/ProgressIndicatorThread.h"

struct CSynchronizer::TDirectoryItem {
    static const uint32_t AttrDirectory = 0x10;

    Westring path;  // below the root, components joined by "\"
    TTimestamp time;
    uint64_t size;
    uint32_t attributes;

    bool IsDirectory() const { return (attributes & AttrDirectory) != 0; }
};

// Ordered by path without regard to case, so that the two trees can be
// walked side by side; spellings that differ only in case all stay (a Linux
// tree may hold Src and src) and stand next to each other, exactly ordered.
class CSynchronizer::CDirectoryContents : public TSortedCollection<TDirectoryItem, Westring> {
public:
    CDirectoryContents(const char* label, const Westring& fileFilter, const Westring& directoryFilter);

    // Appends unsorted (as the reading does); Sort orders the list once at
    // the end.
    void Append(const Westring& path, const TTimestamp& time, uint64_t size, uint32_t attributes);

    int resolution;        // the finest time resolution class seen
    Estring label;         // "Source" or "Target"
    TProgressCount count;  // entries read so far (the progress window shows it)
    Westring fileFilter;
    Westring directoryFilter;

    // The order of the list: case-blind, then exact.
    static int ComparePaths(const Westring& a, const Westring& b);

protected:
    const Westring* KeyOf(const TDirectoryItem* item) override { return &item->path; }
    int CompareKeys(const Westring* a, const Westring* b) override { return ComparePaths(*a, *b); }
};
