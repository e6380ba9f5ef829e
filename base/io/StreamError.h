// TStreamError: the error record every stream carries. Callers read it after a
// false result: category 0 means the stream simply ended.
#pragma once

#include "base/strings/Estring.h"

struct TStreamError {
    enum { kNone = 0, kSystem = 1, kDecompression = 2 };

    TStreamError() : category(kNone), code(0) {}
    TStreamError(int category, int code, const Estring& text) : category(category), code(code), text(text) {}

    int category;
    // The Windows error code for kSystem, 0 for kDecompression; meaningful only
    // when the category is not kNone.
    int code;
    Estring text;
};
