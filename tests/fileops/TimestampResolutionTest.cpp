// Time resolution classes and rounding, as compare and synchronise use them
// to meet times of file systems of different precision.
#include "fileops/TimestampResolution.h"

#include <gtest/gtest.h>

namespace {

TEST(TimestampResolution, ClassOfATime) {
    struct {
        uint32_t seconds;
        uint32_t nanoseconds;
        int expected;
    } cases[] = {
        {10, 0, ResolutionEvenSeconds},          {11, 0, ResolutionSeconds}, {11, 500, ResolutionHundredNanoseconds},
        {10, 100, ResolutionHundredNanoseconds}, {10, 1, ResolutionFiner},   {10, 999999999, ResolutionFiner},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, GetTimestampResolution(TTimestamp(c.seconds, c.nanoseconds)))
            << c.seconds << "." << c.nanoseconds;
    }
}

TEST(TimestampResolution, RoundingGoesUpToTheClass) {
    struct {
        uint32_t seconds;
        uint32_t nanoseconds;
        int resolution;
        uint32_t wantSeconds;
        uint32_t wantNanoseconds;
    } cases[] = {
        {3, 500, ResolutionEvenSeconds, 4, 0},  // a time with nanoseconds counts as the next second
        {3, 500, ResolutionSeconds, 4, 0},
        {3, 500, ResolutionHundredNanoseconds, 3, 500},
        {3, 501, ResolutionHundredNanoseconds, 3, 600},
        {3, 999999950, ResolutionHundredNanoseconds, 4, 0},  // carries into the seconds
        {4, 1, ResolutionEvenSeconds, 6, 0},                 // 5 is odd: up to 6
        {4, 0, ResolutionEvenSeconds, 4, 0},
        {5, 0, ResolutionEvenSeconds, 6, 0},
        {5, 0, ResolutionSeconds, 5, 0},
        {3, 7, ResolutionFiner, 3, 7},
        {UINT32_MAX, 5, ResolutionSeconds, UINT32_MAX, 0},  // never wraps to 1970
    };
    for (const auto& c : cases) {
        TTimestamp r = RoundTimestamp(TTimestamp(c.seconds, c.nanoseconds), c.resolution);
        EXPECT_EQ(c.wantSeconds, r.seconds) << c.seconds << "." << c.nanoseconds << " class " << c.resolution;
        EXPECT_EQ(c.wantNanoseconds, r.nanoseconds) << c.seconds << "." << c.nanoseconds << " class " << c.resolution;
    }
}

TEST(TimestampResolution, ComparesSecondsBeforeNanoseconds) {
    EXPECT_LT(CompareTimestamps(TTimestamp(1, 999999999), TTimestamp(2, 0)), 0);
    EXPECT_GT(CompareTimestamps(TTimestamp(2, 1), TTimestamp(2, 0)), 0);
    EXPECT_EQ(0, CompareTimestamps(TTimestamp(2, 5), TTimestamp(2, 5)));
}

}  // namespace
