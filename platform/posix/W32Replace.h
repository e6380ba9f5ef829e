// Replacing one file by another in a single step, as a safe save needs: the
// new contents are written beside the old file and then take its place.
#pragma once

#include "platform/posix/W32Types.h"

#define REPLACEFILE_WRITE_THROUGH 0x00000001
#define REPLACEFILE_IGNORE_MERGE_ERRORS 0x00000002
#define REPLACEFILE_IGNORE_ACL_ERRORS 0x00000004

#define ERROR_UNABLE_TO_REMOVE_REPLACED 1175L
#define ERROR_UNABLE_TO_MOVE_REPLACEMENT 1176L
#define ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 1177L

// The replacement file takes the name of the replaced file, which must exist,
// and keeps the replaced file's attributes; with a backup name the old file
// lives on under it. lpExclude and lpReserved must be null.
BOOL WINAPI ReplaceFileW(LPCWSTR lpReplacedFileName, LPCWSTR lpReplacementFileName, LPCWSTR lpBackupFileName,
                         DWORD dwReplaceFlags, LPVOID lpExclude, LPVOID lpReserved);
