#include "base/containers/ObjectList.h"

#include <cstring>

namespace {
const int kInitialCapacity = 10;
}

ObjectList::ObjectList()
    : m_cursor(-1), m_count(0), m_items(new void*[kInitialCapacity]), m_capacity(kInitialCapacity) {}

ObjectList::~ObjectList() {
    delete[] m_items;
}

void ObjectList::Reserve(int n) {
    if (n <= m_capacity)
        return;
    void** bigger = new void*[n];
    if (m_count > 0)
        memcpy(bigger, m_items, sizeof(void*) * m_count);
    delete[] m_items;
    m_items = bigger;
    // Set only once the new array exists, so a failed allocation leaves the
    // list consistent.
    m_capacity = n;
}

void ObjectList::Grow() {
    long long grown = static_cast<long long>(m_capacity) * 13 / 10;
    Reserve(grown > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(grown));
}

void ObjectList::Add(void* item) {
    if (m_count == m_capacity)
        Grow();
    m_items[m_count] = item;
    m_cursor = m_count++;
}

void ObjectList::Insert(void* item) {
    if (m_count == m_capacity)
        Grow();
    // A negative cursor is not a position any caller asks for; the front is
    // the nearest sound place.
    if (m_cursor < 0)
        m_cursor = 0;
    if (m_cursor > m_count)
        m_cursor = m_count;
    else
        memmove(m_items + m_cursor + 1, m_items + m_cursor, sizeof(void*) * (m_count - m_cursor));
    m_items[m_cursor] = item;
    m_count++;
}

void ObjectList::InsertAt(void* item, int index) {
    m_cursor = index;
    Insert(item);
}

void* ObjectList::First() {
    return Seek(0);
}

void* ObjectList::Next() {
    return Seek(m_cursor + 1);
}

void* ObjectList::Prev() {
    return Seek(m_cursor - 1);
}

void* ObjectList::Last() {
    return Seek(m_count - 1);
}

void* ObjectList::Seek(int index) {
    m_cursor = index;
    return At(index);
}

void* ObjectList::Current() const {
    return At(m_cursor);
}

void* ObjectList::At(int index) const {
    return InRange(index) ? m_items[index] : nullptr;
}

void* ObjectList::RemoveAt(int index) {
    if (!InRange(index))
        return nullptr;
    void* item = m_items[index];
    m_count--;
    memmove(m_items + index, m_items + index + 1, sizeof(void*) * (m_count - index));
    return item;
}

void* ObjectList::RemoveCurrent() {
    return RemoveAt(m_cursor);
}

int ObjectList::RemoveRange(int index, int n) {
    if (!InRange(index) || n < 1)
        return 0;
    if (n > m_count - index)
        n = m_count - index;
    memmove(m_items + index, m_items + index + n, sizeof(void*) * (m_count - index - n));
    m_count -= n;
    return n;
}

void ObjectList::RemoveAll() {
    m_count = 0;
}
