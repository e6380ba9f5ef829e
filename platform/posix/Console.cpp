// No handle of this layer is a console (see W32Console.h).
#include "platform/posix/W32Console.h"
#include "platform/posix/W32Errors.h"

BOOL WINAPI GetConsoleMode(HANDLE console, LPDWORD mode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

BOOL WINAPI SetConsoleMode(HANDLE console, DWORD mode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
