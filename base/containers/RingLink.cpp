#include "base/containers/RingLink.h"

CRingLink::CRingLink(CRingLink* other) {
    if (!other) {
        m_next = m_prev = this;
        return;
    }
    m_next = other;
    m_prev = other->m_prev;
    m_prev->m_next = this;
    other->m_prev = this;
}

CRingLink* CRingLink::Unlink() {
    if (IsAlone())
        return this;
    CRingLink* prev = m_prev;
    m_next->m_prev = m_prev;
    m_prev->m_next = m_next;
    m_next = m_prev = this;
    return prev;
}
