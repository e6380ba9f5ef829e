// OwnTemporaryFiles: the names of the temporary files the program writes
// beside a file it makes or replaces (the copy's ".qv<run><n>.tmp", a
// replaced file's "<name>.~qv<run>.<n>", where <run> is the process id and
// the run's start stamp in hex), and the sweep that removes those a killed
// run left behind.
//
// Each name carries the run that made it, so that a later run can tell a dead
// run's leftover from another running copy's file in the making, also when
// the system has given the dead run's process id again. A folder is swept
// once per run, when the program first writes such a file there: only names
// of exactly these patterns, last written before this run began, whose run
// no longer exists, are removed.
#pragma once

#include "base/strings/Westring.h"

// A new name for the copy's temporary file in `directory` (with or without
// its trailing backslash); each call gives another name.
Westring CopyTemporaryName(const Westring& directory);
// The n-th candidate name (0 to 999) for the temporary file that replaces
// `finalPath`.
Westring ReplacingTemporaryName(const Westring& finalPath, int n);

// The run a temporary file's name carries: its process id and start stamp.
struct TTemporaryOwner {
    unsigned long process;
    unsigned long stamp;
};
// Reads the run out of a name of these patterns; false for any other name.
bool ReadTemporaryOwner(const Westring& name, TTemporaryOwner& owner);

// Removes the stale temporary files of dead runs from `directory`, the first
// time this run asks for that folder. Never fails: what cannot be removed
// stays.
void RemoveStaleTemporaryFiles(const Westring& directory);
// A folder this run made itself holds nothing of a dead run: it need not be
// swept.
void NoteFreshDirectory(const Westring& directory);
