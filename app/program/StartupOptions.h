// The words of the program's command line: an optional ini file name, -v or -e
// with a file to view or edit, -l and -r with the panels' start directories,
// -x with the exit-directory file and -s with a script and its arguments.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

struct TStartupOptions {
    Westring editFile;
    Westring viewFile;
    Westring leftDirectory;
    Westring rightDirectory;
    Westring exitDirectoryFile;
    Westring scriptName;
    WestringStore scriptArguments;  // in command-line order
    Westring iniFile;               // a plain word that is not a readable directory
    bool hideCursor = false;        // -v asks for the cursor to go at once
};

enum EStartupOptionsResult {
    StartupOptionsOk,
    StartupOptionsNoFile,  // -e or -v without a file name
    StartupOptionsUsage,   // an option letter that is not known
};

// The message of a failed parse, exactly as it is shown to the user.
extern const char* const NoFileSpecifiedMessage;
extern const char* const UsageMessage;

// Reads argv[1] to argv[argc - 1] into `options`. A plain word that names a
// listable directory is passed over; any other becomes the ini file name, made
// a full path.
EStartupOptionsResult ParseStartupOptions(int argc, const char* const* argv, TStartupOptions& options);
