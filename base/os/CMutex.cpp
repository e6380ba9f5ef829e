#include "base/os/CMutex.h"

CMutex::CMutex(const char* name) : handle(CreateMutexA(nullptr, FALSE, name)), lockCount(0), ownerThread(0) {}

CMutex::~CMutex() {
    // The depth is ours to undo only when this thread holds it.
    WithProbe([this]() {
        if (ownerThread == GetCurrentThreadId()) {
            while (lockCount > 0) {
                lockCount--;
                ReleaseMutex(handle);
            }
        }
    });
    if (handle != nullptr) {
        CloseHandle(handle);
    }
}

template <class F>
bool CMutex::WithProbe(F f) const {
    DWORD result = WaitForSingleObject(handle, 0);
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) {
        return false;
    }
    f();
    ReleaseMutex(handle);
    return true;
}

DWORD CMutex::Lock(DWORD milliseconds) {
    DWORD result = WaitForSingleObject(handle, milliseconds);
    switch (result) {
    case WAIT_OBJECT_0:
        lockCount++;
        ownerThread = GetCurrentThreadId();
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
    WithProbe([this]() {
        if (ownerThread == GetCurrentThreadId() && lockCount > 0) {
            lockCount--;
            ReleaseMutex(handle);
        }
    });
}

bool CMutex::IsLocked() const {
    bool locked = true;  // held by another thread when the probe fails
    WithProbe([this, &locked]() { locked = lockCount > 0; });
    return locked;
}
