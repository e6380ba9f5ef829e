#include "fileops/TimestampRounding.h"

#include <cstdint>

namespace {

const uint32_t NanosecondsPerSecond = 1000000000u;
const uint32_t LastSecond = UINT32_MAX;
// The largest multiple of 100 ns within a second.
const uint32_t LastHundredNanoseconds = NanosecondsPerSecond - 100;

}  // namespace

int GetTimestampResolution(const TTimestamp& time) {
    if (time.nanoseconds % 100 != 0) {
        return ResolutionFiner;
    }
    if (time.nanoseconds != 0) {
        return ResolutionHundredNanoseconds;
    }
    return (time.seconds & 1) != 0 ? ResolutionSeconds : ResolutionEvenSeconds;
}

TTimestamp RoundTimestamp(const TTimestamp& time, int resolution) {
    if (resolution >= ResolutionFiner) {
        return time;
    }
    uint64_t seconds = time.seconds;
    uint64_t nanoseconds = time.nanoseconds;
    if (resolution == ResolutionHundredNanoseconds) {
        nanoseconds = (nanoseconds + 99) / 100 * 100;
        if (nanoseconds >= NanosecondsPerSecond) {
            nanoseconds -= NanosecondsPerSecond;
            seconds++;
        }
        if (seconds > LastSecond) {
            return TTimestamp(LastSecond, LastHundredNanoseconds);
        }
        return TTimestamp(static_cast<uint32_t>(seconds), static_cast<uint32_t>(nanoseconds));
    }
    if (nanoseconds != 0) {
        seconds++;
    }
    if (resolution == ResolutionEvenSeconds && (seconds & 1) != 0) {
        seconds++;
    }
    if (seconds > LastSecond) {
        seconds = LastSecond;
    }
    return TTimestamp(static_cast<uint32_t>(seconds), 0);
}
