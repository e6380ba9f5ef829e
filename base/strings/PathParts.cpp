#include "base/strings/PathParts.h"

CPathParts::CPathParts(const Westring& path) {
    const int n = path.Length();
    int start = 0;
    for (int i = 0; i < n; i++) {
        if (path[i] != '\\')
            continue;
        if (i == 0)
            Add(new Westring());
        else if (i > start)
            Add(new Westring(path.Mid(start, i - start)));
        start = i + 1;
    }
    if (start < n)
        Add(new Westring(path.Mid(start, n - start)));
}

int CPathParts::CommonPrefixLength(const CPathParts& other, bool ignoreCase) const {
    const int n = Count() < other.Count() ? Count() : other.Count();
    int common = 0;
    while (common < n) {
        const Westring& mine = *At(common);
        const Westring& theirs = *other.At(common);
        if (ignoreCase ? !mine.EqualsNoCase(theirs) : !mine.EqualsExact(theirs))
            break;
        common++;
    }
    return common;
}
