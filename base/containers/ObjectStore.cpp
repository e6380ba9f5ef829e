#include "base/containers/ObjectStore.h"

ObjectStore::~ObjectStore() {
    // The concrete store has already freed its items with its own FreeItem;
    // what is left here is only the array, which ObjectList releases.
}

void ObjectStore::FreeAll() {
    // The count is read again on every pass, as an item's deletion may be
    // watched by code that looks at the store.
    for (m_cursor = 0; m_cursor < m_count; m_cursor++)
        FreeItem(m_items[m_cursor]);
    m_count = 0;
}

void ObjectStore::DeleteCurrent() {
    if (!InRange(m_cursor))
        return;
    FreeItem(m_items[m_cursor]);
    RemoveAt(m_cursor);
}
