// CRingLink: one link of a circular doubly linked ring. The shared-owner
// pointer of the script language is built on it: all handles to one object
// form a ring, and the handle that leaves a ring of one deletes the object.
// Rings are not locked; all links of one ring belong to one thread.
#pragma once

class CRingLink {
public:
    // Joins the ring of other, just before other (at the ring's end as seen
    // from other); with a null other the link is a ring of one. Inline, as
    // Unlink: a script makes and drops handles for every value it touches.
    explicit CRingLink(CRingLink* other = nullptr) {
        if (!other) {
            m_next = m_prev = this;
            return;
        }
        m_next = other;
        m_prev = other->m_prev;
        m_prev->m_next = this;
        other->m_prev = this;
    }

    // Takes the link out of its ring and leaves it a ring of one; returns its
    // former predecessor, or the link itself when it was alone.
    CRingLink* Unlink() {
        if (IsAlone())
            return this;
        CRingLink* prev = m_prev;
        m_next->m_prev = m_prev;
        m_prev->m_next = m_next;
        m_next = m_prev = this;
        return prev;
    }

    bool IsAlone() const { return m_prev == this; }
    CRingLink* Next() const { return m_next; }
    CRingLink* Prev() const { return m_prev; }

protected:
    CRingLink* m_next;
    CRingLink* m_prev;
};
