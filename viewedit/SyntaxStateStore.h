// CSyntaxStateStore: the highlighter's stack as it stood at the start of lines
// of a viewed file, by file offset, so that a line anywhere is coloured from
// the nearest saved state instead of from the top of the file.
#pragma once

#include <cstdint>

#include "base/containers/SortedCollection.h"
#include "viewedit/SyntaxHighlighter.h"

struct TPositionSyntaxState {
    int64_t offset;
    CContextStack stack;
};

class CSyntaxStateStore : public TSortedCollection<TPositionSyntaxState, int64_t> {
public:
    CSyntaxStateStore() { Reset(); }
    // Frees every state and keeps the empty one at offset 0.
    void Reset();
    // A copy of the stack at the offset; an offset already held keeps its state.
    void AddState(int64_t offset, const CContextStack& state);
    // The state with the greatest offset not above the offset.
    TPositionSyntaxState* StateAtOrBefore(int64_t offset) { return FindLessOrEqual(&offset); }

protected:
    const int64_t* KeyOf(const TPositionSyntaxState* item) override { return &item->offset; }
    int CompareKeys(const int64_t* a, const int64_t* b) override { return *a < *b ? -1 : *a > *b ? 1 : 0; }
};
