#include "base/os/CWinHandle.h"

void CWinHandle::Reset(HANDLE newHandle) {
    Close();
    handle = newHandle;
}

void CWinHandle::Close() {
    if (handle != nullptr) {
        CloseHandle(handle);
        handle = nullptr;
    }
}

DWORD CWinHandle::WaitAndClose() {
    if (handle == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (WaitForSingleObject(handle, INFINITE) == WAIT_FAILED) {
        return GetLastError();
    }
    Close();
    return 0;
}
