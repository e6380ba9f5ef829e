// How finely a file system stores last-write times, judged from one time, and
// a time rounded to a coarser class. Comparing a file on a volume that keeps
// even seconds with its copy on one that keeps 100-nanosecond steps must not
// call the copy newer: both sides are rounded to the coarser class first.
#pragma once

#include "base/strings/Timestamp.h"
#include "fileops/TimestampRounding.h"

// Seconds first, then nanoseconds: negative, 0 or positive.
int CompareTimestamps(const TTimestamp& a, const TTimestamp& b);
