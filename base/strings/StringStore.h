// Owning lists of strings in insertion order: WestringStore for 32-bit text
// (lines, directories, argument words), EstringStore for 8-bit text (fields of
// ini values and list boxes). Both delete their strings with themselves.
#pragma once

#include "base/containers/ObjectStore.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

class WestringStore : public TObjectStore<Westring> {};

class EstringStore : public TObjectStore<Estring> {
public:
    // Splits the text at each separator outside quotes and appends every field
    // as a new string; returns how many were appended. A doubled quote inside
    // quotes is one quote; quote 0 means no quoting. An empty text is one
    // empty field, and a text ending in the separator ends with an empty field.
    int AddFields(const char* text, char separator, char quote);
};

// The strings joined by single commas, in list order.
Estring JoinWithCommas(const EstringStore& list);
