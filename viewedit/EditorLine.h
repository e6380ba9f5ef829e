// QVEditorLine and QVEditorLineStore: the editor's document, one record per
// line. Records are bump-allocated from the editor's MemoryPool and never
// freed one by one: a line that outgrows its record gets a new one and the
// old block waits for the next load, so that a file of millions of lines
// costs one allocation per 64 KiB rather than one per line.
//
// A line whose characters all lie below 0x100 (ASCII and Latin-1, most text)
// keeps one byte per character; any other line keeps 32-bit characters. So a
// loaded file takes little more room than its bytes, not four times as much.
#pragma once

#include <cstdint>

#include "base/containers/MemoryPool.h"
#include "base/containers/TObjectList.h"
#include "base/strings/Westring.h"

struct QVEditorLine {
    uint32_t lineEnd;  // CTextFile line-end kind
    uint8_t trim;      // trailing white space is dropped on save and copy
    uint8_t wide;      // 32-bit characters; else one byte each
    int32_t capacity;  // characters the record holds, terminator not counted
    int32_t length;    // characters it holds now

    int Length() const { return length; }
    bool IsEmpty() const { return length == 0; }
    char32_t At(int i) const { return wide ? WideUnits()[i] : char32_t(NarrowUnits()[i]); }
    // The text as 32-bit characters.
    Westring Text() const;
    // Whether every unit fits the one-byte form.
    static bool FitsNarrow(const char32_t* text, int n);

    // The units follow the fixed fields in the same block, terminated.
    char32_t* WideUnits() { return reinterpret_cast<char32_t*>(this + 1); }
    const char32_t* WideUnits() const { return reinterpret_cast<const char32_t*>(this + 1); }
    unsigned char* NarrowUnits() { return reinterpret_cast<unsigned char*>(this + 1); }
    const unsigned char* NarrowUnits() const { return reinterpret_cast<const unsigned char*>(this + 1); }
    // Stores n units (the caller checked the room and the form).
    void Store(const char32_t* text, int n);
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
    // is too small or too narrow (kind and trim flag kept); false when the
    // pool has no memory.
    bool ReplaceText(int index, const char32_t* text, int n = -1);
    MemoryPool* Pool() const { return pool; }

private:
    MemoryPool* pool;
};
