// Finding a program along the search path, and telling what kind of program a
// file is: that decides whether it runs directly, through the command
// interpreter, or without being waited for.
#pragma once

#include "base/strings/Westring.h"

// Program kinds.
enum {
    ProgramKindInf = 2,          // ".inf" file
    ProgramKindNotProgram = 3,   // runs through the command interpreter
    ProgramKindWin16 = 4,        // NE for Windows: not waited for
    ProgramKindExtendedDos = 5,  // NE for OS/2, LE, LX
    ProgramKindBatch = 6,        // ".cmd", ".bat"
    ProgramKindDos = 7,          // ".com", an MZ file of no other kind
    ProgramKindConsole = 8,      // PE console program, or a program file without extension
    ProgramKindWindowed = 9,     // PE windowed program: not waited for
};

// The extensions tried, in order, after a name that has no point.
extern const char32_t* const ProgramSearchExtensions[4];

// Searches `name` in the current directory and along PATH (with `extraList`
// first and the "PathAppend" setting last), or, when the name has a directory
// part, in that directory alone. 1 with the full normalised path in `found`,
// else 0.
int FindProgramOnPath(const Westring& name, Westring& found, const Westring* extraList = nullptr);
// The file's attributes can be read, and it is no directory.
bool ProgramFileExists(const Westring& path);
// The kind of the program file, by its extension and, for ".exe", its header.
int GetProgramKindByExtension(const Westring& path);
// The kind of an ".exe" file from its MZ and new headers.
int GetExecutableKind(const Westring& path);
