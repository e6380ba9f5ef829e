#include "base/containers/MemoryPool.h"

#include "platform/win32.h"

MemoryPoolBlock::MemoryPoolBlock(int size)
    : m_base(static_cast<char*>(GlobalAlloc(GMEM_FIXED, size))), m_next(m_base), m_size(size) {}

MemoryPoolBlock::~MemoryPoolBlock() {
    if (m_base)
        GlobalFree(m_base);
}

void* MemoryPoolBlock::Allocate(int n) {
    if (!m_base || n < 0 || n > m_size - Used())
        return nullptr;
    void* piece = m_next;
    m_next += n;
    return piece;
}

MemoryPool::MemoryPool() : m_current(nullptr) {
    NewBlock(kBlockSize);
}

void MemoryPool::NewBlock(int size) {
    m_current = new MemoryPoolBlock(size);
    Add(m_current);
}

void* MemoryPool::Allocate(int n) {
    if (n < 0 || n > 0x7FFFFFFF - (kAlignment - 1))
        return nullptr;
    n = (n + kAlignment - 1) & ~(kAlignment - 1);
    if (void* piece = m_current->Allocate(n))
        return piece;
    // The rest of the old block stays unused until the pool is released; a
    // block whose memory could not be had stays in the store and is passed by.
    NewBlock(n > kBlockSize ? n : kBlockSize);
    return m_current->Allocate(n);
}

void MemoryPool::Reset() {
    FreeAll();
    NewBlock(kBlockSize);
}
