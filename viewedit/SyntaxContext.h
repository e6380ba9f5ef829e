// CSyntaxContext: where a colouring rule applies, as the names of the open
// elements it may colour inside. An empty list, or one holding an empty name,
// means the top level; "*" means everywhere.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/StringCollection.h"

class CSyntaxElement;

class CSyntaxContext {
public:
    CSyntaxContext() = default;
    CSyntaxContext(const CSyntaxContext&) = delete;
    CSyntaxContext& operator=(const CSyntaxContext&) = delete;

    // Fills the set from a comma list (quoted fields allowed, each trimmed).
    void SetList(const Estring& list);
    // True when a rule of this context applies inside the element (null: at
    // the top level).
    bool AppliesIn(const CSyntaxElement* current) const;

    bool IsTopLevel() const { return topLevel; }
    bool IsEverywhere() const { return everywhere; }
    int Count() const { return names.Count(); }

private:
    mutable StringCollection names;
    bool topLevel = true;
    bool everywhere = false;
};
