// Threads and synchronisation: thread start, waits, events, mutexes, thread
// ids and priorities, with the Windows wait semantics (WAIT_OBJECT_0 + i,
// WAIT_TIMEOUT, abandoned mutexes).
#pragma once

#include "platform/posix/W32Types.h"

#ifndef __stdcall
#define __stdcall
#endif

#define INFINITE 0xFFFFFFFF
#define MAXIMUM_WAIT_OBJECTS 64
#define STATUS_WAIT_0 0x00000000L
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_ABANDONED_0 0x00000080L
#define WAIT_FAILED 0xFFFFFFFF
#define STILL_ACTIVE 259

#define CREATE_SUSPENDED 0x00000004
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

#define EVENT_ALL_ACCESS 0x1F0003
#define MUTEX_ALL_ACCESS 0x1F0001

typedef unsigned(__stdcall* _beginthreadex_proc_type)(void*);

// Starts a thread running `start(arglist)`. Returns its handle (a waitable
// object signalled when the routine returns) or 0 with errno set.
uintptr_t _beginthreadex(void* security, unsigned stackSize, _beginthreadex_proc_type start, void* arglist,
                         unsigned initFlag, unsigned* threadId);
BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exitCode);

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL WINAPI SetEvent(HANDLE event);
BOOL WINAPI ResetEvent(HANDLE event);

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
BOOL WINAPI ReleaseMutex(HANDLE mutex);

DWORD WINAPI GetCurrentThreadId();
DWORD WINAPI GetCurrentProcessId();
// Pseudo-handles: they name the calling thread or process and need no closing.
HANDLE WINAPI GetCurrentThread();
HANDLE WINAPI GetCurrentProcess();

void WINAPI Sleep(DWORD milliseconds);
BOOL WINAPI SetThreadPriority(HANDLE thread, int priority);
int WINAPI GetThreadPriority(HANDLE thread);
