// Precision classes of times and rounding up to a coarser class, with the
// carry into the seconds and the end of the range.
#include <gtest/gtest.h>

#include <cstdint>

#include "fileops/TimestampRounding.h"

namespace {

TEST(TimestampRounding, ResolutionClasses) {
    struct Case {
        uint32_t seconds;
        uint32_t nanoseconds;
        int resolution;
    } cases[] = {
        {4, 0, 0}, {3, 0, 1}, {3, 500, 2}, {4, 100, 2}, {3, 999999900, 2}, {3, 1, 3}, {4, 150, 3}, {0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.resolution, GetTimestampResolution(TTimestamp(c.seconds, c.nanoseconds)))
            << c.seconds << "." << c.nanoseconds;
    }
}

TEST(TimestampRounding, RoundsUpToEachClass) {
    struct Case {
        uint32_t seconds;
        uint32_t nanoseconds;
        int resolution;
        uint32_t wantSeconds;
        uint32_t wantNanoseconds;
    } cases[] = {
        {3, 500, 0, 4, 0},  // up to the second, then to an even one
        {3, 500, 1, 4, 0},
        {3, 500, 2, 3, 500},  // already a multiple of 100
        {3, 501, 2, 3, 600},
        {4, 0, 0, 4, 0},  // nothing to do
        {5, 0, 0, 6, 0},
        {4, 1, 0, 6, 0},          // 5 is odd: on to 6
        {3, 501, 3, 3, 501},      // the finest class keeps everything
        {7, 999999950, 2, 8, 0},  // rounded-up nanoseconds carry into the second
        {7, 999999901, 2, 8, 0},
        {UINT32_MAX, 999999950, 2, UINT32_MAX, 999999900},  // no carry past the last second
        {UINT32_MAX, 1, 1, UINT32_MAX, 0},
        {UINT32_MAX - 1, 1, 0, UINT32_MAX, 0},
    };
    for (const Case& c : cases) {
        TTimestamp got = RoundTimestamp(TTimestamp(c.seconds, c.nanoseconds), c.resolution);
        EXPECT_EQ(c.wantSeconds, got.seconds) << c.seconds << "." << c.nanoseconds << " to " << c.resolution;
        EXPECT_EQ(c.wantNanoseconds, got.nanoseconds) << c.seconds << "." << c.nanoseconds << " to " << c.resolution;
    }
}

}  // namespace
