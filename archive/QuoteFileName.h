// Quoting of file names for the command lines of external programs.
#pragma once

#include "base/strings/Westring.h"

// The name in double quotes when it holds a blank, '%', '&', '+' or ',' or
// starts with '-'; else the name itself.
Westring QuoteFileName(const Westring& name);
