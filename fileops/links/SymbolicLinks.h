// Ctrl+Shift+F5: symbolic links (directory links as junctions where the
// system makes them) to the tagged entries, or to the cursor entry, in a
// destination directory, optionally with targets relative to the links.
#pragma once

#include "base/strings/Westring.h"

// The target as seen from the link's directory: ".." for each of the
// directory's components after those both paths share, then the target's
// remaining components. Components are equal only when equal exactly (two
// spellings of a name are two directories). A target on another drive or
// share has no way there: it is given back as it is.
Westring RelativeLinkTarget(const Westring& linkDirectory, const Westring& target);

// Makes the link, relative when asked, retrying or skipping through the file
// error prompt: 1 done or skipped, 0 when the user cancelled.
int MakeLink(const Westring& link, const Westring& target, bool relative, bool isDirectory);
