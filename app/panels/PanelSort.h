// The orders of a panel's entries: by name, extension, time or size, forwards
// or reversed, always with ".." first, then directories, hidden files and the
// other files. File find sorts its results the same way.
#pragma once

#include "base/io/Entry.h"

class CPanel;

// Sorts `count` entry pointers by a sort mode 0 to 9; modes 4 and 9 and
// arrays of fewer than two entries are left as they are.
void SortEntryArray(entry** entries, int count, int mode);
// SortEntryArray over the panel's entries with its sort mode.
void SortPanel(CPanel* panel);
// Case-insensitive order of two entries' names (the order tags are carried
// over a re-read by).
int CompareEntryNames(const entry* a, const entry* b);
// The name order the "NaturalSort" setting chooses.
int CompareNamesBySetting(const char32_t* a, const char32_t* b);
