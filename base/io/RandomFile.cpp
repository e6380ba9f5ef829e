#include "base/io/RandomFile.h"

#include <cstdlib>
#include <cstring>

#include "base/os/Threads.h"

namespace {

// Holds the reader's lock for one scope, so that every way out releases it.
class CLockHolder {
public:
    explicit CLockHolder(CMutex& mutex) : mutex(mutex) { mutex.Lock(INFINITE); }
    ~CLockHolder() { mutex.Unlock(); }
    CLockHolder(const CLockHolder&) = delete;
    CLockHolder& operator=(const CLockHolder&) = delete;

private:
    CMutex& mutex;
};

}  // namespace

CRandomFile::CRandomFile()
    : growing(false), knownSize(0), blockCount(0), currentBlock(nullptr), currentOffset(0), currentAvailable(0),
      readAheadOffset(-1), readAheadBuffer(nullptr), readAheadCount(0), quitReadAhead(false), position(0),
      openError(0) {
    for (int i = 0; i < MaxBlocks; i++) {
        blocks[i] = nullptr;
        blockOffsets[i] = -1;
        blockBytes[i] = 0;
    }
}

CRandomFile::CRandomFile(const Westring& path, int shareLevel) : CRandomFile() {
    Open(path, ModeRead, shareLevel);
}

CRandomFile::~CRandomFile() {
    Close();
}

uint32_t CRandomFile::Open(const Westring& path, int mode, int shareLevel) {
    DropBlocks();
    growing = false;
    position = 0;
    {
        // The read-ahead thread of a file still open may be reading it.
        CLockHolder hold(lock);
        readAheadOffset = -1;
        readAheadCount = 0;
        openError = StdFile::Open(path, mode, shareLevel);
        if (openError != 0)
            return openError;
        knownSize = GetSize();
        openError = lastError;
    }
    if (!readAheadBuffer)
        readAheadBuffer = static_cast<unsigned char*>(malloc(BlockSize));
    return openError;
}

uint32_t CRandomFile::FileError() {
    CLockHolder hold(lock);
    return lastError;
}

void CRandomFile::StopReadAhead() {
    if (!thread.IsValid())
        return;
    {
        CLockHolder hold(lock);
        quitReadAhead = true;
        readAheadOffset = -1;
    }
    request.Set();
    thread.WaitAndClose();
    request.Reset();
    quitReadAhead = false;
}

uint32_t CRandomFile::Close() {
    DropBlocks();
    StopReadAhead();
    free(readAheadBuffer);
    readAheadBuffer = nullptr;
    readAheadCount = 0;
    readAheadOffset = -1;
    return StdFile::Close();
}

void CRandomFile::DropBlocks() {
    for (int i = 0; i < blockCount; i++) {
        free(blocks[i]);
        blocks[i] = nullptr;
        blockOffsets[i] = -1;
        blockBytes[i] = 0;
    }
    blockCount = 0;
    UpdateCurrent();
    // A block read ahead before the file changed would bring old bytes back.
    CLockHolder hold(lock);
    readAheadOffset = -1;
    readAheadCount = 0;
}

void CRandomFile::UpdateCurrent() {
    if (blockCount == 0 || blockOffsets[0] >= knownSize) {
        currentBlock = nullptr;
        currentOffset = 0;
        currentAvailable = 0;
        return;
    }
    currentBlock = blocks[0];
    currentOffset = blockOffsets[0];
    uint64_t belowEnd = uint64_t(knownSize - blockOffsets[0]);
    currentAvailable = belowEnd < blockBytes[0] ? belowEnd : blockBytes[0];
}

void CRandomFile::MoveBlockToFront(int index) {
    if (index <= 0 || index >= blockCount)
        return;
    unsigned char* block = blocks[index];
    int64_t offset = blockOffsets[index];
    uint32_t bytes = blockBytes[index];
    for (int i = index; i > 0; i--) {
        blocks[i] = blocks[i - 1];
        blockOffsets[i] = blockOffsets[i - 1];
        blockBytes[i] = blockBytes[i - 1];
    }
    blocks[0] = block;
    blockOffsets[0] = offset;
    blockBytes[0] = bytes;
}

uint32_t CRandomFile::ByteAtSlow(int64_t offset) {
    if (!IsOpen() || offset < 0)
        return NoByte;
    bool pastEnd = offset >= knownSize;
    if (pastEnd && !growing)
        return NoByte;

    int64_t blockOffset = offset - offset % BlockSize;
    int slot = -1;
    for (int i = 0; i < blockCount; i++) {
        if (blockOffsets[i] == blockOffset) {
            slot = i;
            break;
        }
    }
    if (slot >= 0) {
        MoveBlockToFront(slot);
        // A byte beyond what the block held when it was read may have been
        // written since: with the growing flag, read the block again.
        if (!pastEnd && uint64_t(offset - blockOffset) < blockBytes[0]) {
            UpdateCurrent();
            return blocks[0][offset - blockOffset];
        }
        if (!growing) {
            UpdateCurrent();
            return NoByte;
        }
    } else {
        unsigned char* block;
        if (blockCount < MaxBlocks) {
            block = static_cast<unsigned char*>(malloc(BlockSize));
            if (!block)
                return NoByte;
            blockCount++;
        } else {
            block = blocks[MaxBlocks - 1];
        }
        for (int i = blockCount - 1; i > 0; i--) {
            blocks[i] = blocks[i - 1];
            blockOffsets[i] = blockOffsets[i - 1];
            blockBytes[i] = blockBytes[i - 1];
        }
        blocks[0] = block;
        blockOffsets[0] = blockOffset;
        blockBytes[0] = 0;
    }

    uint32_t count = 0;
    uint32_t error = LoadBlock(blockOffset, blocks[0], count);
    if (error != 0) {
        // A block that failed to read holds no data: drop it rather than
        // serve its filler bytes later.
        free(blocks[0]);
        for (int i = 0; i + 1 < blockCount; i++) {
            blocks[i] = blocks[i + 1];
            blockOffsets[i] = blockOffsets[i + 1];
            blockBytes[i] = blockBytes[i + 1];
        }
        blockCount--;
        blocks[blockCount] = nullptr;
        blockOffsets[blockCount] = -1;
        blockBytes[blockCount] = 0;
        UpdateCurrent();
        return NoByte;
    }
    blockBytes[0] = count;

    // The file grew, or shrank, since it was opened.
    int64_t end = blockOffset + count;
    if (end > knownSize || (count < uint32_t(BlockSize) && end < knownSize))
        knownSize = end;
    UpdateCurrent();
    if (offset >= knownSize)
        return NoByte;
    return blocks[0][offset - blockOffset];
}

uint32_t CRandomFile::LoadBlock(int64_t blockOffset, unsigned char*& block, uint32_t& count) {
    int64_t next = -1;
    {
        CLockHolder hold(lock);
        if (lastError == 0 && readAheadOffset == blockOffset && readAheadCount > 0) {
            unsigned char* swap = block;
            block = readAheadBuffer;
            readAheadBuffer = swap;
            count = readAheadCount;
            readAheadCount = 0;
        } else {
            count = 0;
            uint32_t error = Seek(blockOffset);
            if (error == 0)
                error = StdFile::Read(block, BlockSize, &count);
            if (error == EndOfFile) {
                count = 0;
                return 0;
            }
            if (error != 0) {
                memset(block, 0xFF, BlockSize);
                count = 0;
                return error;
            }
        }
        if (count < uint32_t(BlockSize))
            return 0;

        if (blockCount == 1 || (blockCount > 1 && blockOffsets[1] == blockOffset - BlockSize))
            next = blockOffset + BlockSize;
        else if (blockCount > 1 && blockOffsets[1] == blockOffset + BlockSize && blockOffset != 0)
            next = blockOffset - BlockSize;
        readAheadOffset = next;
        readAheadCount = 0;
    }
    if (next != -1) {
        // The thread starts with the first read-ahead: a file that fits in
        // one block never needs it, and a search through many small files
        // would otherwise start and join one thread for each.
        if (!thread.IsValid() && readAheadBuffer) {
            quitReadAhead = false;
            thread.Reset(StartThread(&CRandomFile::ReadAheadThread, this));
        }
        request.Set();
    }
    return 0;
}

unsigned __stdcall CRandomFile::ReadAheadThread(void* self) {
    static_cast<CRandomFile*>(self)->ReadAheadLoop();
    return 0;
}

void CRandomFile::ReadAheadLoop() {
    RaiseThreadPriority();
    for (;;) {
        request.Wait(INFINITE);
        CLockHolder hold(lock);
        if (quitReadAhead)
            break;
        if (readAheadOffset != -1 && lastError == 0) {
            uint32_t count = 0;
            uint32_t error = Seek(readAheadOffset);
            if (error == 0)
                error = StdFile::Read(readAheadBuffer, BlockSize, &count);
            readAheadCount = error == 0 ? count : 0;
        }
        request.Reset();
    }
}

uint32_t CRandomFile::ReadAt(int64_t offset, void* buffer, uint32_t& count) {
    CLockHolder hold(lock);
    uint32_t room = count;
    count = 0;
    uint32_t error = Seek(offset);
    if (error != 0)
        return error;
    return StdFile::Read(buffer, room, &count);
}

uint32_t CRandomFile::Read(void* buffer, uint32_t n, uint32_t* count) {
    uint32_t got = n;
    uint32_t error = ReadAt(position, buffer, got);
    position += got;
    if (count) {
        *count = got;
    } else if (error == 0 && got < n) {
        error = EndOfFile;
    }
    return error;
}

uint32_t CRandomFile::ReadLine(char* buffer, int size) {
    if (size <= 1) {
        if (size == 1)
            buffer[0] = 0;
        return 0;
    }
    int length = 0;
    uint32_t error = 0;
    bool endSeen = false;
    while (length < size - 1) {
        char byte;
        uint32_t got = 0;
        error = Read(&byte, 1, &got);
        if (error != 0 || got == 0)
            break;
        if (byte == '\n' || byte == 0) {
            endSeen = true;
            break;
        }
        buffer[length++] = byte;
    }
    // Nothing read at all: the end of the file or a failure.
    if (length == 0 && !endSeen && error != 0) {
        buffer[0] = 0;
        return error;
    }
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n'))
        length--;
    buffer[length] = 0;
    return 0;
}
