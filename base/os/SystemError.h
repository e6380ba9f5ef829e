// The system's text for a Windows error code, on one line, with the code.
#pragma once

#include "base/strings/Westring.h"

// The message of the code with its line breaks turned into single blanks,
// then " (" code ")".
Westring FormatSystemError(DWORD code);
