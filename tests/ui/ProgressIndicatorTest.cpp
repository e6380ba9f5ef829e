#include "ui/ProgressIndicator.h"
#include "ui/ProgressIndicatorThread.h"
#include "console/Console.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ProgressIndicatorTest, FilledCellsStayWithinTheBar) {
    struct Case {
        int width;
        float ratio;
        int filled;
    } cases[] = {
        {36, 0.5f, 18}, {36, 0.0f, 0}, {36, 1.0f, 36}, {36, 7.5f, 36}, {36, 0.99f, 35},
        {36, -1.0f, 0}, {0, 0.5f, 0},  {-3, 0.5f, 0},  {36, NAN, 0},   {1, 0.999f, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.filled, ProgressIndicator::FilledCells(c.width, c.ratio)) << c.width << " " << c.ratio;
    }
}

// A directory read that outlasts the first-update delay while no console
// exists (the panel tests read directories without one) used to draw through
// a null console from the indicator's thread.
TEST(ProgressIndicatorTest, ASlowOperationWithoutAConsoleDrawsNothing) {
    CConsole* saved = Console;
    Console = nullptr;
    struct TWatchedProgress : DirReadProgress {
        using DirReadProgress::DirReadProgress;
        bool HasWindow() const { return window != nullptr; }
    };
    TProgressCount counter{0};
    bool hadWindow;
    {
        TWatchedProgress progress(&counter);
        Sleep(ProgressIndicatorThread::FirstUpdateDelay + 2 * ProgressIndicatorThread::UpdateInterval);
        hadWindow = progress.HasWindow();
    }
    Console = saved;
    EXPECT_FALSE(hadWindow);
}
