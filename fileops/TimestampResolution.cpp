#include "fileops/TimestampResolution.h"

int GetTimestampResolution(const TTimestamp& time) {
    if (time.nanoseconds % 100 != 0) {
        return TimestampFiner;
    }
    if (time.nanoseconds != 0) {
        return TimestampHundredNanoseconds;
    }
    return (time.seconds & 1) != 0 ? TimestampSeconds : TimestampEvenSeconds;
}

TTimestamp RoundTimestamp(const TTimestamp& time, int resolution) {
    TTimestamp rounded = time;
    switch (resolution) {
        case TimestampEvenSeconds:
        case TimestampSeconds:
            // The last representable second stays: rounding past it would
            // wrap to 1970.
            if (rounded.nanoseconds != 0 && rounded.seconds != UINT32_MAX) {
                rounded.seconds++;
            }
            rounded.nanoseconds = 0;
            if (resolution == TimestampEvenSeconds && (rounded.seconds & 1) != 0 && rounded.seconds != UINT32_MAX) {
                rounded.seconds++;
            }
            break;
        case TimestampHundredNanoseconds: {
            uint32_t up = (rounded.nanoseconds + 99) / 100 * 100;
            if (up >= 1000000000u) {
                if (rounded.seconds != UINT32_MAX) {
                    rounded.seconds++;
                    up = 0;
                } else {
                    up = 999999900u;
                }
            }
            rounded.nanoseconds = up;
            break;
        }
        default:
            break;
    }
    return rounded;
}

int CompareTimestamps(const TTimestamp& a, const TTimestamp& b) {
    if (a.seconds != b.seconds) {
        return a.seconds < b.seconds ? -1 : 1;
    }
    if (a.nanoseconds != b.nanoseconds) {
        return a.nanoseconds < b.nanoseconds ? -1 : 1;
    }
    return 0;
}
