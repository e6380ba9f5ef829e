// The rows of the file information window: one label and one value each,
// gathered by GetFileProperties and shown by the file information command.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

struct CFileInfoItem {
    Estring name;
    Westring value;
};

class CFileInfoItems : public TObjectStore<CFileInfoItem> {
public:
    // Appends a row with copies of the label and the value.
    void Add(const Estring& name, const Westring& value);
};

// A size as its short form (at most 6 cells, with K, M, G or T when the bytes
// do not fit) followed by the exact byte count in parentheses, or only the
// exact count when the two are the same text.
Westring FormatSizeShortAndFull(int64_t size);
