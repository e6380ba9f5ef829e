#include "base/os/OverlappedPipe.h"

#include "base/strings/Estring.h"

bool CreateOverlappedPipe(HANDLE& readEnd, HANDLE& writeEnd, LPSECURITY_ATTRIBUTES security, DWORD readFlags,
                          DWORD writeFlags) {
    readEnd = writeEnd = nullptr;
    if ((readFlags | writeFlags) & ~DWORD(FILE_FLAG_OVERLAPPED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // Anonymous pipes cannot be read overlapped: a named pipe with a name no
    // other pipe of the process has serves instead.
    static LONG serial = 0;
    LONG number = __atomic_add_fetch(&serial, 1, __ATOMIC_RELAXED);
    Estring name;
    name.Format("\\\\.\\Pipe\\RemoteExeAnon.%08x.%08x", unsigned(GetCurrentProcessId()), unsigned(number));

    const DWORD bufferSize = 4096;
    HANDLE read = CreateNamedPipeA(name.Data(), PIPE_ACCESS_INBOUND | readFlags, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   bufferSize, bufferSize, 0, security);
    if (read == INVALID_HANDLE_VALUE) {
        return false;
    }
    HANDLE write = CreateFileA(name.Data(), GENERIC_WRITE, 0, security, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | writeFlags, nullptr);
    if (write == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        CloseHandle(read);
        SetLastError(error);
        return false;
    }
    readEnd = read;
    writeEnd = write;
    return true;
}
