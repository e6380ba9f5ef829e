// HISTREC and FileStatusStore: what the viewer and the editor remember for
// every file they showed during this run of the program (position, undo and
// redo history, bookmarks, encoding), so that opening it again continues where
// the user left off. Nothing is written to disk.
#pragma once

#include <cstdint>

#include "base/containers/SortedCollection.h"
#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"
#include "viewedit/UndoStack.h"

struct TBookmark {
    int32_t index;  // -1: unset
    int32_t line;
};

struct HISTREC {
    static constexpr int BookmarkCount = 10;

    // Name, empty stacks, every view field 0, the viewer position -1 and the
    // bookmarks unset.
    explicit HISTREC(const Westring& path);

    Westring name;
    int32_t topLine;
    int32_t cursorRow;
    int32_t cursorX;
    int32_t horizontalScroll;
    TUndoStack undo;
    TUndoStack redo;
    // The viewer's top offset; -1 when the editor wrote the record last. Kept
    // in 64 bits so that positions past 4 GiB survive.
    int64_t viewerPosition;
    TBookmark bookmarks[BookmarkCount];
    int32_t encoding;
    int32_t codePage;
    // The file as it was when the record was written: a changed file makes
    // the kept history meaningless.
    int64_t fileSize;
    TTimestamp fileTime;
};

// Sorted by name without regard to case. Two spellings of a name are two
// records (two files where names differ in case): a look-up takes the exact
// spelling first and another spelling only when there is none, and a record
// is written under the exact spelling only.
class CFileStatusStore : public TSortedCollection<HISTREC, Westring> {
public:
    HISTREC* FindRecord(const Westring& path);
    // The record of exactly this spelling, made and inserted when there is none.
    HISTREC* FindOrAdd(const Westring& path);

protected:
    const Westring* KeyOf(const HISTREC* item) override { return &item->name; }
    int CompareKeys(const Westring* a, const Westring* b) override;
};

extern CFileStatusStore FileStatusStore;
