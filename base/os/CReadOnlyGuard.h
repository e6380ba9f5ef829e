// CReadOnlyGuard: clears a file's read-only attribute for a write into it,
// and puts it back afterwards.
#pragma once

#include "base/strings/Westring.h"

class CReadOnlyGuard {
public:
    CReadOnlyGuard() : cleared(false) {}

    // Remembers the path and clears its read-only attribute (the others are
    // kept). 0 or the Windows error; on an error nothing is restored later.
    DWORD Clear(const Westring& path);
    // Sets the attribute again when Clear cleared it; 0 or the error.
    DWORD Restore();

private:
    Westring path;
    bool cleared;
};
