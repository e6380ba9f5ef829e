// The ini key table: every key of "[General Options]" with its value kind,
// its TCONFIG field and its default, one row each, so that one table drives
// the defaults, the reading and the writing of the configuration.
#pragma once

#include "app/settings/Config.h"
#include "base/strings/Estring.h"

// How a value is read into its field and written back.
enum EIniValueKind {
    IniText = 0,       // 8-bit text into an Estring, unchanged
    IniUtf8 = 1,       // UTF-8 text into a Westring
    IniNumber = 2,     // atoi into an int32
    IniSwitch = 3,     // "on" (any case) or anything else; written "on"/"off"
    IniChar = 4,       // the first byte
    IniTimeMode = 5,   // 24 when the value is exactly "24", else 12
    IniSort = 6,       // sort keyword
    IniStyle = 7,      // view-style keyword
    IniPanelType = 8,  // panel-type keyword
    IniWidth = 9,      // panel-width keyword
    IniColours = 10    // blank-separated numbers, one per colour slot
};

struct TIniKey {
    const char* name;
    EIniValueKind kind;
    // The bound field of a configuration record; null for a key that is
    // accepted and ignored.
    void* (*field)(TCONFIG& config);
    // The default as ini text, read by the row's kind; null for none.
    const char* defaultValue;
};

extern const TIniKey IniKeyTable[];
extern const int IniKeyCount;

// The row of a key (without regard to case), or null.
const TIniKey* FindIniKey(const char* name);
// Reads a value text into the row's field of the record.
void ReadIniValue(const TIniKey& key, const char* value, TCONFIG& config);
// The value of the row's field as the ini file writes it.
Estring FormatIniValue(const TIniKey& key, TCONFIG& config);
// Puts every row's default into the record (the colour slots excepted).
void SetIniDefaults(TCONFIG& config);

int ParseSortKeyword(const char* text);
int ParseStyleKeyword(const char* text);
int ParsePanelTypeKeyword(const char* text);
int ParseWidthKeyword(const char* text);
