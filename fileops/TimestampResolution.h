// How finely a file system stores last-write times, judged from one time, and
// a time rounded to a coarser class. Comparing a file on a volume that keeps
// even seconds with its copy on one that keeps 100-nanosecond steps must not
// call the copy newer: both sides are rounded to the coarser class first.
#pragma once

#include "base/strings/Timestamp.h"

// 0 even seconds, 1 odd seconds, 2 a non-zero multiple of 100 ns, 3 finer.
enum {
    TimestampEvenSeconds = 0,
    TimestampSeconds = 1,
    TimestampHundredNanoseconds = 2,
    TimestampFiner = 3
};

int GetTimestampResolution(const TTimestamp& time);
// Rounds up to the class: 1 to the whole second (any nanoseconds add one
// second), 0 further up to an even second, 2 the nanoseconds up to a multiple
// of 100, 3 unchanged.
TTimestamp RoundTimestamp(const TTimestamp& time, int resolution);
// Seconds first, then nanoseconds: negative, 0 or positive.
int CompareTimestamps(const TTimestamp& a, const TTimestamp& b);
