// Starting threads and changing their priority.
//
// Every thread of the system starts through StartThread, so the stack size and
// the way a routine is called are settled in one place. Thread routines keep
// their large buffers on the heap all the same.
#pragma once

#include "platform/win32.h"

// A thread routine: one pointer argument, the thread's exit code as result.
typedef unsigned(__stdcall* TThreadRoutine)(void* argument);

// Stack of every thread started here. Windows takes the size given to
// _beginthreadex as a commit size within a larger reservation; elsewhere it is
// the whole stack, so it is chosen large enough to stand on its own.
const unsigned ThreadStackSize = 256 * 1024;

// Starts a thread running routine(argument) at once. Returns its handle, which
// the caller owns (a CWinHandle, to wait for the thread) or closes; 0 when the
// thread could not be started.
HANDLE StartThread(TThreadRoutine routine, void* argument);

// The calling thread's priority to the highest, and back to normal; both
// return 0.
int RaiseThreadPriority();
int RestoreThreadPriority();
