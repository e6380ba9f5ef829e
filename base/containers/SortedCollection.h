// Typed sorted lists. The named sets supply KeyOf, which returns a pointer into
// the item (it is called on every probe of a search), and CompareKeys.
//
// TSortedObjectList<T,K> does not own its items. TSortedCollection<T,K> owns
// them: FreeItem deletes one T (plain delete unless the owner of T specialises
// TSortedCollectionAbstractKey<T,K>::FreeItem), and the collection frees its
// items when it is destroyed. A derived set that overrides FreeItem empties
// itself in its own destructor (see ObjectStore.h).
#pragma once

#include "base/containers/SortedObjectList.h"
#include "base/containers/TypedList.h"

// The typed key operations shared by the owning and non-owning forms.
template <class T, class K, class Base>
class TTypedSortedList : public TTypedList<T, Base> {
public:
    int Search(const K* key, int& index) { return Base::Search(key, index); }
    T* Find(const K* key) { return static_cast<T*>(Base::Find(key)); }
    T* FindGreaterOrEqual(const K* key) { return static_cast<T*>(Base::FindGreaterOrEqual(key)); }
    T* FindLessOrEqual(const K* key) { return static_cast<T*>(Base::FindLessOrEqual(key)); }
    using Base::allowDuplicates;
    using Base::appendUnsorted;
    using Base::QuickSort;
    using Base::Sort;

protected:
    void* GetKey(void* item) override { return const_cast<K*>(KeyOf(static_cast<const T*>(item))); }
    int Compare(const void* key1, const void* key2) override {
        return CompareKeys(static_cast<const K*>(key1), static_cast<const K*>(key2));
    }
    virtual const K* KeyOf(const T* item) = 0;
    virtual int CompareKeys(const K* key1, const K* key2) = 0;
};

template <class T, class K>
class TSortedObjectList : public TTypedSortedList<T, K, SortedObjectList> {};

template <class T, class K>
class TSortedCollectionAbstractKey : public TTypedSortedList<T, K, SortedCollection> {
public:
    TSortedCollectionAbstractKey() = default;
    ~TSortedCollectionAbstractKey() override { SortedCollection::FreeAll(); }

    using SortedCollection::DeleteCurrent;
    using SortedCollection::FreeAll;

protected:
    void FreeItem(void* item) override { delete static_cast<T*>(item); }
};

template <class T, class K>
class TSortedCollectionAbstract : public TSortedCollectionAbstractKey<T, K> {};

template <class T, class K>
class TSortedCollection : public TSortedCollectionAbstract<T, K> {};
