// The directories searched for programs, in order.
#pragma once

#include "base/strings/StringStore.h"

// Appends "." then each non-empty ";"-separated directory of PATH (from the
// environment chain) and then each of `pathAppend` (the "PathAppend" setting).
void BuildSearchPathList(WestringStore& list, const Westring& pathAppend = Westring());
