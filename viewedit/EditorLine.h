// QVEditorLine and QVEditorLineStore: the editor's document, one record per
// line. Records are bump-allocated from the editor's MemoryPool and never
// freed one by one: a line that outgrows its record gets a new one and the
// old block waits for the next load, so that a file of millions of lines
// costs one allocation per 64 KiB rather than one per line.
#pragma once

#include <cstdint>

#include "base/containers/MemoryPool.h"
#include "base/containers/TObjectList.h"

struct QVEditorLine {
    uint32_t lineEnd;  // CTextFile line-end kind
    uint8_t trim;      // trailing white space is dropped on save and copy
    int32_t capacity;  // units the record holds, terminator not counted

    // The units follow the fixed fields in the same block.
    char32_t* Text() { return reinterpret_cast<char32_t*>(this + 1); }
    const char32_t* Text() const { return reinterpret_cast<const char32_t*>(this + 1); }
    int Length() const;
};

class QVEditorLineStore : public TObjectList<QVEditorLine> {
public:
    explicit QVEditorLineStore(MemoryPool* pool) : pool(pool) {}

    // A record holding the text (n units, or up to its terminator when n < 0);
    // null when the pool has no memory.
    QVEditorLine* NewLine(const char32_t* text, uint32_t lineEnd, int n = -1);
    // NewLine and append; false when the pool has no memory.
    bool AddLine(const char32_t* text, uint32_t lineEnd, int n = -1);
    // Takes the template's line-end kind, or "not known" without one.
    bool InsertLine(int index, const char32_t* text, const QVEditorLine* templateLine);
    // The line's text becomes the given one, in a new record when the old one
    // is too small (kind and trim flag kept); false when the pool has no memory.
    bool ReplaceText(int index, const char32_t* text, int n = -1);
    MemoryPool* Pool() const { return pool; }

private:
    MemoryPool* pool;
};
