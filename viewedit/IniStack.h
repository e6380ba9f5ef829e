// CIniStack: the files of a definition being read, the including ones below
// the included one; lines come from the top file, and a file that ends goes
// off the stack.
#pragma once

#include "base/containers/ObjectStore.h"
#include "base/io/StdFile.h"

class CIniStack : public TObjectStore<StdFile> {
public:
    // Deeper includes are not followed (an include cycle would never end).
    static constexpr int MaxDepth = 16;
    static constexpr int LineBytes = 1024;

    // Opens the file for reading and puts it on top; 0 or the Windows error.
    uint32_t Push(const Westring& path);
    // True when the path is one of the files being read: including it again
    // would start a cycle (and two includes per file would double the work
    // with every level).
    bool Holds(const Westring& path);
    // The next line (CR and LF dropped) of the top file, going down the stack
    // as files end; false when the stack is empty.
    bool ReadLine(Estring& line);
};
