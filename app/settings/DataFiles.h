// Where the program's data files live. The ini, history and user-menu files
// are kept in the per-user folder %APPDATA%\Quorvane\ (made when missing), or
// beside the program when APPDATA is not set; help files always lie beside
// the program. Their base name is the program's own file name up to its last
// dot; an ini file named on the command line gives its own folder and base
// name instead.
#pragma once

#include "base/strings/Westring.h"

enum EDataFileKind {
    DataFileHelp = 0,      // "qvh", beside the program
    DataFileHtmlHelp = 1,  // "chm", beside the program
    DataFileUserMenu = 2,  // "mnu"
    DataFileIni = 3,       // "ini"
    DataFileHistory = 4,   // "hst"
    DataFileLog = 5,       // "log"
    DataFileSyntax = 6     // base name without its dot + "syntax.ini"
};

// Locations: 0 or 2 the per-user data folder, 1 or 3 the program's folder.
enum { DataFileUserFolder = 2, DataFileProgramFolder = 3 };

// The program's own file, kept by main; GetModuleFileNameW's answer until then.
extern Westring ProgramPath;
const Westring& GetProgramPath();

// True when the path names an existing file (not a directory).
bool DataFileExists(const Westring& path);

// The full path of a data file of a kind; empty for an unknown kind. The
// per-user folder is made when it does not exist (a failure shows later, when
// the file is opened).
Westring DataFilePath(int kind, int location);
