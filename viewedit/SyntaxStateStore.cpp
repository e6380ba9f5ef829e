#include "viewedit/SyntaxStateStore.h"

void CSyntaxStateStore::Reset() {
    FreeAll();
    TPositionSyntaxState* start = new TPositionSyntaxState;
    start->offset = 0;
    Insert(start);
}

void CSyntaxStateStore::AddState(int64_t offset, const CContextStack& state) {
    TPositionSyntaxState* record = new TPositionSyntaxState;
    record->offset = offset;
    record->stack.Copy(state);
    if (!Insert(record))
        delete record;
}
