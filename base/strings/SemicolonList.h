// Lists of texts separated by ';' as settings hold them (folders of a search
// path, script folders): cutting one into entries and putting entries back
// together.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

// Appends the entries of the list to the store in order, empty entries
// included ("a;;b" gives "a", "", "b"; an empty list gives none), and leaves
// the list empty.
void SplitSemicolonList(Westring& list, WestringStore& store);

// The non-empty entries of the store joined by single ';' (none before the
// first, none for an empty entry).
Westring JoinSemicolonList(const WestringStore& store);
