// Whether a path names a directory whose contents can be listed.
#pragma once

#include "base/strings/Westring.h"

// True when a search for every name in the directory ends with a found item,
// or with the errors Windows gives for an existing but empty directory.
bool IsDirectoryReadable(const Westring& path);
