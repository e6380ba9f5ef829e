// Processes: what kind of program a file holds, starting child programs with
// their standard handles and environment, waiting for them and reading their
// exit codes.
#pragma once

#include "platform/posix/W32Types.h"

// Kinds of GetBinaryTypeW. Here a program is an ELF file, or a "#!" script
// that its owner may execute: both answer SCS_64BIT_BINARY.
#define SCS_32BIT_BINARY 0
#define SCS_DOS_BINARY 1
#define SCS_WOW_BINARY 2
#define SCS_PIF_BINARY 3
#define SCS_POSIX_BINARY 4
#define SCS_OS216_BINARY 5
#define SCS_64BIT_BINARY 6

// TRUE with the kind when the file is a program; FALSE with
// ERROR_BAD_EXE_FORMAT for any other file, or the error of opening it.
BOOL WINAPI GetBinaryTypeW(LPCWSTR lpApplicationName, LPDWORD lpBinaryType);

typedef struct _COORD {
    SHORT X;
    SHORT Y;
} COORD, *PCOORD;

#ifndef S_OK
#define S_OK ((HRESULT)0)
#endif
#ifndef E_FAIL
#define E_FAIL ((HRESULT)0x80004005L)
#endif
#ifndef E_INVALIDARG
#define E_INVALIDARG ((HRESULT)0x80070057L)
#endif

#define STARTF_USESTDHANDLES 0x00000100
#define DEBUG_PROCESS 0x00000001
#define DETACHED_PROCESS 0x00000008
#define CREATE_NEW_CONSOLE 0x00000010
#define CREATE_NEW_PROCESS_GROUP 0x00000200
#define CREATE_UNICODE_ENVIRONMENT 0x00000400
#define EXTENDED_STARTUPINFO_PRESENT 0x00080000
#define CREATE_DEFAULT_ERROR_MODE 0x04000000
#define CREATE_NO_WINDOW 0x08000000

typedef struct _STARTUPINFOW {
    DWORD cb;
    LPWSTR lpReserved;
    LPWSTR lpDesktop;
    LPWSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
} STARTUPINFOW, *LPSTARTUPINFOW;

// A pseudo console: a pseudo-terminal here. The child that gets it leads a
// session of its own with the terminal as its controlling terminal; what it
// writes comes out of the output handle given at creation, what is written
// into the input handle reaches it as typed (Ctrl-C interrupts its process
// group).
typedef void* HPCON;
// The process's attribute list of the extended start information: only the
// pseudo console is known.
typedef struct _PROC_THREAD_ATTRIBUTE_LIST* LPPROC_THREAD_ATTRIBUTE_LIST;
#define PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE 0x00020016

typedef struct _STARTUPINFOEXW {
    STARTUPINFOW StartupInfo;
    LPPROC_THREAD_ATTRIBUTE_LIST lpAttributeList;
} STARTUPINFOEXW, *LPSTARTUPINFOEXW;

typedef struct _PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
} PROCESS_INFORMATION, *LPPROCESS_INFORMATION;

BOOL WINAPI InitializeProcThreadAttributeList(LPPROC_THREAD_ATTRIBUTE_LIST lpAttributeList, DWORD dwAttributeCount,
                                              DWORD dwFlags, SIZE_T* lpSize);
BOOL WINAPI UpdateProcThreadAttribute(LPPROC_THREAD_ATTRIBUTE_LIST lpAttributeList, DWORD dwFlags, DWORD_PTR Attribute,
                                      PVOID lpValue, SIZE_T cbSize, PVOID lpPreviousValue, SIZE_T* lpReturnSize);
void WINAPI DeleteProcThreadAttributeList(LPPROC_THREAD_ATTRIBUTE_LIST lpAttributeList);

HRESULT WINAPI CreatePseudoConsole(COORD size, HANDLE hInput, HANDLE hOutput, DWORD dwFlags, HPCON* phPC);
HRESULT WINAPI ResizePseudoConsole(HPCON hPC, COORD size);
// Output still in the terminal is passed on to the output handle, which is
// then closed (its reader sees the end); the session's processes lose their
// terminal.
void WINAPI ClosePseudoConsole(HPCON hPC);

// Starts a program. The command line is split into the child's arguments by
// the C runtime's rules; the application name (a Windows path) is run, or,
// when null, the first word of the command line, searched along PATH. With
// STARTF_USESTDHANDLES the three handles are the child's standard streams; a
// null one is the pseudo console when there is one, else the null device.
// Without it every stream is the pseudo console, or the null device. Every
// child leads a session and process group of its own (its id is the process
// id). The environment block (UTF-16 with CREATE_UNICODE_ENVIRONMENT, else
// UTF-8) has PATH in drive form and is given back to the child in POSIX form;
// names beginning with "=" are not passed. The current directory is a Windows
// path, null for the process's own.
BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
                           LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                           LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation);
// STILL_ACTIVE while the process runs; its exit status after (128 + the
// signal's number when a signal ended it).
BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode);
DWORD WINAPI GetProcessId(HANDLE process);
// The session of any process by its id; fails with ERROR_INVALID_PARAMETER
// when no process has that id, which is how a caller learns that a process
// has gone.
BOOL WINAPI ProcessIdToSessionId(DWORD dwProcessId, DWORD* pSessionId);
