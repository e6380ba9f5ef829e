// CEvent: an unnamed manual-reset event, created not signalled.
//
// A waiter that wakes resets the event itself before it waits again.
#pragma once

#include "platform/win32.h"

class CEvent {
public:
    CEvent();
    ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void Set();
    void Reset();
    // Waits up to the time-out in milliseconds (INFINITE, i.e. -1, for no
    // limit). The wait result: WAIT_OBJECT_0 (0) when signalled, WAIT_TIMEOUT
    // (258), or WAIT_FAILED.
    DWORD Wait(DWORD milliseconds);

    HANDLE Handle() const { return handle; }

private:
    HANDLE handle;
};
