// Console control events: Ctrl-C, Ctrl-Break, closing the console, log-off and
// shut-down reach a program as calls of its control handlers, on a thread of
// their own. Here SIGINT arrives as Ctrl-C, SIGHUP as the console closing and
// SIGTERM as shut-down.
#pragma once

#include "platform/posix/W32Types.h"

#define CTRL_C_EVENT 0
#define CTRL_BREAK_EVENT 1
#define CTRL_CLOSE_EVENT 2
#define CTRL_LOGOFF_EVENT 5
#define CTRL_SHUTDOWN_EVENT 6

// Which system errors the process reports itself instead of the system asking.
#define SEM_FAILCRITICALERRORS 0x0001
#define SEM_NOGPFAULTERRORBOX 0x0002
#define SEM_NOOPENFILEERRORBOX 0x8000

typedef BOOL(WINAPI* PHANDLER_ROUTINE)(DWORD dwCtrlType);

// Adds or removes a handler; handlers are called newest first until one
// returns TRUE. A null routine with TRUE makes the process ignore Ctrl-C,
// with FALSE lets it answer Ctrl-C again. When no handler takes an event the
// process ends, as the signal would have ended it.
BOOL WINAPI SetConsoleCtrlHandler(PHANDLER_ROUTINE HandlerRoutine, BOOL Add);
// Sends Ctrl-C or Ctrl-Break to a process group (0: the caller's own group,
// the caller included).
BOOL WINAPI GenerateConsoleCtrlEvent(DWORD dwCtrlEvent, DWORD dwProcessGroupId);
// Kept for the callers; nothing here asks the user about system errors.
UINT WINAPI SetErrorMode(UINT uMode);
