// The header reading of the ACE reader, open to its tests.
#pragma once

#include <cstdint>

#include "app/panels/PanelArchive.h"

// Reads the header at the position into the archive's header buffer and
// moves the position past it (and past a member's packed data): 0, or all
// ones when it cannot be read or claims more than the buffer holds.
DWORD ReadAceHeader(CArchive& archive, int64_t& position);
