// CMutex: a recursive lock that knows its owner and how deep it is held.
//
// The thread that holds it may lock it again; each Unlock releases one level
// and the lock is free when the depth is back at 0. Unlock from a thread that
// does not hold it is ignored. Destroying it on the owning thread releases
// every level still held.
#pragma once

#include <atomic>

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
    // One release of the Windows mutex, and only by the thread that holds it.
    void Unlock();
    // True while some thread holds it (the depth is above 0).
    bool IsLocked() const;

private:
    // Whether the calling thread holds the lock now.
    bool HeldHere() const;

    HANDLE handle;
    // Written only by the thread that holds the Windows mutex, read by any.
    // The holder stores its id before it raises the depth, and a reader looks
    // at the depth before the id: a thread that reads a depth above 0 and its
    // own id holds the lock itself, never sees an id it left behind.
    std::atomic<LONG> lockCount;     // depth of the owner's locks
    std::atomic<DWORD> ownerThread;  // kept after the depth returns to 0
};
