// Stored paths: ten numbered directories the user keeps for quick return,
// kept in the ini file as "d0" to "d9". An empty text is an empty slot; a
// path may hold %NAME% references, replaced from the environment when used.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

enum { StoredPathCount = 10 };

extern Westring StoredPaths[StoredPathCount];

// "%d - " and the path shortened to width - 6, or "Empty" for an empty slot.
Westring FormatStoredPathItem(int slot, int width);
