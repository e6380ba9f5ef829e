// The exit-directory file (-x): two lines a calling batch file runs to switch
// to the drive and directory where the user left the active panel.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

// The file's bytes for a directory: the drive letter and ':', CR LF, then
// cd "<the directory after its drive part, UTF-8>" and CR LF. False (and
// nothing built) for a directory with no drive letter, such as a UNC path, and
// for one whose name cannot stand inside the quotes of a batch line (see
// UnsafeBatchCharacter).
bool BuildExitDirectoryRecord(const Westring& directory, Estring& record);

// The first character of the text that a batch line would not keep literally
// inside double quotes: the quote itself (it ends the quoting, so what follows
// runs as commands), '%' and '!' (variable expansion), and control characters
// (they end or break the line). 0 when there is none.
char32_t UnsafeBatchCharacter(const Westring& text);

// The directory to record for a panel: its own directory, or, inside an
// archive, the directory of the archive file (the panel's text cut at the last
// backslash of the archive file's path).
Westring ExitDirectoryOfPanel(const Westring& panelDirectory, const Westring& archiveFilePath);

// Creates (truncating) the file and writes the record; true when it did, or
// when no file was asked for. False, with the reason in `error`, when the
// directory cannot be recorded (nothing is written then) or the file cannot be
// written: the caller tells the user on standard error once the screen is gone.
bool WriteExitDirectoryFile(const Westring& fileName, const Westring& directory, Estring& error);
