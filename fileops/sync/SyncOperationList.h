// The plan of a synchroniser run: what to delete, remove, make and copy, in
// the order it is carried out, with the bytes to copy and a count per kind.
#pragma once

#include <cstdint>

#include "base/containers/SortedCollection.h"
#include "base/strings/Westring.h"
#include "fileops/sync/Synchronizer.h"

struct CSynchronizer::TSyncOperation {
    enum {
        Delete = 0,  // a target file
        DelDir = 1,  // a target directory
        MkDir = 2,   // a target directory
        Copy = 3,    // a missing file, source to target
        Update = 4,  // a newer (or other-sized) source file over the target
        Revert = 5   // the source file over a newer target
    };

    Westring path;  // relative: the target's for deletions, else the source's
    int32_t kind;
    Westring targetPath;  // relative path in the target: the target item's own
                          // spelling where it differs from the source's in case
};

// Ordered by kind (deletes, directory removals, directory creations, then
// copies, updates and reverts as one group), then by path component by
// component without regard to case. Directory removals go deepest first, so a
// directory's contents go before it; creations go parents first.
class CSynchronizer::CSyncOperationList : public TSortedCollection<TSyncOperation, TSyncOperation> {
public:
    CSyncOperationList();

    // Appends an operation (unsorted while the comparison runs; Sort orders
    // the plan at its end) and counts it. Without a target path the target
    // takes the same relative path.
    void Add(int kind, const Westring& path, uint64_t size, const Westring* targetPath = nullptr);
    // Empties the plan, the total and the counters.
    void Clear();

    uint64_t totalBytes;
    int32_t copies;
    int32_t updates;
    int32_t reverts;
    int32_t deletes;

    // Component by component, each pair without regard to case; a path whose
    // components all lead a longer one sorts first.
    static int ComparePathComponents(const Westring& a, const Westring& b);
    static const char* KindLabel(int kind);

protected:
    const TSyncOperation* KeyOf(const TSyncOperation* item) override { return item; }
    int CompareKeys(const TSyncOperation* a, const TSyncOperation* b) override;
};
