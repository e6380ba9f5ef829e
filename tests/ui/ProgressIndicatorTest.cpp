#include "ui/ProgressIndicator.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ProgressIndicatorTest, FilledCellsStayWithinTheBar) {
    struct Case {
        int width;
        float ratio;
        int filled;
    } cases[] = {
        {36, 0.5f, 18}, {36, 0.0f, 0},  {36, 1.0f, 36}, {36, 7.5f, 36}, {36, 0.99f, 35},
        {36, -1.0f, 0}, {0, 0.5f, 0},   {-3, 0.5f, 0},  {36, NAN, 0},   {1, 0.999f, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.filled, ProgressIndicator::FilledCells(c.width, c.ratio)) << c.width << " " << c.ratio;
    }
}
