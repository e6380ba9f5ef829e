// What the user typed, remembered: the command history of the command line,
// one input history per input-field kind, named presets per field kind, and
// the directory history of the panels. All but the directory history live on
// in the history file (HistoryFile.h), which grows by one appended line per
// addition and is compacted at start-up when it holds too much.
//
// Every store keeps its entries oldest first, newest last.
#pragma once

#include "app/settings/FieldKinds.h"
#include "base/containers/ObjectStore.h"
#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

class CCommandCollection;

// One preset of an input field: the label shown in the presets list and the
// value put into the field.
struct TFieldPresetValue {
    Westring label;
    Westring value;
};

// The presets of one field kind, in the order they were added.
class CFieldPresets : public TObjectStore<TFieldPresetValue> {};

extern WestringStore CommandHistory;
// In memory only: the panels add to it when they change directory.
extern WestringStore DirectoryHistory;
extern WestringStore InputHistories[FieldKindCount];
extern CFieldPresets FieldPresets[FieldKindCount];
// The search text of the command-history picker, kept for the whole run.
extern Westring HistorySearchText;

// The most directories the directory history keeps.
const int MaxDirectoryHistory = 100;

// Adds a command line (leading white space dropped) as the newest entry; an
// equal older entry (same units, case counts) goes. Unless noFile is set the
// line is appended to the history file. `loading` is given by the loader only.
void AddCommandHistory(const char32_t* command, bool noFile, CCommandCollection* loading);
// Adds a text as the newest entry of a kind's input history, an entry equal
// without regard to case going; kinds outside 0..12 are ignored.
void AddInputHistory(const Westring& text, int kind, bool noFile);
// Appends a preset to a kind's presets.
void AddFieldPreset(const Westring& label, const Westring& value, int kind, bool noFile);
// Removes a preset's line from the history file; the caller removes the
// preset from its store.
void RemoveFieldPresetLine(const TFieldPresetValue& preset, int kind);
// Adds a directory as the newest entry of the directory history, an equal
// older entry going and the oldest beyond MaxDirectoryHistory dropped.
void AddDirectoryHistory(const Westring& directory);
