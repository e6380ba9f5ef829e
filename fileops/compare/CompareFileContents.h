// Byte-by-byte comparison of two files, as the directory compare uses it for
// files of equal size and date.
#pragma once

#include <cstdint>
#include <functional>

#include "base/strings/Westring.h"

class StdFile;

// Outcome of comparing two open files.
enum ECompareOutcome {
    CompareIdentical = 0,
    CompareDifferent = 1,
    CompareReadFailed = -1,  // failedSide (0 left, 1 right) and error say which
    CompareCancelled = -2
};

// Reads both files from their current position in blocks and compares them.
// They are identical only when every byte agrees and both end at the same
// point. After each block `step` gets the bytes compared so far and answers
// false to cancel.
int CompareOpenFiles(StdFile& left, StdFile& right, const std::function<bool(int64_t done)>& step, int& failedSide,
                     uint32_t& error);

// The command's form: a "Comparing" window with the left file's name and a
// bar, Esc cancels. 0 identical, 1 different, -1 an error (already reported
// with the path) or a cancel.
int CompareFileContents(const Westring& left, const Westring& right);
