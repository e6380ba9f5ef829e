// CRandomFile: fast random access to the bytes of a file read in any order.
//
// The viewer pages through files of any size with it, text files decode their
// characters through it and archive readers read through its stream form. It
// keeps the last four 16 KiB blocks it touched, most recently used first, and
// a read-ahead thread of its own reads the block after (or before) the current
// one while the caller works on it, so that reading on in either direction
// finds its next block ready.
//
// Two threads share the file: the owner and the read-ahead thread. Every
// positioning and reading of the underlying StdFile, and every change of the
// read-ahead request, happens under the recursive lock; the block cache itself
// belongs to the owner alone. The owner never waits for the read-ahead: a
// request not yet served when its block is needed is simply overtaken.
#pragma once

#include <cstdint>

#include "base/io/StdFile.h"
#include "base/os/CEvent.h"
#include "base/os/CMutex.h"
#include "base/os/CWinHandle.h"

class CRandomFile : public StdFile {
public:
    static constexpr int BlockSize = 16384;
    static constexpr int MaxBlocks = 4;
    // What ByteAt gives at or past the end, and on every failure.
    static constexpr uint32_t NoByte = 0xFFFFFFFF;

    CRandomFile();
    // Opens the path for reading with the share level.
    CRandomFile(const Westring& path, int shareLevel);
    ~CRandomFile();

    // Opens (closing a file that is open) with StdFile's modes and share
    // levels, empties the cache and resets the sequential position; the
    // read-ahead thread starts with the first read-ahead the file needs.
    // 0 or the Windows error.
    uint32_t Open(const Westring& path, int mode, int shareLevel = ShareReadWrite);
    // Stops the read-ahead thread, frees the cached blocks, closes the file.
    uint32_t Close();

    // The byte at the offset, or NoByte at or past the end of the file, when
    // the file is not open, or when the block cannot be read.
    uint32_t ByteAt(int64_t offset) {
        uint64_t inBlock = uint64_t(offset) - uint64_t(currentOffset);
        if (inBlock < currentAvailable)
            return currentBlock[inBlock];
        return ByteAtSlow(offset);
    }

    // Reads at the offset, past the cache. In: the room, out: the bytes read.
    // 0, the Windows error, or EndOfFile when nothing was left to read.
    uint32_t ReadAt(int64_t offset, void* buffer, uint32_t& count);
    // ReadAt at the sequential position, which advances by the bytes read.
    // Without `count` a short read is an error (EndOfFile), as the caller
    // could not tell how much of the buffer is filled.
    uint32_t Read(void* buffer, uint32_t n, uint32_t* count = nullptr);
    // One line of bytes at the sequential position up to LF or NUL (not
    // stored), at most size - 1 of them, trailing CRs and LFs removed. 0, or
    // the file's last error when nothing was read (EndOfFile at the end).
    uint32_t ReadLine(char* buffer, int size);

    // Frees every cached block and forgets the read-ahead, so that the next
    // access reads the file anew.
    void DropBlocks();

    // The file may grow while open: a byte at or past the known size is looked
    // for on disk again. Open clears it.
    void SetGrowing(bool on) { growing = on; }
    bool IsGrowing() const { return growing; }
    // The size taken at Open, corrected by block reads that find the file
    // longer or shorter.
    int64_t KnownSize() const { return knownSize; }
    int64_t Position() const { return position; }
    void SetPosition(int64_t offset) { position = offset; }
    uint32_t OpenError() const { return openError; }
    // The file's kept error, read under the lock (the read-ahead thread
    // shares the file and may change it).
    uint32_t FileError();

    // The lock that keeps the read-ahead thread off the file, for owners that
    // change the file (a rewrite holds it throughout).
    CMutex& Lock() { return lock; }

protected:
    uint32_t ByteAtSlow(int64_t offset);
    void MoveBlockToFront(int index);
    // Fills the buffer with the block at the offset (which may swap in the
    // read-ahead buffer in its place) and asks for the next read-ahead.
    uint32_t LoadBlock(int64_t blockOffset, unsigned char*& block, uint32_t& count);
    // Points the fast path of ByteAt at slot 0 (or at nothing).
    void UpdateCurrent();
    void StopReadAhead();
    // After the owner changed the file's length itself.
    void SetKnownSize(int64_t size) {
        knownSize = size;
        UpdateCurrent();
    }

private:
    static unsigned __stdcall ReadAheadThread(void* self);
    void ReadAheadLoop();

    bool growing;
    int64_t knownSize;
    unsigned char* blocks[MaxBlocks];
    int64_t blockOffsets[MaxBlocks];
    uint32_t blockBytes[MaxBlocks];  // bytes the last read of each block gave
    int blockCount;

    // The fast path of ByteAt: slot 0 and how many of its bytes lie below the
    // known size (0 when nothing is cached).
    const unsigned char* currentBlock;
    int64_t currentOffset;
    uint64_t currentAvailable;

    // Shared with the read-ahead thread; changed only under the lock.
    int64_t readAheadOffset;
    unsigned char* readAheadBuffer;
    uint32_t readAheadCount;
    bool quitReadAhead;

    CEvent request;
    CMutex lock;
    CWinHandle thread;

    int64_t position;
    uint32_t openError;
};
