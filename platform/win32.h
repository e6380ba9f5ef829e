// The one door to the operating system.
//
// Built for Windows this is the real API. Everywhere else it declares the subset
// of the Win32 API that Quorvane calls, implemented in platform/posix/ over POSIX
// with Windows semantics (drive letters, error codes, rename and delete rules).
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>
#include <process.h>
#include <io.h>
#include <fcntl.h>
// Left out by WIN32_LEAN_AND_MEAN: ShellExecuteW and the network names.
#include <shellapi.h>
#include <winnetwk.h>
// The LAN Manager records of the network enumerations loaded from netapi32.
#include <lm.h>
// Wide literals: WCHAR is wchar_t on Windows and char16_t elsewhere.
#define W32TEXT(s) L##s
// The form in which a child program is given a path as an argument: on
// Windows the path itself (the other systems' layer translates it).
inline DWORD GetProgramArgumentPathW(LPCWSTR lpPath, LPWSTR lpBuffer, DWORD nBufferLength) {
    DWORD n = static_cast<DWORD>(lstrlenW(lpPath));
    if (lpBuffer == nullptr || nBufferLength <= n) {
        return n + 1;
    }
    lstrcpyW(lpBuffer, lpPath);
    return n;
}
#else
#include "platform/posix/W32Types.h"
#include "platform/posix/W32Errors.h"
#include "platform/posix/W32Files.h"
#include "platform/posix/W32Sync.h"
#include "platform/posix/W32Pipes.h"
#include "platform/posix/W32Text.h"
#include "platform/posix/W32System.h"
#include "platform/posix/W32Shell.h"
#include "platform/posix/W32Console.h"
#include "platform/posix/W32Replace.h"
#include "platform/posix/W32ConsoleControl.h"
#include "platform/posix/W32Network.h"
#include "platform/posix/W32Crt.h"
#include "platform/posix/W32Process.h"
#define W32TEXT(s) u##s
#endif
