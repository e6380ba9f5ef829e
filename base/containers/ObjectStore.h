// Owning lists. ObjectStore frees its items through the virtual FreeItem when
// it is emptied with FreeAll, when DeleteCurrent drops one, and when it is
// destroyed; the Remove operations hand items back undeleted.
//
// TObjectStoreAbstract<T> deletes one T in DeleteItem (plain delete unless the
// owner of T specialises TObjectStoreAbstract<T>::DeleteItem, as records that
// are raw memory do). TObjectStore<T> is the base of the named stores.
//
// Items are deleted by the destructor of the most derived class that knows how:
// a C++ base destructor no longer reaches overrides in derived classes, so a
// store that overrides DeleteItem or FreeItem (for example one that does not
// own its items) empties itself in its own destructor.
#pragma once

#include "base/containers/ObjectList.h"
#include "base/containers/TypedList.h"

class ObjectStore : public ObjectList {
public:
    ObjectStore() = default;
    ~ObjectStore() override;

    // Frees every item, then forgets them; the cursor ends at the old count.
    void FreeAll();
    // Frees the item at the cursor and removes it; the cursor is then on the
    // item that followed. Nothing happens when the cursor is out of range.
    void DeleteCurrent();

protected:
    virtual void FreeItem(void* item) = 0;
};

template <class T>
class TObjectStoreAbstract : public TTypedList<T, ObjectStore> {
public:
    TObjectStoreAbstract() = default;
    ~TObjectStoreAbstract() override { ObjectStore::FreeAll(); }

    using ObjectStore::DeleteCurrent;
    using ObjectStore::FreeAll;

protected:
    void FreeItem(void* item) override { DeleteItem(static_cast<T*>(item)); }
    virtual void DeleteItem(T* item) { delete item; }
};

template <class T>
class TObjectStore : public TObjectStoreAbstract<T> {
public:
    TObjectStore() = default;
    // Copies own copies of the source's items (null items stay null).
    TObjectStore(const TObjectStore& other) { CopyFrom(other); }
    // Deletes the items held so far, then copies the source's items; assigning
    // a store to itself changes nothing.
    TObjectStore& operator=(const TObjectStore& other) {
        if (this != &other) {
            this->FreeAll();
            CopyFrom(other);
        }
        return *this;
    }

private:
    void CopyFrom(const TObjectStore& other) {
        this->Reserve(other.Capacity());
        for (int i = 0; i < other.Count(); i++) {
            const T* item = other.At(i);
            this->Add(item ? new T(*item) : nullptr);
        }
    }
};
