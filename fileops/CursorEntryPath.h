// The full path of what a panel's cursor stands on: the directory of a tree
// view's line, else the entry in the panel's directory.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// Empty when the panel has no entry under the cursor.
Westring CursorEntryPath(CPanel* panel);
