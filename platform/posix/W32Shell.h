// Shell execution and network names: the parts of shell32 and mpr the system
// calls. Neither service exists here, and the functions answer as Windows does
// when it has no association for a file or no network.
#pragma once

#include "platform/posix/W32Types.h"

// ShowWindow commands, as ShellExecuteW takes them.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOW 5

// ShellExecuteW results up to 32 are errors.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

// Returns a value above 32 on success, else an error value up to 32.
HINSTANCE WINAPI ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                               INT showCommand);

#define UNIVERSAL_NAME_INFO_LEVEL 0x00000001
#define REMOTE_NAME_INFO_LEVEL 0x00000002

typedef struct _UNIVERSAL_NAME_INFOA {
    LPSTR lpUniversalName;
} UNIVERSAL_NAME_INFOA, *LPUNIVERSAL_NAME_INFOA;

// The UNC name of a path on a network drive. Without a network every drive is
// local: fails with ERROR_NOT_CONNECTED.
DWORD WINAPI WNetGetUniversalNameA(LPCSTR localPath, DWORD infoLevel, LPVOID buffer, LPDWORD bufferSize);

// The arguments of a command line by the C runtime's rules (the first one is
// the program name). One block, freed with LocalFree; null on failure.
LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR lpCmdLine, int* pNumArgs);
