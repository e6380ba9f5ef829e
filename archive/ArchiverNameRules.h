// How each known archiver program must be given a name so that it reads it
// as that name and nothing else: never as one of its options, never as a
// wildcard pattern that matches other members, never as a list file of its
// own, and never split in a list file. Where a program offers no way to say a
// name literally, the name is refused rather than handed over.
#pragma once

#include <vector>

#include "base/strings/Westring.h"

struct TArchiverNameRules {
    const char* programs;        // blank-separated program names (".exe" dropped)
    const char* literalSwitches;  // put before the names: matching by exact name
    const char* listSwitches;     // put before a list switch as well
    bool endOfOptions;            // takes "--" before the names
    bool escapePatterns;          // matches names as patterns: "[", "*", "?" as sets
    bool escapeLeadingDash;       // no "--": a leading "-" as the set "[-]"
    bool nulList;                 // list-file names end with NUL (no line end in them matters)
    const char* refusedFirst;     // a name may not begin with these characters
    const char* refusedAnywhere;  // a name may not hold these characters
};

// The rules of the (resolved) command's program; a program not in the table
// gets the careful defaults: no end-of-options marker, no wildcard characters.
// Names that the command makes a redirection's target are no arguments: any
// name goes there as it is.
const TArchiverNameRules& FindArchiverNameRules(const Westring& resolvedCommand);

// Whether the command places the names as the target of one of its own
// redirections ("gzip -dc %a > %f"): then they are files this system opens,
// not arguments of the program.
bool NamesAreRedirectionTarget(const Westring& command);

// A name as the program must get it: its pattern characters escaped where
// the program matches patterns. `member`: a name inside the archive (a file
// of the disk is taken by its own name by the programs that escape).
Westring ArchiverLiteralName(const TArchiverNameRules& rules, const Westring& name, bool member);

// Whether the program can be given the name. `realFile`: a file of the disk,
// which reaches the program as ".\name" when it begins with a character the
// program would act on; `inList`: the name goes into a list file.
bool ArchiverCanTakeName(const TArchiverNameRules& rules, const Westring& name, bool realFile, bool inList);

// The switches that make the program match names literally, as words.
std::vector<Westring> ArchiverLiteralSwitchWords(const TArchiverNameRules& rules, bool forList);

// The message shown when a name is refused.
extern const char* const ArchiverRefusedNameMessage;
