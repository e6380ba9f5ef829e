#include "base/io/StdFile.h"

#include <cstdlib>
#include <cstring>

#include "base/strings/Utf16String.h"

namespace {

const DWORD ShareModes[] = {
    FILE_SHARE_READ | FILE_SHARE_WRITE,  // others may read and write
    FILE_SHARE_WRITE,                    // others may write
    FILE_SHARE_READ,                     // others may read
    0,                                   // no sharing
};

DWORD CreationDisposition(int mode) {
    if (!(mode & StdFile::ModeWrite)) {
        return OPEN_EXISTING;
    }
    bool create = (mode & StdFile::ModeCreate) != 0;
    bool keep = (mode & StdFile::ModeKeep) != 0;
    if (keep) {
        return create ? OPEN_ALWAYS : OPEN_EXISTING;
    }
    return create ? CREATE_ALWAYS : TRUNCATE_EXISTING;
}

// Room for the resolved path, as the long-path form allows it.
const DWORD FullPathRoom = 4092;

}  // namespace

StdFile::StdFile()
    : handle(nullptr), lastError(0), buffer(static_cast<unsigned char*>(malloc(BufferSize))), bufferPos(0),
      bufferCount(0), bufferMode(BufferReading), filePos(0), shareLevel(0), textMode(false) {}

StdFile::StdFile(const Westring& path, int mode, int shareLevel) : StdFile() {
    if (!path.IsEmpty()) {
        Open(path, mode, shareLevel);
    }
}

StdFile::StdFile(const char* path, int mode, int shareLevel) : StdFile() {
    if (path != nullptr && *path != 0) {
        OpenNarrow(path, mode, shareLevel);
    }
}

StdFile::~StdFile() {
    Close();
    free(buffer);
}

bool StdFile::SetBufferCapacity(uint32_t bytes) {
    if (bufferCount != 0 || bytes == 0) {
        return false;
    }
    unsigned char* grown = static_cast<unsigned char*>(malloc(bytes));
    if (grown == nullptr) {
        return false;
    }
    free(buffer);
    buffer = grown;
    bufferCapacity = bytes;
    bufferPos = 0;
    return true;
}

uint32_t StdFile::OpenNarrow(const char* narrowPath, int mode, int level) {
    return Open(Westring(narrowPath, CP_ACP), mode, level);
}

uint32_t StdFile::Open(const Westring& newPath, int mode, int level) {
    textMode = (mode & ModeText) != 0;
    shareLevel = level;
    path = newPath;
    Close();
    lastError = 0;
    bufferPos = bufferCount = 0;
    bufferMode = BufferReading;
    filePos = 0;

    Utf16String given(newPath);
    const WCHAR* name = given.Data();
    // Everything but UNC and already prefixed paths is opened in the long-path
    // form, which takes only absolute paths.
    WCHAR longForm[4 + FullPathRoom];
    if (!(name[0] == '\\' && name[1] == '\\')) {
        DWORD n = GetFullPathNameW(name, FullPathRoom, longForm + 4, nullptr);
        if (n == 0) {
            return Keep(GetLastError());
        }
        if (n >= FullPathRoom) {
            return Keep(ERROR_FILENAME_EXCED_RANGE);
        }
        longForm[0] = '\\';
        longForm[1] = '\\';
        longForm[2] = '?';
        longForm[3] = '\\';
        name = longForm;
    }

    DWORD access = 0;
    if (mode & ModeRead) {
        access |= GENERIC_READ;
    }
    if (mode & ModeWrite) {
        access |= GENERIC_WRITE;
    }
    DWORD share = (level >= 0 && level <= 3) ? ShareModes[level] : 0;
    HANDLE h = CreateFileW(name, access, share, nullptr, CreationDisposition(mode), 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return Keep(GetLastError());
    }
    handle = h;
    if ((mode & ModeWrite) && (mode & ModeKeep)) {
        LARGE_INTEGER zero;
        LARGE_INTEGER end;
        zero.QuadPart = 0;
        if (!SetFilePointerEx(handle, zero, &end, FILE_END)) {
            return Keep(GetLastError());
        }
        filePos = end.QuadPart;
    }
    return 0;
}

void StdFile::Attach(HANDLE newHandle) {
    Close();
    handle = newHandle;
    lastError = 0;
    bufferPos = bufferCount = 0;
    bufferMode = BufferReading;
    filePos = 0;
}

uint32_t StdFile::Close() {
    if (handle == nullptr) {
        return 0;
    }
    uint32_t error = Flush();
    if (!CloseHandle(handle) && error == 0) {
        error = GetLastError();
    }
    handle = nullptr;
    bufferPos = bufferCount = 0;
    bufferMode = BufferReading;
    filePos = 0;
    return Keep(error);
}

uint32_t StdFile::WriteAll(const unsigned char* bytes, uint32_t n, uint32_t& written) {
    // A pipe or a full disk may take less than asked; write on until all is out.
    written = 0;
    while (written < n) {
        DWORD done = 0;
        if (!WriteFile(handle, bytes + written, n - written, &done, nullptr)) {
            return GetLastError();
        }
        if (done == 0) {
            return ERROR_WRITE_FAULT;
        }
        written += done;
    }
    return 0;
}

uint32_t StdFile::Flush() {
    lastError = 0;
    if (handle == nullptr) {
        return Keep(ERROR_INVALID_HANDLE);
    }
    if (bufferMode != BufferWriting || bufferCount == 0) {
        return 0;
    }
    uint32_t written = 0;
    uint32_t error = WriteAll(buffer, bufferCount, written);
    filePos += written;
    if (error != 0) {
        // What did not go out stays waiting for the next flush.
        memmove(buffer, buffer + written, bufferCount - written);
        bufferCount -= written;
        return Keep(error);
    }
    bufferCount = 0;
    bufferPos = 0;
    return 0;
}

uint32_t StdFile::SwitchToReading() {
    if (bufferMode == BufferWriting) {
        if (Flush() != 0) {
            return lastError;
        }
        bufferPos = bufferCount = 0;
        bufferMode = BufferReading;
    }
    return 0;
}

uint32_t StdFile::MoveHandle(int64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = position;
    if (!SetFilePointerEx(handle, to, nullptr, FILE_BEGIN)) {
        return GetLastError();
    }
    return 0;
}

uint32_t StdFile::FillBuffer() {
    DWORD got = 0;
    bufferPos = bufferCount = 0;
    if (!ReadFile(handle, buffer, bufferCapacity, &got, nullptr)) {
        return GetLastError();
    }
    bufferCount = got;
    filePos += got;
    return 0;
}

uint32_t StdFile::Read(void* out, uint32_t n, uint32_t* count) {
    if (count != nullptr) {
        *count = 0;
    }
    if (lastError != 0) {
        return lastError;
    }
    if (handle == nullptr) {
        return Keep(ERROR_INVALID_HANDLE);
    }
    if (SwitchToReading() != 0) {
        return lastError;
    }
    unsigned char* to = static_cast<unsigned char*>(out);
    uint32_t delivered = 0;
    uint32_t error = 0;
    while (delivered < n) {
        if (bufferPos == bufferCount) {
            error = FillBuffer();
            if (error != 0 || bufferCount == 0) {
                break;
            }
        }
        uint32_t piece = bufferCount - bufferPos;
        if (piece > n - delivered) {
            piece = n - delivered;
        }
        memcpy(to + delivered, buffer + bufferPos, piece);
        bufferPos += piece;
        delivered += piece;
    }
    if (count != nullptr) {
        *count = delivered;
    }
    if (error != 0) {
        return Keep(error);
    }
    if (delivered > 0 || n == 0) {
        return 0;
    }
    return Keep(EndOfFile);
}

uint32_t StdFile::ReadLine(char* out, int n) {
    if (n <= 0) {
        return lastError;
    }
    int length = 0;
    while (length < n - 1) {
        char c;
        uint32_t got = 0;
        if (Read(&c, 1, &got) != 0 || got == 0) {
            break;
        }
        if (c == '\n' || c == 0) {
            break;
        }
        out[length++] = c;
    }
    while (length > 0 && (out[length - 1] == '\r' || out[length - 1] == '\n')) {
        length--;
    }
    out[length] = 0;
    return length > 0 ? 0 : lastError;
}

uint32_t StdFile::Write(const void* bytes, uint32_t n) {
    if (lastError != 0) {
        return lastError;
    }
    if (handle == nullptr) {
        return Keep(ERROR_INVALID_HANDLE);
    }
    if (bufferMode == BufferReading) {
        int64_t logical = Tell();
        if (logical != filePos) {
            uint32_t error = MoveHandle(logical);
            if (error != 0) {
                return Keep(error);
            }
            filePos = logical;
        }
        bufferPos = bufferCount = 0;
        bufferMode = BufferWriting;
    }
    const unsigned char* from = static_cast<const unsigned char*>(bytes);
    while (n > 0) {
        uint32_t piece = bufferCapacity - bufferCount;
        if (piece > n) {
            piece = n;
        }
        memcpy(buffer + bufferCount, from, piece);
        bufferCount += piece;
        from += piece;
        n -= piece;
        if (bufferCount == bufferCapacity && Flush() != 0) {
            return lastError;
        }
    }
    return 0;
}

uint32_t StdFile::WriteText(const char* text) {
    if (!textMode) {
        return Write(text, static_cast<uint32_t>(strlen(text)));
    }
    // Each run up to an LF goes out as it is, the LF as CR LF.
    while (*text != 0) {
        const char* lf = strchr(text, '\n');
        uint32_t run = lf != nullptr ? static_cast<uint32_t>(lf - text) : static_cast<uint32_t>(strlen(text));
        if (run > 0 && Write(text, run) != 0) {
            return lastError;
        }
        if (lf == nullptr) {
            break;
        }
        if (Write("\r\n", 2) != 0) {
            return lastError;
        }
        text = lf + 1;
    }
    return lastError;
}

uint32_t StdFile::WriteLine(const char* text) {
    if (Write(text, static_cast<uint32_t>(strlen(text))) == 0) {
        Write("\r\n", 2);
    }
    return lastError;
}

int64_t StdFile::Tell() const {
    if (bufferMode == BufferWriting) {
        return filePos + bufferCount;
    }
    return filePos - bufferCount + bufferPos;
}

uint32_t StdFile::Seek(int64_t position) {
    if (handle == nullptr) {
        return Keep(ERROR_INVALID_HANDLE);
    }
    if (SwitchToReading() != 0) {
        return lastError;
    }
    int64_t bufferStart = filePos - bufferCount;
    if (position >= bufferStart && position <= filePos) {
        bufferPos = static_cast<uint32_t>(position - bufferStart);
        lastError = 0;
        return 0;
    }
    lastError = 0;
    bufferPos = bufferCount = 0;
    if (position != filePos) {
        uint32_t error = MoveHandle(position);
        if (error != 0) {
            return Keep(error);
        }
        filePos = position;
    }
    return 0;
}

uint32_t StdFile::Rewind() {
    if (lastError == 0 && (shareLevel == ShareReadWrite || shareLevel == ShareWrite) && bufferMode == BufferReading) {
        // Others may have changed the file since it was buffered: Seek then
        // reads it afresh from the handle.
        bufferPos = bufferCount = 0;
    }
    return Seek(0);
}

uint32_t StdFile::SeekRelative(int32_t offset) {
    return Seek(Tell() + offset);
}

uint32_t StdFile::Truncate(int64_t position) {
    if (Flush() != 0) {
        return lastError;
    }
    // Reads and writes go on at the logical position; read data buffered from
    // beyond the new end must not be handed out.
    int64_t logical = Tell();
    uint32_t error = MoveHandle(position);
    if (error == 0 && !SetEndOfFile(handle)) {
        error = GetLastError();
    }
    uint32_t back = MoveHandle(logical);
    bufferPos = bufferCount = 0;
    filePos = logical;
    if (error == 0) {
        error = back;
    }
    return Keep(error);
}

int64_t StdFile::GetSize() {
    if (handle == nullptr) {
        Keep(ERROR_INVALID_HANDLE);
        return 0;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size)) {
        Keep(GetLastError());
        return 0;
    }
    int64_t result = size.QuadPart;
    // Bytes still waiting in the buffer belong to the file already.
    if (bufferMode == BufferWriting && filePos + bufferCount > result) {
        result = filePos + bufferCount;
    }
    return result;
}

uint32_t StdFile::GetModifyTime(TTimestamp& time) {
    if (handle == nullptr) {
        return Keep(ERROR_INVALID_HANDLE);
    }
    FILETIME written;
    if (!GetFileTime(handle, nullptr, nullptr, &written)) {
        return Keep(GetLastError());
    }
    time = TTimestamp::FromFileTime(written);
    return 0;
}

uint32_t StdFile::GetModifyDosTime(uint16_t& date, uint16_t& time) {
    TTimestamp stamp;
    uint32_t error = GetModifyTime(stamp);
    if (error == 0) {
        stamp.ToDosDateTime(date, time);
    }
    return error;
}
