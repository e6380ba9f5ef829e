#include "base/containers/SortedObjectList.h"

int SortedObjectList::Search(const void* key, int& index) {
    int low = 0;
    int high = m_count - 1;
    index = 0;
    while (low <= high) {
        int mid = low + (high - low) / 2;
        index = mid;
        int c = Compare(key, GetKey(m_items[mid]));
        if (c == 0)
            return 0;
        if (c > 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    index = low;
    return -1;
}

int SortedObjectList::Insert(void* item) {
    if (appendUnsorted) {
        Add(item);
        return 1;
    }
    int index;
    if (Search(GetKey(item), index) == 0 && !allowDuplicates)
        return 0;
    InsertAt(item, index);
    return 1;
}

void* SortedObjectList::SeekFound(int index) {
    if (!InRange(index))
        return nullptr;
    return Seek(index);
}

void* SortedObjectList::Find(const void* key) {
    int index;
    if (Search(key, index) != 0)
        return nullptr;
    return Seek(index);
}

void* SortedObjectList::FindGreaterOrEqual(const void* key) {
    int index;
    Search(key, index);
    // Absent: the insertion point holds the next greater key, if any.
    return SeekFound(index);
}

void* SortedObjectList::FindLessOrEqual(const void* key) {
    int index;
    if (Search(key, index) != 0)
        index--;
    return SeekFound(index);
}

void SortedObjectList::Sort() {
    QuickSort(0, m_count - 1);
}

void SortedObjectList::Swap(int a, int b) {
    void* t = m_items[a];
    m_items[a] = m_items[b];
    m_items[b] = t;
}

void SortedObjectList::QuickSort(int low, int high) {
    while (low < high) {
        if (high == low + 1) {
            if (CompareItems(m_items[low], m_items[high]) > 0)
                Swap(low, high);
            return;
        }
        Swap(low + (high - low) / 2, low);
        void* pivot = m_items[low];
        int i = low + 1;
        int j = high;
        while (i <= j) {
            int c1 = CompareItems(m_items[i], pivot);
            if (c1 < 0)
                i++;
            if (CompareItems(m_items[j], pivot) > 0) {
                j--;
            } else if (c1 >= 0) {
                Swap(i, j);
                i++;
                j--;
            }
        }
        m_items[low] = m_items[i - 1];
        m_items[i - 1] = pivot;
        // Recurse into the smaller part and loop over the larger one, so the
        // stack stays logarithmic whatever order the items come in.
        if (i - 1 - low < high - i + 1) {
            QuickSort(low, i - 2);
            low = i;
        } else {
            QuickSort(i, high);
            high = i - 2;
        }
    }
}

SortedCollection::~SortedCollection() {
    // The concrete collection has freed its items with its own FreeItem.
}

void SortedCollection::FreeAll() {
    for (int i = 0; i < m_count; i++)
        FreeItem(m_items[i]);
    m_count = 0;
}

void SortedCollection::DeleteCurrent() {
    void* item = At(m_cursor);
    if (!InRange(m_cursor))
        return;
    RemoveCurrent();
    FreeItem(item);
}
