#include "viewedit/UndoStack.h"

void TUndoStack::PushLimited(const UndoItem& item) {
    if (Count() >= MaxRecords) {
        Seek(0);
        DeleteCurrent();
    }
    Add(new UndoItem(item));
}

uint32_t TUndoStack::Pop() {
    if (Count() == 0)
        return ~0u;
    Seek(Count() - 1);
    DeleteCurrent();
    return 0;
}

uint32_t TUndoStack::Peek(UndoItem& item) const {
    if (Count() == 0)
        return ~0u;
    item = *At(Count() - 1);
    return 0;
}

uint32_t NextUndoItemId() {
    static uint32_t last = 0;
    return ++last;
}
