// ObjectList: the growable array of untyped item pointers with a built-in
// cursor that every list of objects in Quorvane is made of. It never owns its
// items: its destructor frees only the pointer array. ObjectStore (owning) and
// SortedObjectList (kept in key order) build on it; the typed faces are
// TObjectList<T>, TObjectStore<T> and the sorted collection templates.
#pragma once

class ObjectList {
public:
    ObjectList();
    virtual ~ObjectList();
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;

    // Appends; the cursor moves onto the new item.
    void Add(void* item);
    // Inserts at the cursor (appends when the cursor lies past the end); the
    // cursor stays on the new item.
    void Insert(void* item);
    void InsertAt(void* item, int index);

    // Cursor movement. Each returns the item at the new cursor, or null when
    // the cursor lies outside the items (it is moved there all the same).
    void* First();
    void* Next();
    void* Prev();
    void* Last();
    void* Seek(int index);
    void* Current() const;
    // Item at an index without moving the cursor; null out of range.
    void* At(int index) const;

    // Removal hands the items back to the caller; the cursor does not move.
    void* RemoveAt(int index);
    void* RemoveCurrent();
    // Removes up to n items from index; returns how many went.
    int RemoveRange(int index, int n);
    // Forgets every item; the array and its capacity stay.
    void RemoveAll();

    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }
    int Cursor() const { return m_cursor; }

protected:
    // Makes room for at least n items without changing them.
    void Reserve(int n);
    bool InRange(int index) const { return index >= 0 && index < m_count; }

    int m_cursor;
    int m_count;
    void** m_items;
    int m_capacity;

private:
    void Grow();
};
