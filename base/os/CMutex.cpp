#include "base/os/CMutex.h"

CMutex::CMutex(const char* name) : handle(CreateMutexA(nullptr, FALSE, name)), lockCount(0), ownerThread(0) {}

CMutex::~CMutex() {
    // The depth is ours to undo only when this thread holds it.
    if (HeldHere()) {
        while (lockCount > 0) {
            lockCount--;
            ReleaseMutex(handle);
        }
    }
    if (handle != nullptr) {
        CloseHandle(handle);
    }
}

bool CMutex::HeldHere() const {
    return lockCount.load() > 0 && ownerThread.load() == GetCurrentThreadId();
}

DWORD CMutex::Lock(DWORD milliseconds) {
    DWORD result = WaitForSingleObject(handle, milliseconds);
    switch (result) {
    case WAIT_OBJECT_0:
        ownerThread = GetCurrentThreadId();
        lockCount++;
        return 0;
    case WAIT_TIMEOUT: return ERROR_TIMEOUT;
    case WAIT_FAILED: return GetLastError();
    case WAIT_ABANDONED:
        // The last owner ended while holding it. Report that without taking the
        // lock: holding it uncounted would keep it from every other thread.
        ReleaseMutex(handle);
        return result;
    default: return result;
    }
}

void CMutex::Unlock() {
    if (HeldHere()) {
        lockCount--;
        ReleaseMutex(handle);
    }
}

bool CMutex::IsLocked() const {
    return lockCount.load() > 0;
}
