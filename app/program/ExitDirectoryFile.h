// The exit-directory file (-x): two lines a calling batch file runs to switch
// to the drive and directory where the user left the active panel.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

// The file's bytes for a directory: the drive letter and ':', CR LF, then
// cd "<the directory after its drive part, UTF-8>" and CR LF. False (and
// nothing built) for a directory with no drive letter, such as a UNC path.
bool BuildExitDirectoryRecord(const Westring& directory, Estring& record);

// The directory to record for a panel: its own directory, or, inside an
// archive, the directory of the archive file (the panel's text cut at the last
// backslash of the archive file's path).
Westring ExitDirectoryOfPanel(const Westring& panelDirectory, const Westring& archiveFilePath);

// Creates (truncating) the file and writes the record. Failures are silent:
// the caller has nothing to tell the user after the screen is gone.
void WriteExitDirectoryFile(const Westring& fileName, const Westring& directory);
