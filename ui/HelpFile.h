// The help text: one data file read whole into memory at start-up, a chain of
// numbered sections of lines that each screen and dialog asks for by number.
//
// File layout, little-endian, section after section:
//   i16 id, i16 length (including this 4-byte head), then length - 4 bytes of
//   zero-terminated lines in code page 850.
// The section with id 30000 ends the file and is the page shown for an id
// that has no section; id 0 is the help index.
//
// The file ships with the program but is not trusted: every section and line
// is bounded by the buffer, and a length below the 4-byte head ends the walk.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

const int HelpIndexSection = 0;
const int HelpEndSection = 30000;

// Reads the file into the global buffer, replacing what was loaded before.
// False, with nothing loaded, when it cannot be opened, sized or read. Start-up
// passes the help file's data-file path.
bool LoadHelpFile(const Westring& path);
// Drops the loaded text.
void UnloadHelpFile();
bool IsHelpLoaded();

// Fills the store (emptied first) with the lines of the section, converted
// from code page 850: the section with the id, else the end section, else
// (a file without one) nothing. False when no help text is loaded.
bool GetHelpSectionLines(int id, WestringStore& lines);
