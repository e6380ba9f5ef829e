// The registry: only what the system reads of it. The one key answered is the
// user's shell folders, whose "Desktop" value names the XDG desktop folder in
// drive form; every other key is missing.
#pragma once

#include "platform/posix/W32Types.h"

// HKEY is a HANDLE (W32Types.h).
typedef HKEY* PHKEY;
typedef DWORD REGSAM;

#define HKEY_CLASSES_ROOT ((HKEY)(uintptr_t)0x80000000)
#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002)

#define KEY_QUERY_VALUE 0x0001
#define KEY_READ 0x20019

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2

// "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders" under
// HKEY_CURRENT_USER opens; any other key gives ERROR_FILE_NOT_FOUND.
LONG WINAPI RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// "Desktop" of the shell folders: the drive form of XDG_DESKTOP_DIR (from
// user-dirs.dirs), else of $HOME/Desktop, as REG_SZ; ERROR_FILE_NOT_FOUND
// when no drive holds that folder or for any other value, ERROR_MORE_DATA
// (with the size needed) when the buffer is too small.
LONG WINAPI RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize);
LONG WINAPI RegCloseKey(HKEY key);
