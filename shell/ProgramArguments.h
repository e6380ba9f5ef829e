// The paths a started program is given: this system names files by drive
// paths, while the programs of the system underneath may read their own
// form of them. Each word of a command line that is a path on a drive
// (typed, or put in by a macro) is handed over in the program's form; any
// other word goes as it was written. Where the two forms are the same,
// nothing changes.
#pragma once

#include "base/strings/Westring.h"

// The word names a file by an absolute path: a drive letter, a colon and a
// separator ("C:\", "c:/x"), or a network path ("\\server\share"). "a:b" and
// a drive letter with its colon alone do not.
bool IsAbsolutePathWord(const Westring& word);
// The path in the form a started program reads; the path itself when it is
// no absolute path or no drive holds it.
Westring ProgramArgumentPath(const Westring& path);
// The argument text of a program started directly (split by the C runtime's
// rules): each absolute path word in its program form, quoted again by the
// same rules; the other words, blanks and quotes untouched.
Westring TranslateDirectArguments(const Westring& arguments);
// A line for a POSIX shell: each absolute path word written without any
// quote or "$" in its program form, quoted for the shell (a wildcard stays
// outside the quotes, for the shell to expand); the rest as typed.
Westring TranslateShellLine(const Westring& line);
