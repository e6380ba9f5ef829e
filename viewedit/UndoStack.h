// UndoItem and TUndoStack: the editor's record of one change and the stacks of
// them for undo and redo, which also outlive an editing run in the file's
// HISTREC.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/strings/Estring.h"

struct UndoItem {
    Estring text;  // what the change removed, UTF-8
    int32_t lineCount = 1;
    int32_t cursorAfterIndex = 0;
    int32_t cursorAfterLine = 0;
    int32_t positionIndex = 0;
    int32_t positionLine = 0;
    int32_t regionStartLine = 0;
    int32_t regionStartIndex = 0;
    int32_t regionEndLine = 0;
    int32_t regionEndIndex = 0;
    uint8_t cursorAtEnd = 0;
    uint8_t regionMarked = 0;
    // Tells records apart: the saved point of the editor names the record it
    // was taken at, and a copy keeps the id of its original.
    uint32_t id = 0;
};

class TUndoStack : public TObjectStore<UndoItem> {
public:
    static constexpr int MaxRecords = 1000;

    TUndoStack() = default;
    TUndoStack(const TUndoStack& other) = default;
    TUndoStack& operator=(const TUndoStack& other) = default;

    // Appends a copy; the oldest record goes when MaxRecords are held.
    void PushLimited(const UndoItem& item);
    // Deletes the newest record: 0, or ~0 when the stack is empty.
    uint32_t Pop();
    // Copies the newest record: 0, or ~0 when the stack is empty.
    uint32_t Peek(UndoItem& item) const;
    // The newest record, null when empty.
    const UndoItem* Newest() const { return Count() ? At(Count() - 1) : nullptr; }
};

// A fresh id for a new record.
uint32_t NextUndoItemId();
