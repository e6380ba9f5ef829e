// Shell execution and network names, for a system without either.
#include "platform/win32.h"

HINSTANCE WINAPI ShellExecuteW(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    // No file associations exist here: a missing file is reported as such,
    // anything else as having no association.
    if (file == nullptr || GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES) {
        return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(SE_ERR_FNF));
    }
    return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(SE_ERR_NOASSOC));
}

DWORD WINAPI WNetGetUniversalNameA(LPCSTR localPath, DWORD infoLevel, LPVOID buffer, LPDWORD bufferSize) {
    if (localPath == nullptr || buffer == nullptr || bufferSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return ERROR_NOT_CONNECTED;
}
