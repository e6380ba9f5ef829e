// CPathParts: a path cut into its components, so that two paths can be
// compared component by component (how many leading folders they share).
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

class CPathParts : public WestringStore {
public:
    // Splits at every backslash. Empty components are dropped, except that a
    // path starting with a backslash begins with one empty component (so
    // \\server\share gives "", "server", "share"); a trailing backslash adds
    // nothing.
    explicit CPathParts(const Westring& path);

    // How many leading components the two paths have in common; 0 when either
    // has none. Components compare without regard to case unless `ignoreCase`
    // is false: callers that pair names on a file system telling Src from src
    // compare exactly.
    int CommonPrefixLength(const CPathParts& other, bool ignoreCase = true) const;
};
