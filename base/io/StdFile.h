// StdFile: the system's buffered file.
//
// One Windows file handle with a 4096-byte buffer that serves reading or
// writing at a time, 64-bit positions, and a kept error code in place of
// exceptions: once an operation fails (or a read meets the end of the file),
// Read and Write return that code at once until Flush, Seek or a new Open
// clears it. Paths are opened in their long-path form (\\?\...), but the
// object keeps the path as the caller gave it.
//
// No lock: one thread uses a StdFile at a time.
#pragma once

#include <cstdint>

#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

class StdFile {
public:
    static constexpr uint32_t BufferSize = 4096;
    // The kept error after a read that found nothing because the file ended.
    static constexpr uint32_t EndOfFile = 0xFFFFFFFF;

    // Open modes, combined.
    enum {
        ModeRead = 1,
        ModeWrite = 2,
        ModeCreate = 4,  // with write: create the file when it is missing
        ModeKeep = 8,    // with write: keep the contents and start at the end
        ModeText = 0x20  // WriteText writes each LF as CR LF
    };
    // Share levels: what others may do with the file while it is open.
    enum { ShareReadWrite = 0, ShareWrite = 1, ShareRead = 2, ShareNone = 3 };

    StdFile();
    // Opens when a path is given (the error is then kept, see LastError).
    StdFile(const Westring& path, int mode, int shareLevel = ShareReadWrite);
    // An 8-bit path in the code page the Windows file functions use.
    StdFile(const char* path, int mode, int shareLevel = ShareReadWrite);
    ~StdFile();
    StdFile(const StdFile&) = delete;
    StdFile& operator=(const StdFile&) = delete;

    // Closes a file that is open, then opens the path. 0 or the Windows error.
    uint32_t Open(const Westring& path, int mode, int shareLevel = ShareReadWrite);
    uint32_t OpenNarrow(const char* path, int mode, int shareLevel = ShareReadWrite);
    // Takes over an open handle (such as a standard handle) in read mode at
    // position 0; a file that is open is closed first. The handle is closed
    // with the object.
    void Attach(HANDLE handle);
    // Flushes and closes; the first error of the two, 0 when not open.
    uint32_t Close();
    // Writes the waiting bytes and clears the kept error; ERROR_INVALID_HANDLE
    // when not open.
    uint32_t Flush();

    // Up to n bytes; *count (optional) gets the bytes delivered. 0 when
    // anything was delivered (or n is 0), EndOfFile when the file had ended,
    // or the Windows error of a failed read.
    uint32_t Read(void* buffer, uint32_t n, uint32_t* count = nullptr);
    // One line into a buffer of n bytes (at most n - 1 characters), up to LF or
    // NUL, trailing CR and LF removed, NUL-terminated. A longer line continues
    // on the next call. 0 for a line (also an empty one); EndOfFile, or the
    // error, when nothing was read.
    uint32_t ReadLine(char* buffer, int n);
    uint32_t Write(const void* buffer, uint32_t n);
    // A NUL-terminated text; in text mode each LF goes out as CR LF.
    uint32_t WriteText(const char* text);
    // The text, then CR LF.
    uint32_t WriteLine(const char* text);

    // A larger buffer (for a channel that should go out in few writes); false,
    // keeping the old one, while bytes wait in it or when memory is short.
    bool SetBufferCapacity(uint32_t bytes);

    uint32_t Seek(int64_t position);
    // Back to the start; when others may write the file, the buffered data is
    // dropped so that it is read afresh.
    uint32_t Rewind();
    uint32_t SeekRelative(int32_t offset);
    int64_t Tell() const;
    // Sets the end of the file at the position (after a flush).
    uint32_t Truncate(int64_t position);
    // The size of the open file; a failure is kept (LastError) and gives 0.
    int64_t GetSize();
    uint32_t GetModifyTime(TTimestamp& time);
    uint32_t GetModifyDosTime(uint16_t& date, uint16_t& time);

    bool IsOpen() const { return handle != nullptr; }
    uint32_t LastError() const { return lastError; }
    const Westring& Path() const { return path; }
    HANDLE Handle() const { return handle; }
    bool IsTextMode() const { return textMode; }

protected:
    enum { BufferReading = 0, BufferWriting = 1 };

    uint32_t Keep(uint32_t error) { return lastError = error; }
    uint32_t FillBuffer();  // one ReadFile of a whole buffer
    uint32_t WriteAll(const unsigned char* bytes, uint32_t n, uint32_t& written);
    uint32_t MoveHandle(int64_t position);
    uint32_t SwitchToReading();  // writes what waits, then reads from there

    HANDLE handle;
    uint32_t lastError;
    unsigned char* buffer;
    uint32_t bufferCapacity = BufferSize;
    uint32_t bufferPos;
    uint32_t bufferCount;
    int bufferMode;
    int64_t filePos;
    int shareLevel;
    Westring path;
    bool textMode;
};
