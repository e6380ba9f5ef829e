// MemoryPool: hands out many small pieces of memory that all die together.
// Pieces are bump-allocated inside 64 KiB blocks taken from the Windows heap;
// a larger request gets a block of its own size. Single pieces are never
// freed: the pool is emptied as a whole by Reset or by its destruction.
#pragma once

#include "base/containers/ObjectStore.h"

// One block of the pool; its memory comes from GlobalAlloc and is released
// with the block.
class MemoryPoolBlock {
public:
    explicit MemoryPoolBlock(int size);
    ~MemoryPoolBlock();
    MemoryPoolBlock(const MemoryPoolBlock&) = delete;
    MemoryPoolBlock& operator=(const MemoryPoolBlock&) = delete;

    // n bytes from the free part of the block; null when they do not fit or
    // the block has no memory.
    void* Allocate(int n);

    char* Base() const { return m_base; }
    int Size() const { return m_size; }
    int Used() const { return static_cast<int>(m_next - m_base); }

private:
    char* m_base;
    char* m_next;
    int m_size;
};

class MemoryPool : protected TObjectStore<MemoryPoolBlock> {
public:
    static const int kBlockSize = 0x10000;
    // Every piece starts on this boundary, so records with 64-bit fields can
    // live in the pool.
    static const int kAlignment = 8;

    MemoryPool();
    ~MemoryPool() override = default;
    MemoryPool(const MemoryPool&) = delete;
    MemoryPool& operator=(const MemoryPool&) = delete;

    // n bytes, or null when the system has no memory for a new block (or n is
    // negative).
    void* Allocate(int n);
    // Releases every block and starts again with one fresh block.
    void Reset();

    // Every block made since the last Reset, in order of creation.
    int BlockCount() const { return Count(); }
    const MemoryPoolBlock* BlockAt(int index) const { return At(index); }

private:
    void NewBlock(int size);

    MemoryPoolBlock* m_current;
};
