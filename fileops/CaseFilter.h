// The "CaseFilter" setting: file systems whose names the program turns to
// one case when it makes them (copies lower-case, new directories upper-case).
#pragma once

#include "base/strings/Westring.h"

// True when the file system's name is one of the setting's blank-separated
// words (any case); an empty name never is.
bool FileSystemInCaseFilter(const Westring& fileSystem);
