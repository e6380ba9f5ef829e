// The hook through which panels and commands pass the file and directory
// paths they build. Paths are used as they are; the hook stays so that a
// mapping can be put in one place.
#pragma once

#include "base/strings/Westring.h"

Westring MapPathName(const Westring& path);
Westring MapDirectoryName(const Westring& path);
