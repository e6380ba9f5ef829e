// Lists kept in key order. The key of an item and the comparison of two keys
// are virtual, so one binary search and one sort serve every element type.
// SortedObjectList does not own its items; SortedCollection does and frees
// them like an ObjectStore. The typed faces are TSortedObjectList<T,K> and
// TSortedCollection<T,K> (SortedCollection.h).
#pragma once

#include "base/containers/ObjectList.h"

class SortedObjectList : public ObjectList {
public:
    SortedObjectList() = default;

    // Finds key by bisection: 0 with the index of an equal item, or -1 with
    // the index where key would be inserted.
    int Search(const void* key, int& index);
    // Inserts in key order (or appends while appendUnsorted is set); the
    // cursor is left on the new item. Returns 0 without change when an equal
    // key is present and duplicates are not allowed: the caller keeps the item.
    int Insert(void* item);
    // Each sets the cursor to the item it returns; null leaves it alone.
    void* Find(const void* key);
    void* FindGreaterOrEqual(const void* key);
    void* FindLessOrEqual(const void* key);
    // Orders all items by key, after filling in append-unsorted mode.
    void Sort();
    void QuickSort(int low, int high);

    // Set by the owners directly.
    bool allowDuplicates = false;
    bool appendUnsorted = false;

protected:
    virtual void* GetKey(void* item) = 0;
    virtual int Compare(const void* key1, const void* key2) = 0;

private:
    int CompareItems(void* a, void* b) { return Compare(GetKey(a), GetKey(b)); }
    void Swap(int a, int b);
    void* SeekFound(int index);
};

// The owning form: its items are freed by FreeItem on FreeAll, DeleteCurrent
// and destruction (in the most derived destructor; see ObjectStore.h).
class SortedCollection : public SortedObjectList {
public:
    SortedCollection() = default;
    ~SortedCollection() override;

    // Frees every item in index order, then forgets them.
    void FreeAll();
    // Removes the item at the cursor and frees it; nothing when out of range.
    void DeleteCurrent();

protected:
    virtual void FreeItem(void* item) = 0;
};
