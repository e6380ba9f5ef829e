// Timestamps of different precision: the class of a time's precision, and a
// time rounded up to a coarser class, so that compare and synchronise can
// match times a file system stores less precisely than another.
#pragma once

#include "base/strings/Timestamp.h"

// Precision classes, finest last.
enum ETimestampResolution {
    ResolutionEvenSeconds = 0,
    ResolutionSeconds = 1,
    ResolutionHundredNanoseconds = 2,
    ResolutionFiner = 3
};

// 3 when the nanoseconds are no multiple of 100, 2 when they are a non-zero
// multiple, else 1 for an odd and 0 for an even number of seconds.
int GetTimestampResolution(const TTimestamp& time);

// The time rounded up to the class: 2 to a multiple of 100 ns, 1 to the whole
// second, 0 to the whole and then the even second; 3 leaves it. Nanoseconds
// rounded past the second carry into it; the result never goes beyond the
// last representable second.
TTimestamp RoundTimestamp(const TTimestamp& time, int resolution);
