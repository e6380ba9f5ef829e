// CWinHandle: owner of one Windows handle (thread, process or file).
//
// The handle is closed when the owner goes or takes another one; WaitAndClose
// is how a caller waits for a thread it started to end.
#pragma once

#include "platform/win32.h"

class CWinHandle {
public:
    CWinHandle() : handle(nullptr) {}
    explicit CWinHandle(HANDLE handle) : handle(handle) {}
    ~CWinHandle() { Close(); }
    CWinHandle(const CWinHandle&) = delete;
    CWinHandle& operator=(const CWinHandle&) = delete;

    // Closes the held handle, if any, and holds the new one.
    void Reset(HANDLE newHandle);
    // Closes the held handle, if any, and empties the holder.
    void Close();
    // Waits without time-out until the handle is signalled (a thread has
    // ended), then closes it: 0. A failed wait returns the Windows error and
    // keeps the handle; an empty holder gives ERROR_INVALID_HANDLE.
    DWORD WaitAndClose();

    bool IsValid() const { return handle != nullptr; }
    HANDLE Get() const { return handle; }

private:
    HANDLE handle;
};
