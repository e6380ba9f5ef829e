// TTypedList<T, Base>: the typed face that TObjectList<T>, TObjectStore<T> and
// the sorted collection templates put on an untyped list. It hides the untyped
// operations of Base (non-public inheritance) and offers them again with T*.
#pragma once

template <class T, class Base>
class TTypedList : protected Base {
public:
    void Add(T* item) { Base::Add(item); }
    // Plain lists insert at the cursor; sorted ones insert in key order and
    // answer whether the item was taken.
    auto Insert(T* item) { return Base::Insert(item); }
    void InsertAt(T* item, int index) { Base::InsertAt(item, index); }

    T* First() { return static_cast<T*>(Base::First()); }
    T* Next() { return static_cast<T*>(Base::Next()); }
    T* Prev() { return static_cast<T*>(Base::Prev()); }
    T* Last() { return static_cast<T*>(Base::Last()); }
    T* Seek(int index) { return static_cast<T*>(Base::Seek(index)); }
    T* Current() const { return static_cast<T*>(Base::Current()); }
    T* At(int index) const { return static_cast<T*>(Base::At(index)); }

    T* RemoveAt(int index) { return static_cast<T*>(Base::RemoveAt(index)); }
    T* RemoveCurrent() { return static_cast<T*>(Base::RemoveCurrent()); }
    using Base::RemoveAll;
    using Base::RemoveRange;

    using Base::Capacity;
    using Base::Count;
    using Base::Cursor;
};
