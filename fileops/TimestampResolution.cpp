#include "fileops/TimestampResolution.h"

int CompareTimestamps(const TTimestamp& a, const TTimestamp& b) {
    if (a.seconds != b.seconds) {
        return a.seconds < b.seconds ? -1 : 1;
    }
    if (a.nanoseconds != b.nanoseconds) {
        return a.nanoseconds < b.nanoseconds ? -1 : 1;
    }
    return 0;
}
