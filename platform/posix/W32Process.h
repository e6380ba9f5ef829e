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
