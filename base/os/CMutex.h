// CMutex: a recursive lock that knows its owner and how deep it is held.
//
// The thread that holds it may lock it again; each Unlock releases one level
// and the lock is free when the depth is back at 0. Unlock from a thread that
// does not hold it is ignored. Destroying it on the owning thread releases
// every level still held.
#pragma once

#include "platform/win32.h"

class CMutex {
public:
    // Named when a name is given (the same name reaches the same mutex), else
    // private to this object. Not owned at first.
    explicit CMutex(const char* name = nullptr);
    ~CMutex();
    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;

    // Waits up to the time-out in milliseconds (INFINITE for no limit).
    // 0 when taken; ERROR_TIMEOUT (1460) when the time ran out; the Windows
    // error when the wait failed; any other wait result as it is, uncounted.
    DWORD Lock(DWORD milliseconds = INFINITE);
    void Unlock();
    // True while some thread holds it (the depth is above 0).
    bool IsLocked() const;

private:
    // Runs with the Windows mutex taken one extra level by the calling thread,
    // so that the depth and owner fields can be read safely from any thread;
    // false when another thread holds it.
    template <class F>
    bool WithProbe(F f) const;

    HANDLE handle;
    // Written only by the thread that holds the Windows mutex.
    LONG lockCount;     // depth of the owner's locks
    DWORD ownerThread;  // kept after the depth returns to 0
};
