// The history file: the command history, the input-field histories and the
// field presets, one UTF-8 line each with CR LF. An input-history line is the
// field kind in decimal, 0x19 and the text; a preset line adds 0x19 and the
// value after the label; any other line is a command. Additions are appended
// as they happen; the file is compacted at start-up when it holds more than
// the limits (MaxHist, MaxFieldHist) allow.
//
// A text that holds the separator, CR or LF is stored with those characters
// escaped, so that it loads back as the same single entry.
#pragma once

#include "app/settings/Histories.h"
#include "base/containers/SortedCollection.h"
#include "base/strings/Westring.h"

// The commands met while the file is loaded, to see whether a command came
// before. Owns copies of its keys; compares unit by unit, case counting.
class CCommandCollection : public TSortedCollection<Westring, Westring> {
public:
    ~CCommandCollection() override { FreeAll(); }
    // True when the command was not in the collection yet (a copy is kept).
    bool InsertOnce(const Westring& command);

protected:
    const Westring* KeyOf(const Westring* item) override { return item; }
    int CompareKeys(const Westring* a, const Westring* b) override;
};

// The separator of the fields of a history line.
const char32_t HistorySeparator = 0x19;

// Fills the stores from the history file of the per-user folder (else of the
// program's folder) and compacts the file when it must shrink.
void LoadHistoryFile();
// Appends one line to the per-user history file; a failure is silent.
void AppendHistoryLine(const Westring& line);
// Rewrites the per-user history file without every line equal to the given
// one (without regard to case).
void RewriteHistoryWithout(const Westring& line);

// The field kind in decimal, the separator, then the rest of the line.
Westring HistoryKindLine(int kind, const Westring& rest);

// The line of a preset: kind, separator, label, separator, value.
Westring HistoryPresetLine(const TFieldPresetValue& preset, int kind);

// A text as one field of a history line, and back.
Westring EscapeHistoryText(const Westring& text);
Westring UnescapeHistoryText(const Westring& field);
