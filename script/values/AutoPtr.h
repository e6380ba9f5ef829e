// TAutoPtr<T>: the shared-owner handle through which script values (and the
// records they share) are held. All handles to one object form one ring of
// CRingLinks; no count is kept. The handle that leaves a ring of one disposes
// of the object. A ring belongs to one thread: nothing here is atomic.
//
// Disposal goes through AutoPtrDispose(T*), found by argument-dependent lookup
// where the handle is used, so that script values can defer the deletion of
// deeply nested containers instead of recursing (see ValueHeap.h).
#pragma once

#include "base/containers/RingLink.h"

template <class T>
class TAutoPtr : private CRingLink {
public:
    TAutoPtr() : CRingLink(nullptr), m_object(nullptr) {}
    // Takes ownership of a new object (alone in its ring).
    explicit TAutoPtr(T* object) : CRingLink(nullptr), m_object(object) {}
    TAutoPtr(const TAutoPtr& other) : CRingLink(nullptr), m_object(nullptr) { Join(other); }
    // Takes the other handle's place in its ring, leaving it empty: values
    // pass up through every level of an expression this way, with no ring
    // joined and left at each.
    TAutoPtr(TAutoPtr&& other) noexcept : CRingLink(nullptr), m_object(nullptr) { TakePlaceOf(other); }
    ~TAutoPtr() { Release(); }

    // Drops the object held (disposed when this was its last handle), then
    // holds the new one alone.
    TAutoPtr& operator=(T* object) {
        if (object != m_object || object == nullptr) {
            Release();
            m_object = object;
        }
        return *this;
    }
    TAutoPtr& operator=(const TAutoPtr& other) {
        if (other.m_object == m_object)
            return *this;  // the same ring (or both empty)
        // Join the other ring before releasing: releasing may dispose of an
        // object whose destruction drops `other` itself.
        TAutoPtr keep(other);
        Release();
        Join(keep);
        return *this;
    }

    TAutoPtr& operator=(TAutoPtr&& other) {
        if (&other == this)
            return *this;
        if (other.m_object == m_object) {
            other.Release();  // the same ring: this handle keeps the object
            return *this;
        }
        TAutoPtr keep(static_cast<TAutoPtr&&>(other));
        Release();
        TakePlaceOf(keep);
        return *this;
    }

    // Leaves the ring; disposes of the object when this was its last handle.
    void Release() {
        T* object = m_object;
        bool last = IsAlone();
        Unlink();
        m_object = nullptr;
        if (object && last)
            AutoPtrDispose(object);
    }
    // Leaves the ring without disposing of anything, even when alone: for
    // the end-of-run clean-up, which frees the objects itself.
    void Forget() {
        Unlink();
        m_object = nullptr;
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    bool IsEmpty() const { return m_object == nullptr; }
    // True when no other handle shares the object.
    bool IsLastHandle() const { return IsAlone(); }

private:
    // Called on an empty handle that is alone.
    void TakePlaceOf(TAutoPtr& other) {
        m_object = other.m_object;
        if (!other.IsAlone()) {
            m_next = other.m_next;
            m_prev = other.m_prev;
            static_cast<TAutoPtr*>(m_prev)->m_next = this;
            static_cast<TAutoPtr*>(m_next)->m_prev = this;
            other.m_next = other.m_prev = &other;
        }
        other.m_object = nullptr;
    }
    void Join(const TAutoPtr& other) {
        if (!other.m_object)
            return;
        CRingLink* at = const_cast<TAutoPtr*>(&other);
        // Insert just before `at`, as CRingLink's joining constructor does.
        m_next = at;
        m_prev = static_cast<TAutoPtr*>(at)->m_prev;
        static_cast<TAutoPtr*>(m_prev)->m_next = this;
        static_cast<TAutoPtr*>(at)->m_prev = this;
        m_object = other.m_object;
    }

    T* m_object;
};
