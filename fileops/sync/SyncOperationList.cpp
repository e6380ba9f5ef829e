#include "fileops/sync/SyncOperationList.h"

#include "base/strings/CaseTable.h"
#include "base/strings/Str32.h"

namespace {

typedef CSynchronizer::TSyncOperation TOp;

// Copies, updates and reverts are one group of the order.
int Group(int kind) {
    return kind >= TOp::Copy ? TOp::Copy : kind;
}

bool EndsComponent(char32_t c) {
    return c == 0 || c == '\\';
}

}  // namespace

CSynchronizer::CSyncOperationList::CSyncOperationList() : totalBytes(0), copies(0), updates(0), reverts(0), deletes(0) {
    allowDuplicates = true;
}

void CSynchronizer::CSyncOperationList::Add(int kind, const Westring& path, uint64_t size, const Westring* targetPath) {
    TSyncOperation* op = new TSyncOperation;
    op->path = path;
    op->kind = kind;
    op->targetPath = targetPath != nullptr ? *targetPath : path;
    bool saved = appendUnsorted;
    appendUnsorted = true;
    Insert(op);
    appendUnsorted = saved;
    totalBytes += size;
    switch (kind) {
    case TOp::Copy: copies++; break;
    case TOp::Update: updates++; break;
    case TOp::Revert: reverts++; break;
    case TOp::Delete: deletes++; break;
    default: break;
    }
}

void CSynchronizer::CSyncOperationList::Clear() {
    FreeAll();
    totalBytes = 0;
    copies = 0;
    updates = 0;
    reverts = 0;
    deletes = 0;
}

int CSynchronizer::CSyncOperationList::ComparePathComponents(const Westring& a, const Westring& b) {
    const char32_t* p = a.Data();
    const char32_t* q = b.Data();
    for (;;) {
        bool endP = EndsComponent(*p);
        bool endQ = EndsComponent(*q);
        if (endP || endQ) {
            if (!endQ) {
                return -1;  // p's component is a leading part of q's
            }
            if (!endP) {
                return 1;
            }
            // Both components ended: the shorter path leads.
            if (*p == 0 || *q == 0) {
                return *p == 0 ? (*q == 0 ? 0 : -1) : 1;
            }
            p++;
            q++;
            continue;
        }
        char32_t up = ToUpperChar(*p);
        char32_t uq = ToUpperChar(*q);
        if (up != uq) {
            return up < uq ? -1 : 1;
        }
        p++;
        q++;
    }
}

int CSynchronizer::CSyncOperationList::CompareKeys(const TSyncOperation* a, const TSyncOperation* b) {
    int groupA = Group(a->kind);
    int groupB = Group(b->kind);
    if (groupA != groupB) {
        return groupA < groupB ? -1 : 1;
    }
    int c = ComparePathComponents(a->path, b->path);
    if (c == 0) {
        // Spellings that differ only in case keep a fixed order.
        c = Str32Compare(a->path.Data(), b->path.Data());
    }
    return groupA == TOp::DelDir ? -c : c;
}

const char* CSynchronizer::CSyncOperationList::KindLabel(int kind) {
    static const char* const labels[] = {"Delete:", "DelDir:", "MkDir:", "Copy:", "Update:", "Revert:"};
    return kind >= 0 && kind <= TOp::Revert ? labels[kind] : "";
}
